#include "imaging/raster/text_drawing.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/font_colour_text.h"

namespace quillfen {
namespace {

namespace tf = text_format;

constexpr ColourValue kWhite = makeColour(255, 255, 255);
constexpr ColourValue kBlue = makeColour(0, 0, 255);

FrameImage blankFrame(int width, int height, int bits = 32) {
    return FrameImage::create(width, height, bits);
}

// Colour of the pixel at (x, y), counted from the top-left corner.
ColourValue pixelAt(const FrameImage& frame, int x, int y) {
    const std::uint8_t* p =
        frame.row(frame.height() - 1 - y) + std::size_t(x) * (frame.bitCount() / 8);
    return makeColour(p[2], p[1], p[0]);
}

// Bounding box of the pixels brighter than `threshold` in any channel: where text fell on a
// black frame.
TextRect inkBox(const FrameImage& frame, int threshold = 96) {
    TextRect box{frame.width(), frame.height(), -1, -1};
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            ColourValue c = pixelAt(frame, x, y);
            if (redOf(c) < threshold && greenOf(c) < threshold && blueOf(c) < threshold) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    return box;
}

TextRect drawnBox(std::string_view text, TextRect rect, int format,
                  std::string_view font = "Arial,36", int width = 400, int height = 200) {
    FrameImage frame =
        DibDrawText(blankFrame(width, height), text, rect, font, kWhite, kNoColour, format);
    return inkBox(frame);
}

TEST(TextDrawing, FlagsPlaceTheTextInTheRectangle) {
    TextRect whole{0, 0, 400, 200};
    TextRect topLeft = drawnBox("Hello", whole, tf::kSingleLine);
    EXPECT_LE(topLeft.left, 6);
    EXPECT_LE(topLeft.top, 10);

    TextRect centred = drawnBox("Hello", whole, tf::kSingleLine | tf::kCenter | tf::kVCenter);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 200, 3);
    EXPECT_NEAR((centred.top + centred.bottom) / 2.0, 100, 6);
    EXPECT_EQ(centred.width(), topLeft.width());

    TextRect rightBottom = drawnBox("Hello", whole, tf::kSingleLine | tf::kRight | tf::kBottom);
    EXPECT_GE(rightBottom.right, 393);
    EXPECT_LE(rightBottom.right, 400);
    EXPECT_GE(rightBottom.bottom, 185);

    // Vertical placement applies to single lines only: two lines start at the top.
    TextRect twoLines = drawnBox("Hello\r\nWorld", whole, tf::kVCenter | tf::kBottom);
    EXPECT_LE(twoLines.top, 10);
}

TEST(TextDrawing, LineBreaksAndWordBreaking) {
    TextRect whole{0, 0, 400, 200};
    int oneLine = drawnBox("Hello", whole, 0).height();
    EXPECT_GT(drawnBox("Hello\nWorld", whole, 0).height(), oneLine + 25);
    EXPECT_GT(drawnBox("Hello\rWorld", whole, 0).height(), oneLine + 25);
    EXPECT_LT(drawnBox("Hello\r\nWorld", whole, tf::kSingleLine).height(), oneLine + 10);

    TextRect narrow{0, 0, 150, 200};
    TextRect unbroken = drawnBox("one two three", narrow, tf::kNoClip);
    TextRect broken = drawnBox("one two three", narrow, tf::kWordBreak);
    EXPECT_GT(unbroken.right, 150);
    EXPECT_LE(broken.right, 150);
    EXPECT_GT(broken.height(), 2 * oneLine);

    // A word wider than the rectangle keeps a line of its own and is clipped.
    TextRect longWord = drawnBox("Extraordinarily", {0, 0, 60, 200}, tf::kWordBreak);
    EXPECT_LT(longWord.height(), oneLine + 10);
    EXPECT_LE(longWord.right, 60);
}

TEST(TextDrawing, ClippingAndTheEmptyRectangle) {
    TextRect small{20, 20, 60, 40};
    TextRect clipped = drawnBox("Clipped text", small, tf::kSingleLine);
    EXPECT_GE(clipped.left, 20);
    EXPECT_LE(clipped.right, 60);
    EXPECT_LE(clipped.bottom, 40);
    TextRect free = drawnBox("Clipped text", small, tf::kSingleLine | tf::kNoClip);
    EXPECT_GT(free.right, 100);

    TextRect none{0, 0, 0, 0};
    EXPECT_LT(drawnBox("Hidden", none, tf::kSingleLine).right, 0);
    TextRect corner = drawnBox("Shown", none, tf::kSingleLine | tf::kNoClip);
    EXPECT_LE(corner.left, 6);
    EXPECT_LE(corner.top, 10);
    EXPECT_GT(corner.width(), 40);
}

TEST(TextDrawing, OpaqueBackgroundFillsTheRectangleExactly) {
    TextRect rect{10, 20, 110, 70};
    FrameImage frame =
        DibDrawText(blankFrame(200, 100), "Hi", rect, "Arial,20", kWhite, kBlue, tf::kSingleLine);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            bool inside = x >= 10 && x < 110 && y >= 20 && y < 70;
            ColourValue c = pixelAt(frame, x, y);
            if (!inside)
                ASSERT_EQ(c, 0u) << x << "," << y;
            else
                ASSERT_EQ(blueOf(c), 255) << x << "," << y;
        }
    EXPECT_EQ(pixelAt(frame, 100, 60), kBlue);
}

TEST(TextDrawing, PrefixCharacters) {
    TextRect whole{0, 0, 400, 200};
    // "&&" shows one "&"; with no prefix processing every "&" shows.
    int processed = drawnBox("&&&&", whole, tf::kSingleLine).width();
    int literal = drawnBox("&&&&", whole, tf::kSingleLine | tf::kNoPrefix).width();
    EXPECT_LT(processed, literal * 2 / 3);
    // "&x" underlines x: the underline reaches below the letter.
    int plain = drawnBox("x", whole, tf::kSingleLine).bottom;
    EXPECT_GT(drawnBox("&x", whole, tf::kSingleLine).bottom, plain);
    EXPECT_GT(drawnBox("&x", whole, tf::kSingleLine | tf::kNoPrefix).width(),
              drawnBox("&x", whole, tf::kSingleLine).width() + 10);
}

TEST(TextDrawing, FontHeightsWidthsAndStyles) {
    TextRect origin{0, 0, 0, 0};
    int calc = tf::kSingleLine | tf::kCalcRect;
    // A positive height is the whole cell, a negative one the character height.
    EXPECT_EQ(CalcTextRect("Hg", origin, ParseFontSpec("Arial,36"), calc).bottom, 36);
    EXPECT_EQ(CalcTextRect("Hg", origin, ParseFontSpec("Arial,-32"), calc).bottom, 36);
    EXPECT_EQ(CalcTextRect("Hg", origin, ParseFontSpec("Times New Roman,72"), calc).bottom, 72);
    EXPECT_EQ(CalcTextRect("A\nB", origin, ParseFontSpec("Arial,20"), 0).bottom, 40);

    int natural = CalcTextRect("MMMM", origin, ParseFontSpec("Arial,36"), calc).right;
    EXPECT_GT(CalcTextRect("MMMM", origin, ParseFontSpec("Arial,36,40"), calc).right, natural);
    EXPECT_LT(CalcTextRect("MMMM", origin, ParseFontSpec("Arial,36,8"), calc).right, natural);
    EXPECT_GT(CalcTextRect("nnnn", origin, ParseFontSpec("Arial,36,0,700"), calc).right,
              CalcTextRect("nnnn", origin, ParseFontSpec("Arial,36"), calc).right);

    // Courier New is fixed-pitch: "iiii" is as wide as "MMMM".
    LogFont mono = ParseFontSpec("Courier New,30");
    EXPECT_EQ(CalcTextRect("iiii", origin, mono, calc).right,
              CalcTextRect("MMMM", origin, mono, calc).right);

    // Escapement 900 stands the line up.
    TextRect upright =
        drawnBox("Standing", {100, 150, 300, 200}, tf::kNoClip, "Arial,36,0,0,0,0,0,900");
    EXPECT_GT(upright.height(), upright.width() * 2);
    EXPECT_LE(upright.bottom, 155);

    // Tabs stop every 8 average characters only when expanded.
    int tabbed = CalcTextRect("a\tb", origin, std::nullopt, calc | tf::kExpandTabs).right;
    EXPECT_GT(tabbed, CalcTextRect("a\tb", origin, std::nullopt, calc).right);
}

TEST(TextDrawing, ImagesKeepTheirDepthAndCalcRectDrawsNothing) {
    FrameImage low = DibDrawText(blankFrame(120, 60, 24), "Hi", {0, 0, 120, 60}, "Arial,36", kWhite,
                                 kNoColour, tf::kSingleLine);
    ASSERT_EQ(low.bitCount(), 24);
    EXPECT_GT(inkBox(low).width(), 10);

    FrameImage indexed = DibDrawText(blankFrame(120, 60, 8), "Hi", {0, 0, 120, 60}, "Arial,36",
                                     kWhite, kNoColour, tf::kSingleLine);
    ASSERT_EQ(indexed.bitCount(), 32);
    EXPECT_GT(inkBox(indexed).width(), 10);

    FrameImage calc = DibDrawText(blankFrame(120, 60), "Hi", {0, 0, 120, 60}, "Arial,36", kWhite,
                                  kNoColour, tf::kSingleLine | tf::kCalcRect);
    EXPECT_LT(inkBox(calc).right, 0);

    EXPECT_TRUE(DibDrawText(FrameImage{}, "Hi", {0, 0, 9, 9}, "", kWhite, kNoColour, 0).empty());
}

TEST(TextDrawing, LayerBlendsAntialiasedEdgesOverTheFrame) {
    TextDrawing drawing{"Soft", {0, 0, 200, 80}, tf::kSingleLine, kWhite, kNoColour};
    TextLayer layer = RenderTextLayer(200, 80, ParseFontSpec("Arial,48"), std::span(&drawing, 1));
    ASSERT_FALSE(layer.empty());
    EXPECT_GE(layer.x, 0);
    EXPECT_LE(layer.x + layer.width, 200);

    // Over a grey frame partly covered pixels lie between grey and white, never outside.
    FrameImage frame = blankFrame(200, 80);
    for (int y = 0; y < 80; ++y)
        std::fill(frame.row(y), frame.row(y) + 200 * 4, std::uint8_t{100});
    ASSERT_TRUE(layer.compositeOnto(frame));
    int partial = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x) {
            int r = redOf(pixelAt(frame, x, y));
            ASSERT_GE(r, 99);
            partial += r > 101 && r < 254;
        }
    EXPECT_GT(partial, 20);

    FrameImage sixteen = blankFrame(20, 20, 16);
    EXPECT_FALSE(layer.compositeOnto(sixteen));
}

}  // namespace
}  // namespace quillfen
