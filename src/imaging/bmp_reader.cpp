#include "imaging/bmp_reader.h"

#include <cstring>
#include <vector>

#include "imaging/picture_file.h"

namespace quillfen {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The information header, widened to 40 bytes; false for any other size or a short file.
bool readInfoHeader(PictureFile& file, BitmapInfoHeader& h, bool& core) {
    long at = file.tell();
    std::uint8_t raw[40] = {};
    std::size_t got = file.read(raw, sizeof raw);
    std::uint32_t size = got >= 4 ? le32(raw) : 0;
    core = size == 12;
    if (core && got >= 12) {
        h = BitmapInfoHeader{};
        h.biWidth = le16(raw + 4);
        h.biHeight = le16(raw + 6);
        h.biPlanes = le16(raw + 8);
        h.biBitCount = le16(raw + 10);
        h.biClrUsed = h.biClrImportant = static_cast<std::uint32_t>(DibColorCount(h));
        return file.seek(at + 12);  // the colour table follows the short header
    }
    if (size != 40 || got < 40) return false;
    std::memcpy(&h, raw, sizeof h);
    return true;
}

bool saneHeader(const BitmapInfoHeader& h) {
    int bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
    std::int64_t rows = h.biHeight < 0 ? -std::int64_t{h.biHeight} : h.biHeight;
    if (std::int64_t{h.biWidth} * rows > kMaxPicturePixels) return false;
    // Masks stand in place of a colour table only for 16 and 32-bit pixels.
    if (h.biCompression == kBiBitfields && bits != 16 && bits != 32) return false;
    // Rows stored top-down can only be reordered when they are plain rows.
    return h.biHeight > 0 || h.biCompression == kBiRgb || h.biCompression == kBiBitfields;
}

void readColourTable(PictureFile& file, FrameImage& image, int count, bool core) {
    std::uint8_t* table = image.data() + 40;
    if (!core) {
        file.read(table, static_cast<std::size_t>(count) * 4);
        return;
    }
    std::vector<std::uint8_t> entries(static_cast<std::size_t>(count) * 3);
    file.read(entries.data(), entries.size());
    for (int i = 0; i < count; ++i)
        std::memcpy(table + 4 * i, &entries[3 * i], 3);
}

void reorderTopDown(FrameImage& image, std::size_t stride, int rows) {
    std::vector<std::uint8_t> scratch(stride);
    std::uint8_t* pixels = image.pixels();
    for (int i = 0, j = rows - 1; i < j; ++i, --j) {
        std::memcpy(scratch.data(), pixels + stride * i, stride);
        std::memcpy(pixels + stride * i, pixels + stride * j, stride);
        std::memcpy(pixels + stride * j, scratch.data(), stride);
    }
}

}  // namespace

FrameImage LoadBmpFile(const std::string& path, long start) {
    PictureFile file(path, start);
    if (!file) return {};
    std::uint8_t fileHeader[14] = {};
    std::uint32_t pixelOffset = 0;
    if (file.read(fileHeader, 14) == 14 && fileHeader[0] == 'B' && fileHeader[1] == 'M')
        pixelOffset = le32(fileHeader + 10);
    else if (!file.seek(start))
        return {};
    BitmapInfoHeader h;
    bool core = false;
    if (!readInfoHeader(file, h, core) || !saneHeader(h)) return {};
    bool topDown = h.biHeight < 0;
    int rows = topDown ? -h.biHeight : h.biHeight;
    std::size_t stride = DibRowStride(h.biWidth, h.biBitCount);
    std::uint64_t rowBytes = std::uint64_t{stride} * static_cast<std::uint64_t>(rows);
    if (h.biSizeImage == 0) h.biSizeImage = static_cast<std::uint32_t>(rowBytes);
    if (h.biClrUsed == 0) h.biClrUsed = static_cast<std::uint32_t>(DibColorCount(h));
    // Plain rows always get room for every row, whatever the header claims.
    bool plain = h.biCompression == kBiRgb || h.biCompression == kBiBitfields;
    if (plain && h.biSizeImage < rowBytes) h.biSizeImage = static_cast<std::uint32_t>(rowBytes);

    int count = DibColorCount(h);
    std::size_t table = static_cast<std::size_t>(count) * 4;
    if (h.biCompression == kBiBitfields) table += 12;
    h.biSize = 40;
    h.biHeight = rows;
    // A header may promise more than the file could fill; refuse before allocating.
    std::uint64_t available = file.remaining();
    if (h.biSizeImage > (std::uint64_t{1} << 20) && h.biSizeImage / 16 > available) return {};
    FrameImage image = FrameImage::allocate(40 + table + h.biSizeImage);
    if (!image) return {};
    image.setHeader(h);
    if (count > 0)
        readColourTable(file, image, count, core);
    else if (h.biCompression == kBiBitfields)
        file.read(image.data() + 40, 12);
    if (pixelOffset != 0 && !file.seek(start + static_cast<long>(pixelOffset))) return image;
    file.read(image.data() + 40 + table, h.biSizeImage);
    if (topDown) reorderTopDown(image, stride, rows);
    return image;
}

bool WriteBmpFile(const FrameImage& image, const std::string& path) {
    if (image.size() < sizeof(BitmapInfoHeader)) return false;
    BitmapInfoHeader h = image.header();
    std::uint8_t fileHeader[14] = {'B', 'M'};
    put32(fileHeader + 2, static_cast<std::uint32_t>(14 + image.size()));
    put32(fileHeader + 10, static_cast<std::uint32_t>(14 + h.biSize + DibPaletteSize(h)));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(fileHeader, 1, 14, f) == 14 &&
              std::fwrite(image.data(), 1, image.size(), f) == image.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace quillfen
