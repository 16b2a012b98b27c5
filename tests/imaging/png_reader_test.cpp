#include "imaging/png_reader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "imaging/picture_fixtures.h"

namespace quillfen {
namespace {

using testing::Bytes;

class PngReaderTest : public ::testing::Test {
  protected:
    FrameImage load(int w, int h, int type, int depth, const std::vector<Bytes>& rows,
                    const testing::PngExtras& extras = {}) {
        return LoadPngFile(
            folder.write("p.png", testing::encodePng(w, h, type, depth, rows, extras)));
    }
    testing::ScratchFolder folder;
};

TEST_F(PngReaderTest, ColourRowsBecomeBlueGreenRedBottomUp) {
    FrameImage image =
        load(2, 2, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    ASSERT_TRUE(image);
    EXPECT_EQ(image.bitCount(), 24);
    EXPECT_EQ(image.size(), 40u + 16);
    const Bytes bottom = {9, 8, 7, 12, 11, 10, 0, 0}, top = {3, 2, 1, 6, 5, 4, 0, 0};
    EXPECT_EQ(Bytes(image.row(0), image.row(0) + 8), bottom);
    EXPECT_EQ(Bytes(image.row(1), image.row(1) + 8), top);
}

TEST_F(PngReaderTest, SixteenBitSamplesKeepTheirHighByte) {
    FrameImage rgb = load(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}});
    ASSERT_TRUE(rgb);
    EXPECT_EQ(Bytes(rgb.row(0), rgb.row(0) + 3), (Bytes{0x9A, 0x56, 0x12}));
    FrameImage grey = load(1, 1, PNG_COLOR_TYPE_GRAY, 16, {{0xAB, 0xCD}});
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey.bitCount(), 8);
    EXPECT_EQ(grey.row(0)[0], 0xAB);
}

TEST_F(PngReaderTest, AlphaIsCompositedOverTheBackground) {
    Bytes row = {200, 200, 200, 128, 10, 20, 30, 0, 40, 50, 60, 255};
    FrameImage black = load(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {row});
    ASSERT_TRUE(black);
    EXPECT_EQ(Bytes(black.row(0), black.row(0) + 9), (Bytes{100, 100, 100, 0, 0, 0, 60, 50, 40}));
    testing::PngExtras extras;
    extras.hasBackground = true;
    extras.background[0] = 255, extras.background[1] = 0, extras.background[2] = 0;
    FrameImage red = load(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {row}, extras);
    ASSERT_TRUE(red);
    // (200 x 128 + 255 x 127 + 128) folded by (c + c/256) / 256 -> 227 for red.
    EXPECT_EQ(Bytes(red.row(0), red.row(0) + 6), (Bytes{100, 100, 227, 0, 0, 255}));
}

TEST_F(PngReaderTest, TwoBitGreyIsWidenedToFourBits) {
    // Pixels 0 1 2 3 | 2: packed two bits each, high bits first.
    FrameImage image = load(5, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x1B, 0x80}});
    ASSERT_TRUE(image);
    EXPECT_EQ(image.bitCount(), 4);
    EXPECT_EQ(image.stride(), 4u);
    EXPECT_EQ(Bytes(image.row(0), image.row(0) + 4), (Bytes{0x01, 0x23, 0x20, 0}));
    const std::uint8_t* table = image.colourTable();
    EXPECT_EQ(table[4], 85);
    EXPECT_EQ(table[8], 170);
    EXPECT_EQ(table[12], 255);
    EXPECT_EQ(table[16], 0);  // entries past the four of the ramp stay empty
}

TEST_F(PngReaderTest, IndexedDepthsAndTables) {
    FrameImage oneBit = load(9, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA5, 0x80}});
    ASSERT_TRUE(oneBit);
    EXPECT_EQ(oneBit.bitCount(), 1);
    EXPECT_EQ(oneBit.row(0)[0], 0xA5);
    EXPECT_EQ(oneBit.colourTable()[4], 255);

    testing::PngExtras extras;
    extras.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    FrameImage palette = load(3, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0x24}}, extras);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette.bitCount(), 4);
    EXPECT_EQ(palette.row(0)[0], 0x02);
    EXPECT_EQ(palette.row(0)[1], 0x10);
    EXPECT_EQ(Bytes(palette.colourTable() + 4, palette.colourTable() + 8), (Bytes{60, 50, 40, 0}));

    FrameImage greyAlpha = load(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{90, 0, 91, 255}});
    ASSERT_TRUE(greyAlpha);
    EXPECT_EQ(greyAlpha.bitCount(), 8);
    EXPECT_EQ(Bytes(greyAlpha.row(0), greyAlpha.row(0) + 2), (Bytes{90, 91}));
}

TEST_F(PngReaderTest, FileGammaIsCorrectedForTheDisplay) {
    testing::PngExtras linear;
    linear.gamma = 1.0;
    FrameImage image = load(3, 1, PNG_COLOR_TYPE_GRAY, 8, {{0, 128, 255}}, linear);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.row(0)[0], 0);
    EXPECT_GT(image.row(0)[1], 170);
    EXPECT_EQ(image.row(0)[2], 255);
}

TEST_F(PngReaderTest, InterlacedEqualsPlain) {
    std::vector<Bytes> rows;
    for (int y = 0; y < 9; ++y) {
        Bytes r;
        for (int x = 0; x < 27; ++x)
            r.push_back(static_cast<std::uint8_t>(x * 7 + y * 13));
        rows.push_back(r);
    }
    testing::PngExtras interlaced;
    interlaced.interlaced = true;
    FrameImage a = load(9, 9, PNG_COLOR_TYPE_RGB, 8, rows);
    FrameImage b = load(9, 9, PNG_COLOR_TYPE_RGB, 8, rows, interlaced);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Bytes(a.data(), a.data() + a.size()), Bytes(b.data(), b.data() + b.size()));
}

TEST_F(PngReaderTest, EarlyEndKeepsDecodedRowsAndZeroesTheRest) {
    std::mt19937 random(7);
    std::vector<Bytes> rows(64, Bytes(64 * 3));
    for (Bytes& r : rows)
        for (auto& b : r)
            b = static_cast<std::uint8_t>(random() | 1);  // never zero
    Bytes file = testing::encodePng(64, 64, PNG_COLOR_TYPE_RGB, 8, rows);
    file.resize(file.size() * 3 / 4);  // inside the second 8 KiB data chunk
    FrameImage image = LoadPngFile(folder.write("cut.png", file));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.row(63)[0], rows[0][2]);  // the top row arrived
    EXPECT_EQ(image.row(0)[0], 0);            // the bottom row did not
}

TEST_F(PngReaderTest, NotAPictureGivesNone) {
    EXPECT_FALSE(LoadPngFile(folder.write("e.png", {})));
    EXPECT_FALSE(LoadPngFile(folder.write("t.png", {'n', 'o', 't', ' ', 'p', 'n', 'g', '!', '!'})));
    Bytes file = testing::encodePng(4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(4, Bytes(12)));
    file.resize(20);  // inside the header chunk
    EXPECT_FALSE(LoadPngFile(folder.write("h.png", file)));
}

}  // namespace
}  // namespace quillfen
