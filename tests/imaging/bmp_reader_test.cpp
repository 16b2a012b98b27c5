#include "imaging/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/dib_ops.h"
#include "imaging/picture_fixtures.h"

namespace quillfen {
namespace {

using testing::Bytes;

struct BmpLayout {
    int width = 3, height = 2, bits = 24;
    std::uint32_t compression = 0, sizeImage = 0, clrUsed = 0;
    bool fileHeader = true;
    std::uint32_t gap = 0;  // bytes between the table and the pixels
};

Bytes infoHeader(const BmpLayout& s) {
    Bytes b;
    testing::put32(b, 40);
    testing::put32(b, static_cast<std::uint32_t>(s.width));
    testing::put32(b, static_cast<std::uint32_t>(s.height));
    testing::put16(b, 1);
    testing::put16(b, static_cast<unsigned>(s.bits));
    for (std::uint32_t v : {s.compression, s.sizeImage, 0u, 0u, s.clrUsed, 0u})
        testing::put32(b, v);
    return b;
}

Bytes bmpFile(const BmpLayout& s, const Bytes& table, const Bytes& pixels) {
    Bytes body = infoHeader(s);
    body.insert(body.end(), table.begin(), table.end());
    body.insert(body.end(), s.gap, 0xEE);
    if (!s.fileHeader) {
        body.insert(body.end(), pixels.begin(), pixels.end());
        return body;
    }
    Bytes file = {'B', 'M'};
    testing::put32(file, static_cast<std::uint32_t>(14 + body.size() + pixels.size()));
    testing::put32(file, 0);
    testing::put32(file, static_cast<std::uint32_t>(14 + body.size()));
    file.insert(file.end(), body.begin(), body.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes sequence(std::size_t n, int from = 1) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(from + i);
    return b;
}

class BmpReaderTest : public ::testing::Test {
  protected:
    FrameImage load(const Bytes& bytes) { return LoadBmpFile(folder.write("p.bmp", bytes)); }
    testing::ScratchFolder folder;
};

TEST_F(BmpReaderTest, TwentyFourBitsWithAndWithoutFileHeader) {
    Bytes pixels = sequence(24);  // 3 pixels x 3 bytes + 3 pad, two rows
    for (bool fileHeader : {true, false}) {
        BmpLayout options;
        options.fileHeader = fileHeader;
        FrameImage image = load(bmpFile(options, {}, pixels));
        ASSERT_TRUE(image) << fileHeader;
        BitmapInfoHeader h = image.header();
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, 3);
        EXPECT_EQ(h.biHeight, 2);
        EXPECT_EQ(h.biSizeImage, 24u);  // computed when the file says 0
        ASSERT_EQ(image.size(), 40u + 24u);
        EXPECT_EQ(0, std::memcmp(image.data() + 40, pixels.data(), 24));
    }
}

TEST_F(BmpReaderTest, EightBitsReadsWholeTableThenPixelsFromOffset) {
    BmpLayout options;
    options.bits = 8;
    options.clrUsed = 16;
    options.gap = 10;
    Bytes table = sequence(1024, 0);
    Bytes pixels = {5, 6, 7, 0, 8, 9, 10, 0};
    FrameImage image = load(bmpFile(options, table, pixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(DibPaletteSize(image.header()), 1024u);
    EXPECT_EQ(image.header().biClrUsed, 16u);
    EXPECT_EQ(0, std::memcmp(image.colourTable(), table.data(), 1024));
    EXPECT_EQ(0, std::memcmp(image.pixels(), pixels.data(), pixels.size()));
}

TEST_F(BmpReaderTest, CoreHeaderIsWidenedWithItsThreeByteTable) {
    Bytes file;
    testing::put32(file, 12);
    testing::put16(file, 2);  // width
    testing::put16(file, 1);  // height
    testing::put16(file, 1);
    testing::put16(file, 4);
    for (int i = 0; i < 16; ++i)
        file.insert(file.end(), {std::uint8_t(i), std::uint8_t(i + 1), 7});
    file.insert(file.end(), {0x1F, 0, 0, 0});
    FrameImage image = load(file);
    ASSERT_TRUE(image);
    BitmapInfoHeader h = image.header();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biBitCount, 4);
    EXPECT_EQ(h.biClrUsed, 16u);
    const std::uint8_t* entry = image.colourTable() + 4 * 3;
    EXPECT_EQ(entry[0], 3);
    EXPECT_EQ(entry[1], 4);
    EXPECT_EQ(entry[2], 7);
    EXPECT_EQ(entry[3], 0);
    EXPECT_EQ(image.pixels()[0], 0x1F);
}

TEST_F(BmpReaderTest, BitFieldsKeepTheirMasks) {
    BmpLayout options;
    options.bits = 16;
    options.compression = kBiBitfields;
    Bytes masks = {0, 0x7C, 0, 0, 0xE0, 0x03, 0, 0, 0x1F, 0, 0, 0};
    FrameImage image = load(bmpFile(options, masks, sequence(16)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.pixelOffset(), 52u);
    EXPECT_EQ(0, std::memcmp(image.colourTable(), masks.data(), 12));
    EXPECT_EQ(image.pixels()[0], 1);
}

TEST_F(BmpReaderTest, RunLengthIsCarriedButRefusedByPixelOperations) {
    BmpLayout options;
    options.bits = 8;
    options.compression = kBiRle8;
    Bytes rle = {2, 1, 0, 0, 2, 3, 0, 1};
    options.sizeImage = static_cast<std::uint32_t>(rle.size());
    FrameImage image = load(bmpFile(options, Bytes(1024, 0), rle));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.header().biCompression, kBiRle8);
    EXPECT_EQ(0, std::memcmp(image.pixels(), rle.data(), rle.size()));
    EXPECT_FALSE(DibFlipVertical(image));
    EXPECT_FALSE(DibMirror(image));
}

TEST_F(BmpReaderTest, TopDownRowsComeBackBottomUp) {
    BmpLayout options;
    options.height = -2;
    Bytes pixels = sequence(24);
    FrameImage image = load(bmpFile(options, {}, pixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(0, std::memcmp(image.row(0), pixels.data() + 12, 12));
    EXPECT_EQ(0, std::memcmp(image.row(1), pixels.data(), 12));
}

TEST_F(BmpReaderTest, ShortPixelDataLeavesTheRestZero) {
    FrameImage image = load(bmpFile(BmpLayout{}, {}, sequence(15)));
    ASSERT_TRUE(image);
    ASSERT_TRUE(image.rowsFit());
    EXPECT_EQ(image.row(1)[2], 15);
    EXPECT_EQ(image.row(1)[3], 0);
}

TEST_F(BmpReaderTest, RefusesOtherHeadersAndAbsurdSizes) {
    Bytes v4 = bmpFile(BmpLayout{}, {}, sequence(24));
    v4[14] = 108;
    EXPECT_FALSE(load(v4));
    BmpLayout zeroWidth;
    zeroWidth.width = 0;
    EXPECT_FALSE(load(bmpFile(zeroWidth, {}, {})));
    BmpLayout negativeWidth;
    negativeWidth.width = -3;
    EXPECT_FALSE(load(bmpFile(negativeWidth, {}, sequence(24))));
    BmpLayout huge;
    huge.width = 20000;
    huge.height = 20000;
    EXPECT_FALSE(load(bmpFile(huge, {}, sequence(24))));
    BmpLayout bigBlock;
    bigBlock.sizeImage = 0xFFFFFF00u;
    bigBlock.compression = kBiRle8;
    bigBlock.bits = 8;
    EXPECT_FALSE(load(bmpFile(bigBlock, Bytes(1024, 0), sequence(24))));
    BmpLayout oddBits;
    oddBits.bits = 7;
    EXPECT_FALSE(load(bmpFile(oddBits, {}, sequence(24))));
    EXPECT_FALSE(LoadBmpFile(folder.path("missing.bmp")));
}

TEST_F(BmpReaderTest, WrittenFileCarriesTheBlockByteForByte) {
    FrameImage image = DibCreateBlank(5, 3, 8, kNoColour);
    image.colourTable()[4] = 0x44;
    image.pixels()[0] = 1;
    std::string path = folder.path("out.bmp");
    ASSERT_TRUE(WriteBmpFile(image, path));
    FrameImage back = LoadBmpFile(path);
    ASSERT_TRUE(back);
    BitmapInfoHeader h = back.header();
    EXPECT_EQ(h.biSizeImage, 24u);  // filled in by the reader for a 0 in the file
    EXPECT_EQ(0, std::memcmp(back.data() + 40, image.data() + 40, image.size() - 40));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::uint8_t head[14];
    ASSERT_EQ(std::fread(head, 1, 14, f), 14u);
    std::fclose(f);
    EXPECT_EQ(head[0], 'B');
    EXPECT_EQ(head[2] | head[3] << 8, static_cast<int>(14 + image.size()));
    EXPECT_EQ(head[10] | head[11] << 8, 14 + 40 + 1024);
}

}  // namespace
}  // namespace quillfen
