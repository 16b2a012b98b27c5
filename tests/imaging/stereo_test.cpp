#include "imaging/stereo.h"

#include <gtest/gtest.h>

#include <map>

#include "imaging/dib_ops.h"

namespace quillfen {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& p) {
    return out << '(' << p.r << ',' << p.g << ',' << p.b << ')';
}

// A two-row pair of width 4 at `bits` (24 or 32): left view A0 A1, right view B0 B1, second
// memory row C0 C1 | D0 D1.
FrameImage smallPair(int bits, const std::vector<Rgb>& pixels) {
    FrameImage image = DibCreateBlank(4, 2, bits, kNoColour);
    for (int i = 0; i < 8; ++i) {
        std::uint8_t* p = image.row(i / 4) + (i % 4) * (bits / 8);
        p[0] = static_cast<std::uint8_t>(pixels[i].b);
        p[1] = static_cast<std::uint8_t>(pixels[i].g);
        p[2] = static_cast<std::uint8_t>(pixels[i].r);
    }
    return image;
}

Rgb pixel(const FrameImage& image, int x, int memoryRow) {
    const std::uint8_t* p = image.row(memoryRow) + x * (image.bitCount() / 8);
    if (image.bitCount() == 16) {
        int v = p[0] | (p[1] << 8);
        return {((v >> 10) & 31) * 8, ((v >> 5) & 31) * 8, (v & 31) * 8};
    }
    return {p[2], p[1], p[0]};
}

const Rgb A0{200, 100, 50}, A1{10, 20, 30}, B0{40, 80, 160}, B1{250, 0, 5};
const Rgb C0{1, 2, 3}, C1{4, 5, 6}, D0{7, 8, 9}, D1{11, 12, 13};
const std::vector<Rgb> kPixels = {A0, A1, B0, B1, C0, C1, D0, D1};

// The conversion the Script names by `code`.
StereoConversion code(int code) {
    return static_cast<StereoConversion>(code);
}

int Y(const Rgb& p) {
    return (30 * p.r + 59 * p.g + 11 * p.b) / 100;
}

TEST(StereoConvertTest, EveryModeOnATwentyFourAndThirtyTwoBitPair) {
    // Expected first-row output pixels (x = 0, 1) per mode, worked out by hand.
    std::map<int, std::pair<Rgb, Rgb>> expected = {
        {0, {{Y(A0), Y(B0), 0}, {Y(A1), Y(B1), 0}}},
        {1, {{Y(A0), 0, Y(B0)}, {Y(A1), 0, Y(B1)}}},
        {2, {{200, 80, 160}, {10, 0, 5}}},
        {3, {A0, A1}},
        {5, {{Y(A0), Y(B0), Y(B0)}, {Y(A1), Y(B1), Y(B1)}}},
        {6, {{200, 100, 160}, {10, 20, 5}}},
        {7, {{200, 40, 160}, {10, 250, 5}}},
        {8, {A0, B1}},
        {11, {{40, 100, 160}, {250, 20, 5}}},
        {12, {{141, 58, 179}, {9, 93, 0}}},
        {14, {{200, 80, 50}, {250, 20, 5}}},
        {15, {{94, 77, 178}, {24, 0, 5}}},
        {19, {A0, A1}},
        {4, {{0, 0, 0}, {0, 0, 0}}},
        {13, {{0, 0, 0}, {0, 0, 0}}},
        {21, {{0, 0, 0}, {0, 0, 0}}},
    };
    for (int bits : {24, 32}) {
        FrameImage pairImage = smallPair(bits, kPixels);
        for (const auto& [mode, want] : expected) {
            FrameImage out = StereoConvert(pairImage, code(mode), false);
            ASSERT_TRUE(out) << mode;
            EXPECT_EQ(out.width(), 2);
            EXPECT_EQ(out.bitCount(), bits);
            EXPECT_EQ(out.header().biSizeImage, out.stride() * 2);
            EXPECT_EQ(pixel(out, 0, 0), want.first) << "mode " << mode << " bits " << bits;
            EXPECT_EQ(pixel(out, 1, 0), want.second) << "mode " << mode << " bits " << bits;
        }
    }
}

TEST(StereoConvertTest, RowInterleaveTakesOddMemoryRowsFromTheRightView) {
    FrameImage out = StereoConvert(smallPair(24, kPixels), StereoConversion::rowInterleave, false);
    EXPECT_EQ(pixel(out, 0, 1), D0);
    EXPECT_EQ(pixel(out, 1, 1), D1);
}

TEST(StereoConvertTest, TransposeSwapsRolesExceptForTheLeftViewMode) {
    FrameImage pairImage = smallPair(24, kPixels);
    EXPECT_EQ(pixel(StereoConvert(pairImage, StereoConversion::colourYellowBlue, true), 0, 0),
              (Rgb{40, 80, 50}));
    EXPECT_EQ(pixel(StereoConvert(pairImage, StereoConversion::leftView, true), 0, 0), A0);
}

TEST(StereoConvertTest, SixteenBitPairsUnpackAndRepack) {
    FrameImage pairImage = DibCreateBlank(4, 1, 16, kNoColour);
    auto put = [&](int x, int r, int g, int b) {
        int v = (r << 10) | (g << 5) | b;
        pairImage.row(0)[2 * x] = static_cast<std::uint8_t>(v);
        pairImage.row(0)[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put(0, 31, 10, 2);
    put(2, 4, 20, 30);
    FrameImage out = StereoConvert(pairImage, StereoConversion::colourYellowBlue, false);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.bitCount(), 16);
    EXPECT_EQ(pixel(out, 0, 0), (Rgb{248, 80, 240}));
}

TEST(StereoConvertTest, PalettePairsMixOnlyInTheMatrixModes) {
    FrameImage pairImage = DibCreateBlank(4, 1, 8, kNoColour);
    std::uint8_t* table = pairImage.colourTable();
    table[4 * 1 + 0] = 50, table[4 * 1 + 1] = 100, table[4 * 1 + 2] = 200;  // A0
    table[4 * 2 + 0] = 160, table[4 * 2 + 1] = 80, table[4 * 2 + 2] = 40;   // B0
    pairImage.row(0)[0] = 1;
    pairImage.row(0)[2] = 2;
    FrameImage mixed = StereoConvert(pairImage, StereoConversion::mixedRedCyan, false);
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed.bitCount(), 24);
    EXPECT_EQ(pixel(mixed, 0, 0), (Rgb{141, 58, 179}));
    FrameImage other = StereoConvert(pairImage, StereoConversion::colourRedCyan, false);
    ASSERT_TRUE(other);
    EXPECT_EQ(pixel(other, 0, 0), (Rgb{0, 0, 0}));
}

TEST(StereoConvertTest, OddWidthDropsTheLastColumnAndSmallOnesAreRefused) {
    FrameImage out =
        StereoConvert(DibCreateBlank(641, 2, 24, 0), StereoConversion::greyRedGreen, false);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.width(), 320);
    EXPECT_FALSE(StereoConvert(DibCreateBlank(1, 2, 24, 0), StereoConversion::greyRedGreen, false));
    EXPECT_FALSE(StereoConvert(DibCreateBlank(8, 2, 4, 0), StereoConversion::mixedRedCyan, false));
}

TEST(StereoViewsTest, SwapAndMirrorWorkInPlaceAndKeepTheOddColumn) {
    FrameImage image = DibCreateBlank(5, 1, 24, kNoColour);
    for (int x = 0; x < 5; ++x)
        image.row(0)[3 * x] = static_cast<std::uint8_t>(x + 1);
    auto blues = [&] {
        Bytes b;
        for (int x = 0; x < 5; ++x)
            b.push_back(image.row(0)[3 * x]);
        return b;
    };
    ASSERT_TRUE(SwapViews(image));
    EXPECT_EQ(blues(), (Bytes{3, 4, 1, 2, 5}));
    ASSERT_TRUE(MirrorViews(image, true, false));
    EXPECT_EQ(blues(), (Bytes{4, 3, 1, 2, 5}));
    ASSERT_TRUE(MirrorViews(image, false, true));
    EXPECT_EQ(blues(), (Bytes{4, 3, 2, 1, 5}));

    FrameImage eight = DibCreateBlank(4, 1, 8, kNoColour);
    eight.row(0)[0] = 9;
    EXPECT_FALSE(SwapViews(eight));
    EXPECT_EQ(eight.row(0)[0], 9);
    EXPECT_TRUE(MirrorViews(eight, true, true));
    EXPECT_EQ(eight.row(0)[1], 9);
    FrameImage four = DibCreateBlank(4, 1, 4, kNoColour);
    EXPECT_FALSE(MirrorViews(four, true, true));
}

TEST(StereoViewsTest, ConvertStereoFrameAppliesModeOrTranspose) {
    FrameImage image = smallPair(24, kPixels);
    ConvertStereoFrame(image, {StereoConversion::none, true});
    EXPECT_EQ(pixel(image, 0, 0), B0);  // swapped in place
    ConvertStereoFrame(image, {StereoConversion::halfWidth, true});
    EXPECT_EQ(pixel(image, 0, 0), A0);  // squeezed frames are only swapped
    ConvertStereoFrame(image, {code(-7), false});
    EXPECT_EQ(pixel(image, 0, 0), A0);  // any negative code leaves the pair alone
    ConvertStereoFrame(image, {StereoConversion::leftView, true});
    EXPECT_EQ(image.width(), 2);
    FrameImage refused = DibCreateBlank(8, 1, 4, kNoColour);
    ConvertStereoFrame(refused, {StereoConversion::greyRedGreen, true});
    EXPECT_EQ(refused.width(), 8);  // kept when the conversion is refused
}

}  // namespace
}  // namespace quillfen
