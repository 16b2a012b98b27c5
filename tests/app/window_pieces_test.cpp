// The window's pure pieces: Recent Scripts ordering, preview geometry, splitter share, the
// texts of drops and Copy trace, and the codec list of the compression dialog.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "app/compression_dialog.h"
#include "app/preview_panel.h"
#include "app/quillfen_dlg.h"
#include "app/recent_scripts.h"
#include "app/splitter_bar.h"
#include "app/trace_icons.h"
#include "app/trace_list.h"

namespace quillfen {
namespace {

RecentScripts listOf(std::vector<std::string> names) {
    return RecentScripts::read([&](int i) -> std::optional<std::string> {
        if (i >= static_cast<int>(names.size())) return std::nullopt;
        return names[static_cast<std::size_t>(i)];
    });
}

TEST(RecentScriptsTest, ReadingStopsAtTheFirstMissingOrEmptyValue) {
    EXPECT_EQ(listOf({"a", "b", "", "d"}).entries(), (std::vector<std::string>{"a", "b"}));
}

TEST(RecentScriptsTest, ANewNameGoesFirstAndAnEqualOneMovesUp) {
    RecentScripts list = listOf({"/s/1.txt", "/s/2.txt", "/s/3.txt", "/s/4.txt", "/s/5.txt"});
    list.add("  /s/6.txt \t");
    EXPECT_EQ(list.entriesToWrite(),
              (std::vector<std::string>{"/s/6.txt", "/s/1.txt", "/s/2.txt", "/s/3.txt", "/s/4.txt",
                                        "/s/5.txt"}));
    list.add("/S/3.TXT");
    EXPECT_EQ(list.entries().front(), "/S/3.TXT");
    EXPECT_EQ(list.entries().size(), 6u);
    EXPECT_EQ(std::count(list.entries().begin(), list.entries().end(), "/s/3.txt"), 0);
    list.add("   ");
    EXPECT_EQ(list.entries().size(), 6u);
}

TEST(RecentScriptsTest, AtMostTwentyOneAreWrittenUnderTwoDigitNames) {
    RecentScripts list;
    for (int i = 0; i < 30; ++i)
        list.add("script" + std::to_string(i));
    const auto written = list.entriesToWrite();
    ASSERT_EQ(written.size(), 21u);
    EXPECT_EQ(written.front(), "script29");
    EXPECT_EQ(written.back(), "script9");
    EXPECT_EQ(recentScriptValueName(0), "Script_00");
    EXPECT_EQ(recentScriptValueName(20), "Script_20");
}

TEST(PreviewGeometryTest, FitRectangles) {
    EXPECT_EQ(fitRectangle(1920, 1080, 400, 300), (FitRect{0, 37, 400, 225}));
    EXPECT_EQ(fitRectangle(1080, 1920, 400, 300), (FitRect{116, 0, 168, 300}));
    EXPECT_EQ(fitRectangle(800, 600, 400, 300), (FitRect{0, 0, 400, 300}));
    // Degenerate sources never divide by zero.
    EXPECT_EQ(fitRectangle(0, 0, 400, 300).width, 1);
    EXPECT_EQ(fitRectangle(100, 0, 400, 300), (FitRect{0, 150, 400, 0}));
}

TEST(PreviewGeometryTest, NearestStretchKeepsHardEdgesAndTopRowFirst) {
    // 2 x 2 at 24 bits, bottom-up: bottom row red, green; top row blue, white.
    FrameImage frame = FrameImage::create(2, 2, 24);
    auto put = [&](int memoryRow, int x, int r, int g, int b) {
        std::uint8_t* p = frame.row(memoryRow) + x * 3;
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
    };
    put(0, 0, 255, 0, 0);
    put(0, 1, 0, 255, 0);
    put(1, 0, 0, 0, 255);
    put(1, 1, 255, 255, 255);
    const QImage image = stretchNearest(frame, QSize(4, 4));
    ASSERT_EQ(image.size(), QSize(4, 4));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 255, 0));
    EXPECT_TRUE(stretchNearest(FrameImage{}, QSize(4, 4)).isNull());
}

TEST(SplitterTest, TraceShareFollowsTheBarAndStaysWithinOneToNinetyNine) {
    EXPECT_EQ(tracePercentFor(0, 500), 99);
    EXPECT_EQ(tracePercentFor(500, 500), 1);
    EXPECT_EQ(tracePercentFor(350, 500), 30);
    EXPECT_EQ(tracePercentFor(-40, 500), 99);
    EXPECT_EQ(tracePercentFor(10, 0), 1);
}

TEST(WindowTextsTest, DroppedFilesAndCopiedTrace) {
    EXPECT_EQ(droppedFilesText({"/p/a.jpg", "/p/b.jpg"}).toStdString(),
              "\r\n/p/a.jpg\r\n/p/b.jpg\r\n");
    EXPECT_EQ(traceClipboardText({{"one", 0, 1}, {"two\tcols", 0, -1}, {"three", 0, 2}}),
              "one\r\ntwo\tcols\r\nthree");
    EXPECT_EQ(traceClipboardText({}), "");
}

TEST(CompressionChoicesTest, CodecsFollowTheContainer) {
    const auto avi = codecsForMovie("/tmp/movie.AVI");
    EXPECT_NE(std::find(avi.begin(), avi.end(), "raw"), avi.end());
    EXPECT_TRUE(codecsForMovie("/tmp/movie.txt").empty());
    for (const std::string& name : codecsForMovie("/tmp/movie.mkv"))
        EXPECT_EQ(checkCodecChoice("/tmp/movie.mkv", defaultCodecChoice(name)), "") << name;
}

TEST(TraceIconsTest, ThirtyThreeDistinctIconsSideBySide) {
    const QImage strip = traceIconStrip();
    ASSERT_EQ(strip.size(), QSize(16 * 33, 16));
    std::set<QByteArray> seen;
    for (int i = 0; i < 33; ++i) {
        const QImage icon = strip.copy(i * 16, 0, 16, 16).convertToFormat(QImage::Format_ARGB32);
        int painted = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                painted += qAlpha(icon.pixel(x, y)) != 0;
        EXPECT_GT(painted, 10) << "icon " << i;
        seen.insert(QByteArray(reinterpret_cast<const char*>(icon.constBits()),
                               static_cast<int>(icon.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 33u);
}

}  // namespace
}  // namespace quillfen
