#include "imaging/dib_ops.h"

#include <algorithm>
#include <cstring>

namespace quillfen {
namespace {

std::size_t tableBytesFor(int bits) {
    return bits <= 15 ? (std::size_t{1} << bits) * 4 : 0;
}

// A new image with the header fields 40, w, h, 1, bits, 0, h x stride and zeros after.
FrameImage makeLike(int width, int height, int bits, bool sizeImage) {
    std::size_t stride = DibRowStride(width, bits);
    if (stride == 0 || height <= 0) return {};
    std::size_t rows = stride * static_cast<std::size_t>(height);
    FrameImage out = FrameImage::allocate(40 + tableBytesFor(bits) + rows);
    if (!out) return {};
    BitmapInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<std::uint16_t>(bits);
    h.biSizeImage = sizeImage ? static_cast<std::uint32_t>(rows) : 0;
    out.setHeader(h);
    return out;
}

// The refusals shared by flip and mirror.
bool flippable(const FrameImage& image) {
    if (!image.rowsFit()) return false;
    BitmapInfoHeader h = image.header();
    int bits = h.biBitCount;
    bool whole = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return whole && h.biCompression == kBiRgb;
}

// Copies the colour table of `from` into `to` (both images of the same depth).
void copyTable(const FrameImage& from, FrameImage& to) {
    std::size_t bytes = std::min(tableBytesFor(from.bitCount()), DibPaletteSize(from.header()));
    std::memcpy(to.colourTable(), from.colourTable(), bytes);
}

void reversePixels(const std::uint8_t* src, std::uint8_t* dst, int width, int bytesPerPixel) {
    for (int j = 0; j < width; ++j)
        std::memcpy(dst + static_cast<std::size_t>(width - 1 - j) * bytesPerPixel,
                    src + static_cast<std::size_t>(j) * bytesPerPixel, bytesPerPixel);
}

}  // namespace

FrameImage DibCreateBlank(int width, int height, int bits, ColourValue colour) {
    FrameImage out = makeLike(width, height, bits, false);
    if (!out || colour == kNoColour) return out;
    std::uint8_t r = redOf(colour), g = greenOf(colour), b = blueOf(colour);
    std::uint16_t word = static_cast<std::uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = out.row(y);
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                row[3 * x] = b, row[3 * x + 1] = g, row[3 * x + 2] = r;
            } else if (bits == 32) {
                row[4 * x] = b, row[4 * x + 1] = g, row[4 * x + 2] = r;
            } else if (bits == 16) {
                row[2 * x] = static_cast<std::uint8_t>(word & 0xFF);
                row[2 * x + 1] = static_cast<std::uint8_t>(word >> 8);
            } else {
                return out;  // indexed depths are not filled
            }
        }
    }
    return out;
}

FrameImage DibFlipVertical(const FrameImage& image) {
    if (!flippable(image)) return {};
    int w = image.width(), h = image.height(), bits = image.bitCount();
    FrameImage out = makeLike(w, h, bits, true);
    if (!out) return {};
    copyTable(image, out);
    std::size_t stride = image.stride();
    for (int y = 0; y < h; ++y)
        std::memcpy(out.row(h - 1 - y), image.row(y), stride);
    return out;
}

FrameImage DibMirror(const FrameImage& image) {
    if (!flippable(image)) return {};
    int w = image.width(), h = image.height(), bits = image.bitCount();
    FrameImage out = makeLike(w, h, bits, true);
    if (!out) return {};
    copyTable(image, out);
    for (int y = 0; y < h; ++y)
        reversePixels(image.row(y), out.row(y), w, bits / 8);
    return out;
}

FrameImage Dib32To24(const FrameImage& image) {
    if (!image.rowsFit()) return {};
    BitmapInfoHeader h = image.header();
    if (h.biCompression != kBiRgb || h.biBitCount != 32) return {};
    FrameImage out = makeLike(h.biWidth, h.biHeight, 24, true);
    if (!out) return {};
    for (int y = 0; y < h.biHeight; ++y) {
        const std::uint8_t* src = image.row(y);
        std::uint8_t* dst = out.row(y);
        for (int x = 0; x < h.biWidth; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return out;
}

}  // namespace quillfen
