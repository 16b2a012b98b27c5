#include "imaging/resize.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "imaging/dib_convert.h"
#include "imaging/dib_ops.h"
#include "imaging/raster/canvas.h"

namespace quillfen {
namespace {

constexpr ColourValue kRed = makeColour(255, 0, 0);
constexpr ColourValue kBlue = makeColour(0, 0, 255);
constexpr ColourValue kGreen = makeColour(0, 255, 0);
constexpr ColourValue kBand = makeColour(10, 20, 30);

// Fitting to w x h with letterbox bands of kBand.
FitOptions fitTo(int w, int h, ResizeMode mode, CropAnchor anchor = CropAnchor::none,
                 bool stereoPairs = false) {
    return {{w, h}, mode, anchor, kBand, stereoPairs};
}

// Colour of pixel (x, y from the top) of a 32-bit image.
ColourValue at(const FrameImage& image, int x, int y) {
    const std::uint8_t* p = image.row(image.height() - 1 - y) + 4 * x;
    return makeColour(p[2], p[1], p[0]);
}

// A 24-bit pair whose left view is `left` and right view is `right`.
FrameImage pair(int w, int h, ColourValue left, ColourValue right) {
    FrameImage image = DibCreateBlank(w, h, 24, left);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x) {
            std::uint8_t* p = image.row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(blueOf(right));
            p[1] = static_cast<std::uint8_t>(greenOf(right));
            p[2] = static_cast<std::uint8_t>(redOf(right));
        }
    return image;
}

// A picture of `bits` bits whose every byte of pixels and colour table is pseudo-random.
FrameImage noisy(int w, int h, int bits) {
    FrameImage image = FrameImage::create(w, h, bits);
    std::uint32_t state = 12345;
    for (std::size_t i = 40; i < image.size(); ++i) {
        state = state * 1103515245u + 12345u;
        image.data()[i] = static_cast<std::uint8_t>(state >> 16);
    }
    return image;
}

// What drawing the whole picture 1:1 through the canvas gives.
FrameImage drawnThroughCanvas(const FrameImage& source) {
    Canvas canvas = Canvas::create(source.width(), source.height());
    canvas.stretch(source, {0, 0, double(source.width()), double(source.height())},
                   {0, 0, source.width(), source.height()}, StretchMode::halftone);
    return DibFromBitmap(canvas);
}

TEST(ResizeTest, PictureOfTheOutputSizeKeepsItsPixels) {
    for (int bits : {8, 16, 24, 32}) {
        FrameImage source = noisy(37, 21, bits);
        FrameImage expected = drawnThroughCanvas(source);
        for (ResizeMode mode : {ResizeMode::fit, ResizeMode::letterbox, ResizeMode::stretch}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, mode " << static_cast<int>(mode));
            FrameImage fitted = ResizeFrame(source, fitTo(37, 21, mode));
            ASSERT_TRUE(fitted);
            EXPECT_EQ(fitted.size(), expected.size());
            EXPECT_TRUE(std::equal(fitted.data(), fitted.data() + fitted.size(), expected.data()));
        }
    }
    // An odd-width stereo pair draws its views separately: the last column is background.
    FrameImage odd = ResizeFrame(pair(9, 4, kRed, kBlue),
                                 fitTo(9, 4, ResizeMode::letterbox, CropAnchor::none, true));
    EXPECT_EQ(at(odd, 8, 0), kBand);
    EXPECT_EQ(at(odd, 3, 0), kRed);
    EXPECT_EQ(at(odd, 4, 0), kBlue);
}

TEST(ResizeTest, ModeSummaryForAWidePicture) {
    FrameImage source = DibCreateBlank(1000, 500, 24, kRed);
    FrameImage stretched = ResizeFrame(source, fitTo(640, 480, ResizeMode::stretch));
    ASSERT_TRUE(stretched);
    EXPECT_EQ(stretched.width(), 640);
    EXPECT_EQ(stretched.height(), 480);
    EXPECT_EQ(stretched.bitCount(), 32);
    EXPECT_EQ(at(stretched, 0, 0), kRed);

    FrameImage letterbox = ResizeFrame(source, fitTo(640, 480, ResizeMode::letterbox));
    ASSERT_TRUE(letterbox);
    EXPECT_EQ(letterbox.height(), 480);
    EXPECT_EQ(at(letterbox, 320, 79), kBand);
    EXPECT_EQ(at(letterbox, 320, 80), kRed);
    EXPECT_EQ(at(letterbox, 639, 399), kRed);
    EXPECT_EQ(at(letterbox, 320, 400), kBand);

    FrameImage fit = ResizeFrame(source, fitTo(640, 480, ResizeMode::fit));
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit.width(), 640);
    EXPECT_EQ(fit.height(), 320);

    FrameImage cropped =
        ResizeFrame(source, fitTo(640, 480, ResizeMode::letterbox, CropAnchor::middle));
    ASSERT_TRUE(cropped);
    EXPECT_EQ(std::vector<std::uint8_t>(cropped.data(), cropped.data() + cropped.size()),
              std::vector<std::uint8_t>(letterbox.data(), letterbox.data() + letterbox.size()));
}

TEST(ResizeTest, StereoPairWiderThanTargetKeepsViewsInTheirHalves) {
    FrameImage out = ResizeFrame(pair(2000, 750, kRed, kBlue),
                                 fitTo(1280, 720, ResizeMode::letterbox, CropAnchor::none, true));
    ASSERT_TRUE(out);
    EXPECT_EQ(at(out, 10, 119), kBand);
    EXPECT_EQ(at(out, 0, 120), kRed);
    EXPECT_EQ(at(out, 639, 599), kRed);
    EXPECT_EQ(at(out, 640, 120), kBlue);
    EXPECT_EQ(at(out, 1279, 300), kBlue);
    EXPECT_EQ(at(out, 640, 600), kBand);
}

TEST(ResizeTest, StereoPairNarrowerThanTargetCentresEachView) {
    FrameImage out = ResizeFrame(pair(1600, 600, kRed, kBlue),
                                 fitTo(1920, 600, ResizeMode::letterbox, CropAnchor::none, true));
    ASSERT_TRUE(out);
    EXPECT_EQ(at(out, 79, 300), kBand);
    EXPECT_EQ(at(out, 80, 300), kRed);
    EXPECT_EQ(at(out, 879, 300), kRed);
    EXPECT_EQ(at(out, 880, 300), kBand);
    EXPECT_EQ(at(out, 1039, 300), kBand);
    EXPECT_EQ(at(out, 1040, 300), kBlue);
    EXPECT_EQ(at(out, 1839, 300), kBlue);
    EXPECT_EQ(at(out, 1840, 300), kBand);
}

TEST(ResizeTest, CropAnchorChoosesWhichRowsOfAPortraitStay) {
    // 600 x 800: the top 450 rows green, the bottom 350 red.
    FrameImage portrait = DibCreateBlank(600, 800, 24, kRed);
    for (int y = 350; y < 800; ++y)
        for (int x = 0; x < 600; ++x)
            std::copy_n("\x00\xFF\x00", 3, portrait.row(y) + 3 * x);
    FrameImage top = ResizeFrame(portrait, fitTo(640, 480, ResizeMode::letterbox, CropAnchor::top));
    ASSERT_TRUE(top);
    EXPECT_EQ(top.width(), 640);
    EXPECT_EQ(top.height(), 480);
    EXPECT_EQ(at(top, 0, 0), kGreen);
    EXPECT_EQ(at(top, 639, 479), kGreen);
    FrameImage bottom =
        ResizeFrame(portrait, fitTo(640, 480, ResizeMode::letterbox, CropAnchor::bottom));
    EXPECT_EQ(at(bottom, 320, 479), kRed);
    EXPECT_EQ(at(bottom, 320, 0), kGreen);  // rows 350..449 from the top are still green
}

TEST(ResizeTest, FitFrameKeepsTheFrameWithoutASizeOrAResult) {
    FrameImage image = DibCreateBlank(100, 50, 24, kRed);
    FitFrame(image, fitTo(0, 480, ResizeMode::stretch));
    EXPECT_EQ(image.bitCount(), 24);  // no size: the frame keeps its size and depth
    EXPECT_EQ(image.width(), 100);
    EXPECT_FALSE(FinallyFitted(image, fitTo(640, 0, ResizeMode::stretch)));

    FrameImage wide = pair(400, 100, kRed, kBlue);
    FitFrame(wide, fitTo(640, 480, ResizeMode::stretch));
    EXPECT_EQ(wide.width(), 640);
    EXPECT_EQ(wide.height(), 480);
    EXPECT_EQ(at(wide, 0, 0), kRed);
    EXPECT_EQ(at(wide, 639, 479), kBlue);

    FrameImage unreadable;
    FitFrame(unreadable, fitTo(640, 480, ResizeMode::stretch));
    EXPECT_FALSE(unreadable);
}

TEST(ResizeTest, AFrameThatHasTheSizeIsFittedInPlaceWithItsFourthBytesCleared) {
    const FitOptions fit = fitTo(64, 32, ResizeMode::letterbox);
    FrameImage frame = DibCreateBlank(64, 32, 32, kRed);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            frame.row(y)[4 * x + 3] = 0xAB;
    const std::uint8_t* block = frame.data();
    FitFrame(frame, fit);
    EXPECT_EQ(frame.data(), block);  // no new block
    EXPECT_EQ(at(frame, 0, 0), kRed);
    EXPECT_EQ(frame.row(31)[4 * 63 + 3], 0);
    // A size that differs still gives a new, fitted frame.
    FrameImage small = DibCreateBlank(32, 16, 32, kRed);
    FitFrame(small, fit);
    EXPECT_EQ(small.width(), 64);
}

// A w x h picture of one `pixel` value whose channels the red, green and blue `masks` place,
// as some BMP writers store 16 and 32-bit pictures.
FrameImage masked(int w, int h, int bits, std::array<std::uint32_t, 3> masks, std::uint32_t pixel) {
    BitmapInfoHeader header;
    header.biWidth = w;
    header.biHeight = h;
    header.biBitCount = static_cast<std::uint16_t>(bits);
    header.biCompression = kBiBitfields;
    std::size_t stride = DibRowStride(w, bits);
    FrameImage image = FrameImage::allocate(40 + 12 + stride * static_cast<std::size_t>(h));
    image.setHeader(header);
    std::memcpy(image.data() + 40, masks.data(), 12);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            std::memcpy(image.row(y) + x * bits / 8, &pixel, static_cast<std::size_t>(bits / 8));
    return image;
}

TEST(ResizeTest, PixelsPlacedByChannelMasksAreFittedAndConverted) {
    struct Case {
        FrameImage picture;
        ColourValue colour;
    } cases[] = {
        // 5-6-5: full red, half green.
        {masked(6, 4, 16, {0xF800, 0x07E0, 0x001F}, 0xF800 | (32 << 5)), makeColour(248, 128, 0)},
        {masked(6, 4, 32, {0xFF000000, 0x00FF0000, 0x0000FF00}, 0x0A141E00),
         makeColour(10, 20, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture.bitCount());
        FrameImage fitted = ResizeFrame(c.picture, {{12, 8}, ResizeMode::letterbox});
        ASSERT_TRUE(fitted);
        EXPECT_EQ(at(fitted, 0, 0), c.colour);
        EXPECT_EQ(at(fitted, 11, 7), c.colour);
        FrameImage same = ResizeFrame(c.picture, {{6, 4}, ResizeMode::letterbox});
        ASSERT_TRUE(same);
        EXPECT_EQ(at(same, 5, 3), c.colour);
        FrameImage wide = DibTo32(c.picture);
        ASSERT_TRUE(wide);
        EXPECT_EQ(wide.header().biCompression, kBiRgb);
        EXPECT_EQ(at(wide, 3, 2), c.colour);
    }
}

}  // namespace
}  // namespace quillfen
