#include "imaging/jpeg_reader.h"

#include <gtest/gtest.h>

#include "imaging/picture_fixtures.h"

namespace quillfen {
namespace {

using testing::Bytes;

Bytes solid(int width, int height, std::initializer_list<std::uint8_t> pixel) {
    Bytes samples;
    for (int i = 0; i < width * height; ++i)
        samples.insert(samples.end(), pixel);
    return samples;
}

void expectNear(const std::uint8_t* p, std::initializer_list<int> expected) {
    int i = 0;
    for (int e : expected)
        EXPECT_NEAR(p[i++], e, 3) << "channel " << i - 1;
}

class JpegReaderTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder;
};

TEST_F(JpegReaderTest, ColourPictureBecomesBlueGreenRedRowsWithTableRoom) {
    // Top half red, bottom half blue: the top of the picture is the last row in memory.
    Bytes samples = solid(16, 8, {220, 20, 30});
    Bytes bottom = solid(16, 8, {10, 30, 200});
    samples.insert(samples.end(), bottom.begin(), bottom.end());
    FrameImage image = LoadJpegFile(folder.write("c.jpg", testing::encodeJpeg(16, 16, 3, samples)));
    ASSERT_TRUE(image);
    BitmapInfoHeader h = image.header();
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biSizeImage, 0u);
    EXPECT_EQ(image.size(), 48u * 16 + 1064);
    expectNear(image.row(15), {30, 20, 220});
    expectNear(image.row(0), {200, 30, 10});
}

TEST_F(JpegReaderTest, GreyPictureGetsEightBitsAndARamp) {
    FrameImage image =
        LoadJpegFile(folder.write("g.jpg", testing::encodeJpeg(5, 2, 1, solid(5, 2, {77}))));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.bitCount(), 8);
    EXPECT_EQ(image.size(), 8u * 2 + 2088);
    EXPECT_EQ(image.colourTable()[4 * 200 + 1], 200);
    EXPECT_NEAR(image.row(0)[4], 77, 2);
}

TEST_F(JpegReaderTest, FourComponentsKeepThreeSamplesAndZeroTheFourth) {
    Bytes file = testing::encodeJpeg(8, 8, 4, solid(8, 8, {200, 100, 50, 0}));
    FrameImage image = LoadJpegFile(folder.write("k.jpg", file));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.bitCount(), 32);
    expectNear(image.row(3) + 8, {50, 100, 200, 0});
}

TEST_F(JpegReaderTest, LeadingZerosUpToAThousandArePassedOver) {
    Bytes picture = testing::encodeJpeg(8, 8, 3, solid(8, 8, {0, 255, 0}));
    for (std::size_t zeros : {2u, 999u, 1000u}) {
        Bytes file(zeros, 0);
        file.insert(file.end(), picture.begin(), picture.end());
        EXPECT_TRUE(LoadJpegFile(folder.write("z.jpg", file))) << zeros;
    }
    Bytes tooMany(1002, 0);
    tooMany.insert(tooMany.end(), picture.begin(), picture.end());
    EXPECT_FALSE(LoadJpegFile(folder.write("z.jpg", tooMany)));
}

TEST_F(JpegReaderTest, MetadataSegmentIsSkipped) {
    Bytes picture = testing::encodeJpeg(8, 8, 3, solid(8, 8, {0, 0, 255}));
    Bytes app1 = {0xFF, 0xE1, 0x00, 0x08, 'E', 'x', 'i', 'f', 0, 0};
    picture.insert(picture.begin() + 2, app1.begin(), app1.end());
    FrameImage image = LoadJpegFile(folder.write("e.jpg", picture));
    ASSERT_TRUE(image);
    expectNear(image.row(0), {255, 0, 0});
}

TEST_F(JpegReaderTest, DamagedOrMissingFilesGiveNone) {
    EXPECT_FALSE(LoadJpegFile(folder.write("empty.jpg", {})));
    EXPECT_FALSE(LoadJpegFile(folder.write("text.jpg", {'h', 'e', 'l', 'l', 'o'})));
    Bytes picture = testing::encodeJpeg(8, 8, 3, solid(8, 8, {1, 2, 3}));
    picture.resize(20);
    EXPECT_FALSE(LoadJpegFile(folder.write("cut.jpg", picture)));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadJpegFile(folder.path("missing.jpg")));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("can't open"), std::string::npos);
}

// A header claiming 16000x16000 pixels over a few hundred bytes is refused before any
// decoding, while a picture cut short in its data still shows the part that arrived.
TEST_F(JpegReaderTest, SizeOutOfAllProportionToTheDataIsRefusedButACutPictureLoads) {
    Bytes picture = testing::encodeJpeg(64, 64, 3, solid(64, 64, {40, 80, 160}));
    Bytes cut(picture.begin(), picture.end() - 8);
    FrameImage image = LoadJpegFile(folder.write("cut.jpg", cut));
    ASSERT_TRUE(image);
    expectNear(image.row(63), {160, 80, 40});
    for (std::size_t i = 0; i + 8 < picture.size(); ++i) {
        if (picture[i] == 0xFF && picture[i + 1] == 0xC0) {  // start of frame: height, width
            picture[i + 5] = picture[i + 7] = 0x3E;
            picture[i + 6] = picture[i + 8] = 0x80;
            break;
        }
    }
    EXPECT_FALSE(LoadJpegFile(folder.write("huge.jpg", picture)));
}

}  // namespace
}  // namespace quillfen
