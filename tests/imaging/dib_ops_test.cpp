#include "imaging/dib_ops.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillfen {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes rowBytes(const FrameImage& image, int memoryRow) {
    return Bytes(image.row(memoryRow), image.row(memoryRow) + image.stride());
}

TEST(DibOpsTest, BlankFillsWholePixelsAndLeavesPadZero) {
    FrameImage image = DibCreateBlank(3, 2, 24, makeColour(10, 20, 30));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.header().biSizeImage, 0u);
    EXPECT_EQ(rowBytes(image, 1), (Bytes{30, 20, 10, 30, 20, 10, 30, 20, 10, 0, 0, 0}));
    FrameImage word = DibCreateBlank(1, 1, 16, makeColour(255, 0, 8));
    EXPECT_EQ(rowBytes(word, 0), (Bytes{0x01, 0x7C, 0, 0}));
    FrameImage none = DibCreateBlank(2, 2, 32, kNoColour);
    EXPECT_EQ(rowBytes(none, 0), Bytes(8, 0));
    FrameImage indexed = DibCreateBlank(2, 2, 8, makeColour(1, 2, 3));
    EXPECT_EQ(indexed.pixelOffset(), 40u + 1024);
    EXPECT_EQ(rowBytes(indexed, 0), Bytes(4, 0));
    EXPECT_FALSE(DibCreateBlank(0, 5, 24, 0));
}

TEST(DibOpsTest, PaletteSizeIgnoresColoursUsed) {
    BitmapInfoHeader h;
    h.biBitCount = 8;
    h.biClrUsed = 16;
    EXPECT_EQ(DibPaletteSize(h), 1024u);
    h.biBitCount = 16;
    EXPECT_EQ(DibPaletteSize(h), 0u);
}

TEST(DibOpsTest, FlipAndMirrorMoveWholePixelsAndKeepTheTable) {
    FrameImage image = DibCreateBlank(3, 2, 8, kNoColour);
    image.colourTable()[4 * 7] = 99;
    std::uint8_t* bottom = image.row(0);
    bottom[0] = 1, bottom[1] = 2, bottom[2] = 3;
    FrameImage flipped = DibFlipVertical(image);
    ASSERT_TRUE(flipped);
    EXPECT_EQ(flipped.header().biSizeImage, 8u);
    EXPECT_EQ(rowBytes(flipped, 1), (Bytes{1, 2, 3, 0}));
    EXPECT_EQ(flipped.colourTable()[4 * 7], 99);
    FrameImage mirrored = DibMirror(image);
    ASSERT_TRUE(mirrored);
    EXPECT_EQ(rowBytes(mirrored, 0), (Bytes{3, 2, 1, 0}));

    FrameImage wide = DibCreateBlank(2, 1, 24, kNoColour);
    for (int i = 0; i < 6; ++i)
        wide.row(0)[i] = static_cast<std::uint8_t>(i + 1);
    EXPECT_EQ(rowBytes(DibMirror(wide), 0), (Bytes{4, 5, 6, 1, 2, 3, 0, 0}));
}

TEST(DibOpsTest, RefusedDepthsAndCompression) {
    FrameImage fourBit = DibCreateBlank(4, 4, 4, kNoColour);
    EXPECT_FALSE(DibFlipVertical(fourBit));
    EXPECT_FALSE(DibMirror(fourBit));
    EXPECT_FALSE(Dib32To24(DibCreateBlank(4, 4, 24, 0)));
    FrameImage compressed = DibCreateBlank(4, 4, 8, kNoColour);
    BitmapInfoHeader h = compressed.header();
    h.biCompression = kBiRle8;
    compressed.setHeader(h);
    EXPECT_FALSE(DibFlipVertical(compressed));
    EXPECT_FALSE(DibFlipVertical(FrameImage{}));
}

TEST(DibOpsTest, ThirtyTwoToTwentyFourDropsTheFourthByte) {
    FrameImage image = DibCreateBlank(2, 1, 32, makeColour(7, 8, 9));
    image.row(0)[3] = 0xAA;
    FrameImage out = Dib32To24(image);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.bitCount(), 24);
    EXPECT_EQ(out.header().biSizeImage, 8u);
    EXPECT_EQ(rowBytes(out, 0), (Bytes{9, 8, 7, 9, 8, 7, 0, 0}));
}

}  // namespace
}  // namespace quillfen
