#include "timeline/text_overlays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "imaging/effects/effect_registry.h"
#include "imaging/resize.h"
#include "timeline/element_list.h"
#include "timeline/fit_settings.h"
#include "timeline/frame_element.h"
#include "timeline/text_element.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

constexpr ColourValue kWhite = makeColour(255, 255, 255);

ColourValue pixelAt(const FrameImage& frame, int x, int y) {
    const std::uint8_t* p =
        frame.row(frame.height() - 1 - y) + std::size_t(x) * (frame.bitCount() / 8);
    return makeColour(p[2], p[1], p[0]);
}

// Bounding box of the pixels close to `colour` (each channel within `tolerance`).
TextRect boxOf(const FrameImage& frame, ColourValue colour, int tolerance = 40) {
    TextRect box{frame.width(), frame.height(), -1, -1};
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            ColourValue c = pixelAt(frame, x, y);
            if (std::abs(redOf(c) - redOf(colour)) > tolerance ||
                std::abs(greenOf(c) - greenOf(colour)) > tolerance ||
                std::abs(blueOf(c) - blueOf(colour)) > tolerance)
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    return box;
}

bool shows(const FrameImage& frame, ColourValue colour) {
    return !boxOf(frame, colour).empty();
}

class TextOverlaysTest : public ::testing::Test {
  protected:
    TextOverlaysTest() { settings.stereo = 0; }

    TextElement& text(std::string_view parameters) {
        texts.push_back(std::make_unique<TextElement>(line++, settings, parameters, tail));
        return *texts.back();
    }
    // Draws one caption over a black frame of width x height.
    FrameImage drawn(TextElement& caption, int width, int height) {
        return DrawTextOverlays(FrameImage::create(width, height, 32), {&caption});
    }

    MovieSettings settings;
    CaptionTail tail;
    std::vector<std::unique_ptr<TextElement>> texts;
    int line = 0;
};

TEST_F(TextOverlaysTest, GeometryAndFontFollowTheFirstFrame) {
    TextElement& caption = text("Hi|10%,80%,80%,10%|Arial,36");
    caption.prepareForDrawing(720, 576);
    std::vector<TextDrawing> drawings = caption.drawings(720);
    ASSERT_EQ(drawings.size(), 1u);
    EXPECT_EQ(drawings[0].rect, (TextRect{72, 461, 648, 519}));
    EXPECT_EQ(caption.font.height, 27);
    EXPECT_FALSE(caption.firstFrame());

    // Fixed from the first frame on.
    caption.prepareForDrawing(1440, 1152);
    EXPECT_EQ(caption.drawings(720)[0].rect, (TextRect{72, 461, 648, 519}));
    EXPECT_EQ(caption.font.height, 27);

    TextElement& tall = text("Hi|0,0,10,10|Arial,36,12");
    tall.prepareForDrawing(1024, 768);
    EXPECT_EQ(tall.font.height, 36);
    EXPECT_EQ(tall.font.width, 12);
}

TEST_F(TextOverlaysTest, StereoDrawsOneCopyPerView) {
    settings.stereo = 1;
    TextElement& caption = text("Hi|10,10,200,100,0|Arial,72|32,white");
    FrameImage frame = drawn(caption, 1440, 576);
    TextRect left = boxOf(frame, kWhite), whole = left;
    // The left copy alone: the box of the left half.
    FrameImage leftHalf = FrameImage::create(720, 576, 32);
    for (int y = 0; y < 576; ++y)
        std::copy(frame.row(y), frame.row(y) + 720 * 4, leftHalf.row(y));
    left = boxOf(leftHalf, kWhite);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(whole.right - left.right, 720);
    EXPECT_EQ(whole.left, left.left);

    // Shift moves the right view's copy further; percentages count on the view width.
    TextElement& shifted = text("Hi|10%,10,200,100,5%|Arial,72|32,white");
    shifted.prepareForDrawing(1440, 576);
    std::vector<TextDrawing> drawings = shifted.drawings(1440);
    ASSERT_EQ(drawings.size(), 2u);
    EXPECT_EQ(drawings[0].rect.left, 72);
    EXPECT_EQ(drawings[1].rect.left, 72 + 720 + 36);
}

TEST_F(TextOverlaysTest, PlacementsAtTheEndsOfTheIntRangeDoNotOverflow) {
    settings.stereo = 1;
    const std::string big = "2147483647", small = "-2147483648";
    TextElement& far = text("Hi|" + big + "," + big + "," + big + "," + big + "," + big + "," +
                            big + "|Arial,20|32,white,red,blue");
    TextElement& near = text("Hi|" + small + "," + small + "," + small + "," + small + "," + small +
                             "," + small + "|Arial,20|32,white,red,blue");
    for (TextElement* caption : {&far, &near}) {
        caption->prepareForDrawing(1440, 576);
        std::vector<TextDrawing> drawings = caption->drawings(1440);
        ASSERT_EQ(drawings.size(), 6u);
        for (const TextDrawing& drawing : drawings) {
            EXPECT_GE(drawing.rect.width(), 0);
            EXPECT_GE(drawing.rect.height(), 0);
        }
        // Nothing of it lands on the frame.
        FrameImage frame = drawn(*caption, 1440, 576);
        EXPECT_EQ(boxOf(frame, kWhite), (TextRect{1440, 576, -1, -1}));
    }
}

TEST_F(TextOverlaysTest, FontSizesAtTheEndsOfTheIntRangeStayInIt) {
    TextElement& huge = text("Hi|0,0,100,100|Arial,2147483647,2147483647|32,white");
    huge.prepareForDrawing(1536, 1536);
    EXPECT_EQ(huge.font.height, 2147483647);
    EXPECT_EQ(huge.font.width, 2147483647);
    TextElement& tiny = text("Hi|0,0,100,100|Arial,-2147483648,-2147483648|32,white");
    tiny.prepareForDrawing(1536, 1536);
    EXPECT_EQ(tiny.font.height, -2147483647 - 1);
    EXPECT_EQ(tiny.font.width, -2147483647 - 1);
    // Drawing with them neither overflows nor hangs.
    for (TextElement* caption : {&huge, &tiny})
        EXPECT_TRUE(drawn(*caption, 64, 48));
}

TEST_F(TextOverlaysTest, TextWithoutPosition) {
    EXPECT_FALSE(shows(drawn(text("Hidden| |Arial,200|32,white"), 320, 240), kWhite));
    TextRect corner = boxOf(drawn(text("Shown| |Arial,200|288,white"), 320, 240), kWhite);
    ASSERT_FALSE(corner.empty());
    EXPECT_LE(corner.left, 5);
    EXPECT_LE(corner.top, 14);  // the cell starts at 0; capitals start a little lower
}

TEST_F(TextOverlaysTest, BackgroundShadowAndText) {
    const ColourValue blue = makeColour(0, 0, 255), red = makeColour(255, 0, 0);
    FrameImage frame = drawn(text("Hi|20,20,200,80,0,4|Arial,200|32,white,blue,red"), 400, 300);
    EXPECT_EQ(boxOf(frame, blue, 0), (TextRect{20, 20, 220, 100}));
    EXPECT_EQ(pixelAt(frame, 19, 19), 0u);
    EXPECT_EQ(pixelAt(frame, 220, 100), 0u);
    TextRect ink = boxOf(frame, kWhite), shadow = boxOf(frame, red, 60);
    ASSERT_FALSE(ink.empty());
    ASSERT_FALSE(shadow.empty());
    EXPECT_NEAR(shadow.right - ink.right, 4, 1);
    EXPECT_NEAR(shadow.bottom - ink.bottom, 4, 1);
}

TEST_F(TextOverlaysTest, BackslashNBreaksOnlyWithoutSingleLine) {
    TextRect two = boxOf(drawn(text("A\\nB|0,0,300,300|Arial,150|0,white"), 300, 300), kWhite);
    TextRect one = boxOf(drawn(text("A\\nB|0,0,300,300|Arial,150|32,white"), 300, 300), kWhite);
    EXPECT_GT(two.height(), one.height() + 40);
    EXPECT_GT(one.width(), two.width() + 20);
}

TEST_F(TextOverlaysTest, OtherDepths) {
    TextElement& caption = text("Hi|0,0,100,60|Arial,200|32,white");
    FrameImage low = DrawTextOverlays(FrameImage::create(100, 60, 24), {&caption});
    EXPECT_EQ(low.bitCount(), 24);
    EXPECT_TRUE(shows(low, kWhite));
    FrameImage indexed = DrawTextOverlays(FrameImage::create(100, 60, 8), {&caption});
    EXPECT_EQ(indexed.bitCount(), 32);
    EXPECT_TRUE(shows(indexed, kWhite));
    EXPECT_TRUE(DrawTextOverlays(FrameImage{}, {&caption}).empty());
}

TEST(DebugCaption, TextAndLetters) {
    EXPECT_EQ(debugCaptionText({7, ElementKind::Video, 3, 10, 4}), "f:0007  V-3  fr=10  fa=4");
    EXPECT_EQ(debugCaptionText({12345, ElementKind::Source, 0, 50, 50}),
              "f:12345  P-0  fr=50  fa=50");
    std::string letters;
    for (int k = 1; k <= 7; ++k)
        letters += debugKindLetter(static_cast<ElementKind>(k));
    EXPECT_EQ(letters, "PTKSFVI");
}

TEST(DebugCaption, DrawnInRedInsideTheFrameKeepingItsDepth) {
    FrameImage frame =
        drawDebugCaption(FrameImage::create(320, 120, 24), {0, ElementKind::Source, 1, 2, 3});
    ASSERT_EQ(frame.bitCount(), 24);
    TextRect red = boxOf(frame, makeColour(255, 0, 0), 60);
    ASSERT_FALSE(red.empty());
    EXPECT_GE(red.left, 5);
    EXPECT_LE(red.left, 10);
    EXPECT_GE(red.top, 5);
    EXPECT_LE(red.right, 315);

    // Too small for the inset: nothing drawn, the frame comes back.
    FrameImage tiny = drawDebugCaption(FrameImage::create(8, 8, 24), {});
    ASSERT_EQ(tiny.bitCount(), 24);
    EXPECT_FALSE(shows(tiny, makeColour(255, 0, 0)));
}

// The driver's part, reduced to what captions need: register or remove overlays as the
// timeline reaches them and draw the list over every frame. Returns, per movie frame, whether
// `colour` shows on it.
class CaptionTimelineTest : public TextOverlaysTest {
  protected:
    CaptionTimelineTest() {
        settings.resizeWidth = 160;
        settings.resizeHeight = 120;
    }
    void frames(std::string_view colour) {
        list.push_back(
            std::make_unique<FrameElement>(line++, settings, std::string(colour) + "|0.2"));
    }
    void caption(std::string_view parameters) {
        list.push_back(std::make_unique<TextElement>(line++, settings, parameters, tail));
    }
    void fade() {
        list.push_back(std::make_unique<TransitionElement>(line++, settings, "Fade|0.2",
                                                           builtinEffectCatalogue()));
    }
    std::vector<FrameImage> run() {
        EXPECT_FALSE(linkElements(list));
        countFrames(list);
        OverlayList overlays;
        std::vector<FrameImage> movie;
        for (auto& element : list) {
            if (isOverlayKind(element->kind)) {
                auto* text = static_cast<TextElement*>(element.get());
                if (text->removesCaptions())
                    std::erase_if(overlays,
                                  [](TextElement* e) { return e->kind == ElementKind::Text; });
                else
                    overlays.push_back(text);
            }
            for (FrameImage f = element->nextMovieFrame(); f; f = element->nextMovieFrame()) {
                FitFrame(f, fitOptionsFor(settings));
                if (!overlays.empty()) f = DrawTextOverlays(std::move(f), overlays);
                movie.push_back(std::move(f));
            }
        }
        return movie;
    }
    static std::vector<bool> showing(const std::vector<FrameImage>& movie, ColourValue colour) {
        std::vector<bool> out;
        for (const FrameImage& f : movie)
            out.push_back(shows(f, colour));
        return out;
    }

    ElementList list;
};

TEST_F(CaptionTimelineTest, CaptionStartsWhereItsTextStands) {
    frames("black");
    caption("Cap|0,0,160,120|Arial,400|32,white");
    fade();
    frames("navy");
    std::vector<bool> marks = showing(run(), kWhite);
    ASSERT_EQ(marks.size(), 15u);  // 5 + 5 + 5
    std::vector<bool> expected(15, true);
    std::fill(expected.begin(), expected.begin() + 5, false);
    EXPECT_EQ(marks, expected);
}

TEST_F(CaptionTimelineTest, ZeroRemovesEveryCaption) {
    caption("One|0,0,160,60|Arial,300|32,white");
    caption("Two|0,60,160,60|Arial,300|32,yellow");
    frames("black");
    caption("0");
    frames("black");
    std::vector<FrameImage> movie = run();
    ASSERT_EQ(movie.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(shows(movie[i], kWhite), i < 5) << i;
        EXPECT_EQ(shows(movie[i], makeColour(255, 255, 0)), i < 5) << i;
    }
}

TEST_F(CaptionTimelineTest, CaptionOnlyTextReusesTheLastStyle) {
    caption("First|10,50,150,40|Arial,300|32,yellow");
    frames("black");
    caption("0");
    caption("Fixed");
    frames("black");
    std::vector<FrameImage> movie = run();
    ASSERT_EQ(movie.size(), 10u);
    TextRect first = boxOf(movie[0], makeColour(255, 255, 0));
    TextRect again = boxOf(movie[9], makeColour(255, 255, 0));
    ASSERT_FALSE(again.empty());
    EXPECT_NEAR(again.left, first.left, 2);
    EXPECT_NEAR(again.top, first.top, 6);
    EXPECT_LE(again.bottom, 90);
}

}  // namespace
}  // namespace quillfen
