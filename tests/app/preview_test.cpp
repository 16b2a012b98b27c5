// The live preview: the frame for the caret's line, scrubbing, play in real time with skipped
// frames, parse errors kept out of the Trace, Run taking the preview over, and the frame cache's
// budget. Frames are compared with what the build driver renders for `quillfen frame`.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include "app/preview_controller.h"
#include "app/preview_panel.h"
#include "app/preview_window.h"
#include "app/scrub_bar.h"
#include "editor/view/my_crystal_view.h"
#include "fake_preview_renderer.h"
#include "imaging/effects/effect_registry.h"
#include "support/quiet_build_host.h"
#include "support/script_text.h"
#include "window_fixture.h"

namespace quillfen {
namespace {

// Red, green and blue for 2 s each at 25 fps: lines 1, 2 and 3.
const char* const kThreeColours = ">resize=64x48\n>frame=red|2\n>frame=green|2\n>frame=blue|2";

std::vector<std::string> linesOf(const char* text) {
    std::vector<std::string> lines;
    for (const QString& line : QString(text).split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

// The frame `quillfen frame --at SECONDS` writes, scaled into the preview panel.
QImage frameAt(const char* script, double seconds) {
    testing::QuietBuildHost host;
    CaptionTail tail;
    BuildDriver driver(host, builtinEffectCatalogue(), tail);
    FrameRequest request;
    request.seconds = seconds;
    const FrameImage frame = driver.renderFrame(testing::ScriptText(linesOf(script)), request);
    const FitRect fit =
        fitRectangle(frame.width(), frame.height(), PreviewPanel::kPanelSize.width(),
                     PreviewPanel::kPanelSize.height());
    return stretchNearest(frame, QSize(fit.width, fit.height));
}

QRgb centre(const QImage& image) {
    return image.pixel(image.width() / 2, image.height() / 2) & 0xffffff;
}

using FakeRenderer = testing::FakePreviewRenderer;

// The preview's widgets on their own, with a renderer and a clock of the test's choosing.
class PreviewTest : public ::testing::Test {
  protected:
    void start(std::unique_ptr<PreviewRenderer> renderer = nullptr) {
        controller = std::make_unique<PreviewController>(
            PreviewControls{editor, panel, scrub, note}, [] { return std::string("."); },
            std::move(renderer), [this] { return now; });
    }
    void setText(const char* text) { editor.setPlainText(QString::fromUtf8(text)); }
    void caretTo(int line) {
        editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(line)));
    }
    bool waitForShot() {
        QSignalSpy spy(controller.get(), &PreviewController::shotShown);
        return spy.wait(10000);
    }
    void waitUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 10000 && !done(); ++i)
            QTest::qWait(1);
    }

    CMyCrystalView editor;
    PreviewPanel panel;
    ScrubBar scrub;
    QLabel note;
    std::int64_t now = 1000;
    std::unique_ptr<PreviewController> controller;
};

TEST_F(PreviewTest, TheCaretShowsItsLinesFrameOnceItRests) {
    start();
    setText(kThreeColours);
    caretTo(1);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(panel.shownImage(), frameAt(kThreeColours, 0));
    EXPECT_EQ(centre(panel.shownImage()), 0xff0000u);

    caretTo(3);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(panel.shownImage(), frameAt(kThreeColours, 4));
    EXPECT_EQ(centre(panel.shownImage()), 0x0000ffu);
    EXPECT_EQ(controller->shownFrame(), 100);
    EXPECT_EQ(scrub.timeText(), "00:04.00");
    // The caret preview leaves the current-line mark alone.
    EXPECT_FALSE(editor.markedLine(LineMark::Current).has_value());
}

TEST_F(PreviewTest, ScrubbingShowsTheFrameAtTheTimeAndMarksItsElement) {
    start();
    setText(kThreeColours);
    controller->showCaretLine();
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(scrub.slider().maximum(), 149);

    scrub.timeField().setText("00:03.00");
    QTest::keyClick(&scrub.timeField(), Qt::Key_Return);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(controller->shownFrame(), 75);
    EXPECT_EQ(panel.shownImage(), frameAt(kThreeColours, 3));
    EXPECT_EQ(editor.markedLine(LineMark::Current), 2);

    // The keys of the slider: End, Left by one frame, Home.
    scrub.slider().setFocus();
    QTest::keyClick(&scrub.slider(), Qt::Key_End);
    ASSERT_TRUE(waitForShot());
    QTest::keyClick(&scrub.slider(), Qt::Key_Left);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(controller->shownFrame(), 148);
    EXPECT_EQ(editor.markedLine(LineMark::Current), 3);
    EXPECT_EQ(centre(panel.shownImage()), 0x0000ffu);
    QTest::keyClick(&scrub.slider(), Qt::Key_Home);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(controller->shownFrame(), 0);
    EXPECT_EQ(editor.markedLine(LineMark::Current), 1);
    EXPECT_EQ(scrub.timeText(), "00:00.00");
}

TEST_F(PreviewTest, PlayFollowsTheClockAndStopsAtTheEnd) {
    start();
    setText(kThreeColours);
    controller->showCaretLine();
    ASSERT_TRUE(waitForShot());

    scrub.slider().setFocus();
    QTest::keyClick(&scrub.slider(), Qt::Key_Space);
    ASSERT_TRUE(controller->playing());
    EXPECT_EQ(scrub.playButton().text(), "Pause");
    now += 2000;
    controller->tick();
    EXPECT_NEAR(controller->currentTime(), 2.0, 0.1);
    EXPECT_EQ(scrub.timeText(), "00:02.00");
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(centre(panel.shownImage()), 0x008000u);

    now += 10000;  // past the end: the last frame, and play stops
    controller->tick();
    EXPECT_FALSE(controller->playing());
    EXPECT_EQ(scrub.frame(), 149);
}

TEST_F(PreviewTest, PlaySkipsFramesItCannotRenderInTime) {
    FakeRenderer::Gate gate;
    start(std::make_unique<FakeRenderer>(gate, 250));
    setText("any");
    controller->showCaretLine();
    ASSERT_TRUE(waitForShot());

    gate.setOpen(false);
    controller->play();
    now += 40;
    controller->tick();
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.waiting == 1; }));
    for (int i = 1; i < 50; ++i) {  // two seconds at 25 fps while frame 1 renders
        now += 40;
        controller->tick();
    }
    EXPECT_NEAR(controller->currentTime(), 2.0, 0.1);
    EXPECT_EQ(scrub.timeText(), "00:02.00");
    EXPECT_EQ(scrub.frame(), 50);
    gate.setOpen(true);
    waitUntil([&] { return controller->shownFrame() == 50; });
    controller->pause();
    // Frame 1 was rendered and then only the newest: everything between was skipped.
    std::lock_guard lock(gate.mutex);
    EXPECT_EQ(gate.rendered, (std::vector<std::int64_t>{0, 1, 50}));
}

TEST_F(PreviewTest, BeginBuildCancelsTheFrameInHandAndShowsNothingMore) {
    FakeRenderer::Gate gate;
    gate.open = false;
    start(std::make_unique<FakeRenderer>(gate, 250));
    setText("any");
    QSignalSpy shots(controller.get(), &PreviewController::shotShown);
    controller->seekFrame(10);
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.waiting == 1; }));
    controller->seekFrame(20);  // waits behind the frame in hand
    controller->beginBuild();
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.cancelledRenders == 1; }));
    QTest::qWait(20);
    EXPECT_EQ(shots.count(), 0);
    EXPECT_TRUE(gate.waitFor([](auto& g) { return g.rendered.empty(); }));
    // The build's frames own the panel; the preview comes back afterwards.
    controller->endBuild();
    gate.setOpen(true);
    controller->seekFrame(30);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(controller->shownFrame(), 30);
}

TEST_F(PreviewTest, TheFrameCacheStaysWithinItsBudgetOverAThousandPositions) {
    FakeRenderer::Gate gate;
    start(std::make_unique<FakeRenderer>(gate, 2000, 1024, 768));  // 2.25 MiB a frame
    setText("any");
    std::size_t most = 0;
    for (std::int64_t frame = 0; frame < 1000; ++frame) {
        controller->seekFrame(frame * 2);
        ASSERT_TRUE(waitForShot());
        most = std::max(most, controller->worker().cacheBytes());
    }
    EXPECT_LE(most, controller->worker().cacheBudget());
    EXPECT_GT(most, controller->worker().cacheBudget() / 2);
    // A position seen lately comes from the cache.
    const std::uint64_t rendered = controller->worker().framesRendered();
    controller->seekFrame(1998);
    ASSERT_TRUE(waitForShot());
    EXPECT_EQ(controller->worker().framesRendered(), rendered);
}

TEST(PreviewTimelineTest, CaretLinesMapToElementFrames) {
    PreviewTimeline timeline;
    timeline.totalFrames = 100;
    timeline.entries = {{1, ElementKind::Source, 0, 40},
                        {2, ElementKind::Transition, 40, 20},
                        {4, ElementKind::Text, 60, 0},
                        {5, ElementKind::Kbe, 60, 40}};
    EXPECT_EQ(frameForLine(timeline, 0), 0);   // a command before the first Element
    EXPECT_EQ(frameForLine(timeline, 1), 0);   // a picture: its first frame
    EXPECT_EQ(frameForLine(timeline, 2), 50);  // a Transition: half-way through
    EXPECT_EQ(frameForLine(timeline, 3), 60);  // a comment: the next Element's start
    EXPECT_EQ(frameForLine(timeline, 4), 60);  // a caption: where the next Element starts
    EXPECT_EQ(frameForLine(timeline, 9), 99);  // after the last Element: the last frame
    EXPECT_EQ(lineAtFrame(timeline, 59), 2);
    EXPECT_EQ(lineAtFrame(timeline, 60), 5);
    EXPECT_FALSE(lineAtFrame(timeline, 100).has_value());
    EXPECT_FALSE(frameForLine(PreviewTimeline{}, 0).has_value());

    EXPECT_EQ(scrubTimeText(63.5), "01:03.50");
    EXPECT_EQ(readScrubTime("01:03.50"), 63.5);
    EXPECT_EQ(readScrubTime("4.2"), 4.2);
    EXPECT_FALSE(readScrubTime("1:2:3").has_value());
    EXPECT_FALSE(readScrubTime("soon").has_value());
}

// In the window: a parse error is only a note, and Run takes the preview over.
using PreviewWindowTest = WindowTest;

TEST_F(PreviewWindowTest, AParseErrorIsANoteOnly) {
    window().openScript(writeFile("script.txt", ">resize=64x48\n>nosuchcommand=1"));
    const auto traceBefore = traceTexts();
    QSignalSpy spy(&window().preview(), &PreviewController::shotShown);
    window().preview().showCaretLine();
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_TRUE(controls().previewNote->toolTip().startsWith("Line 2: Unknown command found"))
        << controls().previewNote->toolTip().toStdString();
    EXPECT_EQ(traceTexts(), traceBefore);
    EXPECT_FALSE(editor().markedLine(LineMark::Error).has_value());
}

TEST_F(PreviewWindowTest, RunDuringAScrubShowsTheBuildsFrames) {
    window().openScript(writeFile("script.txt", kThreeColours));
    controls().outputFile->setText(path("movie.avi"));
    log.codecs = {defaultCodecChoice("raw")};
    QSignalSpy spy(&window().preview(), &PreviewController::shotShown);
    window().preview().showCaretLine();
    ASSERT_TRUE(spy.wait(10000));
    window().preview().seekFrame(10);
    window().runBuild(BuildMode::Run);
    QTest::qWait(50);
    // The last frame written is blue; the scrub to red frame 10 never lands over it.
    EXPECT_EQ(centre(controls().preview->shownImage()), 0x0000ffu);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(PreviewWindowTest, TheLargerViewFollowsThePreviewAndTheBuild) {
    window().openScript(writeFile("script.txt", kThreeColours));
    controls().outputFile->setText(path("movie.avi"));
    log.codecs = {defaultCodecChoice("raw")};
    QSignalSpy spy(&window().preview(), &PreviewController::shotShown);
    window().preview().showCaretLine();
    ASSERT_TRUE(spy.wait(10000));
    QTest::mouseDClick(controls().preview, Qt::LeftButton);
    PreviewWindow* large = window().preview().largeView();
    ASSERT_NE(large, nullptr);
    EXPECT_TRUE(large->isVisible());
    EXPECT_EQ(large->shown().size(), QSize(64, 48));  // full size, not the panel's
    EXPECT_EQ(centre(large->shown()), 0xff0000u);
    window().runBuild(BuildMode::Run);
    EXPECT_EQ(centre(large->shown()), 0x0000ffu);
}

}  // namespace
}  // namespace quillfen
