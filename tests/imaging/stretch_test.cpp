#include "imaging/stretch.h"

#include <gtest/gtest.h>

#include "imaging/dib_ops.h"
#include "imaging/raster/canvas.h"

namespace quillfen {
namespace {

// Blue byte of pixel (x, y counted from the top) of a 32-bit image.
int blueAt(const FrameImage& image, int x, int y) {
    return image.row(image.height() - 1 - y)[4 * x];
}

// A 4 x 4 24-bit picture whose blue channel is 10 x column + 40 x row (row from the top).
FrameImage ramp() {
    FrameImage image = DibCreateBlank(4, 4, 24, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.row(3 - y)[3 * x] = static_cast<std::uint8_t>(10 * x + 40 * y);
    return image;
}

FrameImage stretched(const FrameImage& source, SourceWindow window, PixelRect dest, int w, int h,
                     StretchMode mode, ColourValue fill = makeColour(0, 0, 255)) {
    Canvas canvas = Canvas::create(w, h);
    canvas.fill(fill);
    EXPECT_TRUE(canvas.stretch(source, window, dest, mode));
    return DibFromBitmap(canvas);
}

TEST(StretchTest, OneToOneCopiesEveryDepthExactly) {
    FrameImage palette = DibCreateBlank(2, 1, 8, kNoColour);
    palette.colourTable()[4 * 5] = 77;
    palette.row(0)[1] = 5;
    FrameImage out = stretched(palette, {0, 0, 2, 1}, {0, 0, 2, 1}, 2, 1, StretchMode::halftone);
    EXPECT_EQ(blueAt(out, 0, 0), 0);
    EXPECT_EQ(blueAt(out, 1, 0), 77);
    EXPECT_EQ(out.row(0)[7], 0);  // the 4th byte of a read-back pixel
    FrameImage word = DibCreateBlank(1, 1, 16, makeColour(0, 0, 255));
    EXPECT_EQ(
        blueAt(stretched(word, {0, 0, 1, 1}, {0, 0, 1, 1}, 1, 1, StretchMode::halftone), 0, 0),
        248);
    FrameImage source = ramp();
    FrameImage copy = stretched(source, {0, 0, 4, 4}, {0, 0, 4, 4}, 4, 4, StretchMode::halftone);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(blueAt(copy, x, y), 10 * x + 40 * y);
}

TEST(StretchTest, HalvingAveragesEachBlock) {
    FrameImage out = stretched(ramp(), {0, 0, 4, 4}, {0, 0, 2, 2}, 2, 2, StretchMode::halftone);
    EXPECT_EQ(blueAt(out, 0, 0), 25);   // (0 + 10 + 40 + 50) / 4
    EXPECT_EQ(blueAt(out, 1, 1), 125);  // (100 + 110 + 140 + 150) / 4
}

TEST(StretchTest, NearestTakesThePixelUnderTheCentre) {
    FrameImage out = stretched(ramp(), {0, 0, 4, 4}, {0, 0, 2, 2}, 2, 2, StretchMode::colorOnColor);
    EXPECT_EQ(blueAt(out, 0, 0), 10 + 40);
    EXPECT_EQ(blueAt(out, 1, 1), 30 + 120);
}

TEST(StretchTest, FractionalWindowWeighsPartialPixels) {
    // Half of column 0 and half of column 1 of the top row: (0 + 10) / 2.
    FrameImage out = stretched(ramp(), {0.5, 0, 1, 1}, {0, 0, 1, 1}, 1, 1, StretchMode::halftone);
    EXPECT_EQ(blueAt(out, 0, 0), 5);
}

TEST(StretchTest, WindowOutsideThePictureLeavesTargetUntouched) {
    // The window starts two columns left of the picture: the first two target columns stay.
    FrameImage out = stretched(ramp(), {-2, 0, 4, 4}, {0, 0, 4, 4}, 4, 4, StretchMode::halftone);
    EXPECT_EQ(blueAt(out, 0, 0), 255);
    EXPECT_EQ(blueAt(out, 1, 3), 255);
    EXPECT_EQ(blueAt(out, 2, 0), 0);
    EXPECT_EQ(blueAt(out, 3, 2), 10 + 80);
    // Destination partly off the canvas: only what lands on it is drawn.
    FrameImage clipped =
        stretched(ramp(), {0, 0, 4, 4}, {-2, -2, 4, 4}, 4, 4, StretchMode::colorOnColor);
    EXPECT_EQ(blueAt(clipped, 0, 0), 20 + 80);
    EXPECT_EQ(blueAt(clipped, 2, 2), 255);
}

TEST(StretchTest, WindowsAndRectanglesFarBeyondTheIntRangeDrawOnlyWhatFits) {
    for (StretchMode mode : {StretchMode::halftone, StretchMode::colorOnColor}) {
        // A window far right of the picture covers nothing.
        FrameImage far = stretched(ramp(), {1e12, 0, 4, 4}, {0, 0, 4, 4}, 4, 4, mode);
        EXPECT_EQ(blueAt(far, 0, 0), 255);
        EXPECT_EQ(blueAt(far, 3, 3), 255);
        // A rectangle reaching to the end of the int range draws its first columns.
        FrameImage wide = stretched(ramp(), {0, 0, 4, 4}, {2, 0, 2147483647, 4}, 4, 4, mode);
        EXPECT_EQ(blueAt(wide, 1, 0), 255);
        EXPECT_NE(blueAt(wide, 2, 0), 255);
        // One starting far left of the target leaves it untouched.
        FrameImage left =
            stretched(ramp(), {0, 0, 4, 4}, {-2147483647, 0, 2147483647, 4}, 4, 4, mode);
        EXPECT_EQ(blueAt(left, 3, 0), 255);
    }
}

TEST(StretchTest, RefusesUnreadableSourcesAndEmptyAreas) {
    Canvas canvas = Canvas::create(2, 2);
    FrameImage compressed = DibCreateBlank(2, 2, 8, kNoColour);
    BitmapInfoHeader h = compressed.header();
    h.biCompression = kBiRle8;
    compressed.setHeader(h);
    EXPECT_FALSE(canvas.stretch(compressed, {0, 0, 2, 2}, {0, 0, 2, 2}, StretchMode::halftone));
    EXPECT_FALSE(canvas.stretch(ramp(), {0, 0, 0, 2}, {0, 0, 2, 2}, StretchMode::halftone));
    EXPECT_FALSE(canvas.stretch(ramp(), {0, 0, 2, 2}, {0, 0, 2, -1}, StretchMode::halftone));
    EXPECT_FALSE(Canvas::create(0, 3));
    EXPECT_FALSE(DibFromBitmap(Canvas{}));
}

TEST(StretchTest, StretchesStraightIntoAThirtyTwoBitFrame) {
    FrameImage frame = DibCreateBlank(2, 2, 32, kNoColour);
    PixelTarget target = frameTarget(frame);
    ASSERT_TRUE(StretchInto(ramp(), {0, 0, 4, 4}, target, {0, 0, 2, 2}, StretchMode::halftone));
    EXPECT_EQ(blueAt(frame, 0, 0), 25);
    EXPECT_EQ(frame.row(1)[3], 0);
    FrameImage notThirtyTwo = DibCreateBlank(2, 2, 24, 0);
    EXPECT_EQ(frameTarget(notThirtyTwo).top, nullptr);
}

}  // namespace
}  // namespace quillfen
