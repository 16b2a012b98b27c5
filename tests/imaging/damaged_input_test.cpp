// Damaged pictures of every kind: truncated at many points, bytes overwritten, empty files and
// misleading extensions must never crash, hang or leak, and whatever loads must hold its rows.
#include <gtest/gtest.h>
#include <png.h>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/picture_fixtures.h"
#include "imaging/picture_loader.h"

namespace quillfen {
namespace {

using testing::Bytes;

Bytes validPicture(const std::string& extension, const testing::ScratchFolder& folder) {
    if (extension == ".jpg") {
        Bytes samples(24 * 16 * 3);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::uint8_t>(i * 7);
        return testing::encodeJpeg(24, 16, 3, samples);
    }
    if (extension == ".png") {
        std::vector<Bytes> rows(16, Bytes(24 * 4));
        for (auto& r : rows)
            for (std::size_t i = 0; i < r.size(); ++i)
                r[i] = static_cast<std::uint8_t>(i * 5);
        return testing::encodePng(24, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, rows);
    }
    FrameImage image = DibCreateBlank(24, 16, 8, makeColour(1, 2, 3));
    std::string path = folder.path("source.bmp");
    WriteBmpFile(image, path);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    Bytes bytes(14 + image.size());
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return bytes;
}

void expectSound(const FrameImage& image) {
    if (!image) return;
    EXPECT_TRUE(image.rowsFit() || image.header().biCompression != kBiRgb);
    if (image.rowsFit() && image.header().biCompression == kBiRgb) {
        EXPECT_TRUE(DibFlipVertical(image) || image.bitCount() < 8);
    }
}

TEST(DamagedInputTest, TruncatedAndOverwrittenPicturesOfEveryKind) {
    testing::ScratchFolder folder;
    for (std::string extension : {".bmp", ".jpg", ".png"}) {
        Bytes whole = validPicture(extension, folder);
        std::string path = folder.path("d" + extension);
        ASSERT_TRUE(LoadPicture(folder.write("d" + extension, whole))) << extension;
        for (std::size_t cut = 0; cut < whole.size(); cut += 1 + cut / 8) {
            folder.write("d" + extension, Bytes(whole.begin(), whole.begin() + cut));
            expectSound(LoadPicture(path));
        }
        for (std::size_t at = 0; at < whole.size() && at < 400; at += 3) {
            Bytes damaged = whole;
            damaged[at] ^= 0xFF;
            if (at + 1 < damaged.size()) damaged[at + 1] = 0xFF;
            folder.write("d" + extension, damaged);
            expectSound(LoadPicture(path));
        }
    }
}

TEST(DamagedInputTest, WrongExtensionOrKindGivesNone) {
    testing::ScratchFolder folder;
    Bytes png = validPicture(".png", folder);
    EXPECT_FALSE(LoadPicture(folder.write("really-png.jpg", png)));
    EXPECT_FALSE(LoadPicture(folder.write("really-png.bmp", png)));
    EXPECT_FALSE(LoadPicture(folder.write("picture.gif", png)));
    EXPECT_FALSE(LoadPicture(folder.write("empty.png", {})));
    EXPECT_FALSE(LoadPicture(folder.path("missing.png")));
}

TEST(DamagedInputTest, AbsurdSizesInHeadersAreRefusedWithoutAllocating) {
    testing::ScratchFolder folder;
    Bytes png = validPicture(".png", folder);
    // IHDR width and height at bytes 16..23; the CRC no longer matches, so patch it too.
    Bytes huge = png;
    for (int i = 16; i < 24; ++i)
        huge[i] = i % 4 == 1 ? 0x7F : 0;
    EXPECT_FALSE(LoadPicture(folder.write("huge.png", huge)));
    Bytes jpeg = validPicture(".jpg", folder);
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // start of frame: height, width
            jpeg[i + 5] = jpeg[i + 6] = jpeg[i + 7] = jpeg[i + 8] = 0xFF;
            break;
        }
    }
    EXPECT_FALSE(LoadPicture(folder.write("huge.jpg", jpeg)));
}

}  // namespace
}  // namespace quillfen
