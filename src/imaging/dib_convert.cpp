#include "imaging/dib_convert.h"

#include <array>
#include <cstring>
#include <optional>

#include "imaging/bit_fields.h"

namespace quillfen {
namespace {

using Palette = std::array<std::uint32_t, 256>;  // blue | green << 8 | red << 16, 4th byte 0

Palette readPalette(const FrameImage& image) {
    Palette palette{};
    BitmapInfoHeader h = image.header();
    int count = DibColorCount(h);
    const std::uint8_t* table = image.colourTable();
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* e = table + 4 * i;
        palette[static_cast<std::size_t>(i)] = e[0] | (e[1] << 8) | (e[2] << 16);
    }
    return palette;
}

std::uint32_t pixel555(std::uint16_t v) {
    std::uint32_t r = ((v >> 10) & 31) << 3, g = ((v >> 5) & 31) << 3, b = (v & 31) << 3;
    return b | (g << 8) | (r << 16);
}

void convertRow(const std::uint8_t* src, std::uint32_t* dst, int width, int bits,
                const Palette& palette) {
    switch (bits) {
        case 1:
            for (int x = 0; x < width; ++x)
                dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < width; ++x)
                dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
            break;
        case 8:
            for (int x = 0; x < width; ++x)
                dst[x] = palette[src[x]];
            break;
        case 16:
            for (int x = 0; x < width; ++x)
                dst[x] = pixel555(static_cast<std::uint16_t>(src[2 * x] | (src[2 * x + 1] << 8)));
            break;
        case 24:
            for (int x = 0; x < width; ++x)
                dst[x] = src[3 * x] | (src[3 * x + 1] << 8) | (src[3 * x + 2] << 16);
            break;
        default:
            break;
    }
}

// Pixels placed by channel masks, unpacked to plain blue-green-red-0.
FrameImage fromBitFields(const FrameImage& image) {
    std::optional<BitFields> fields = BitFields::of(image);
    if (!fields) return {};
    int width = image.width(), height = image.height(), bits = image.bitCount();
    FrameImage out = FrameImage::create(width, height, 32);
    if (!out) return {};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = image.row(y);
        auto* dst = reinterpret_cast<std::uint32_t*>(out.row(y));
        for (int x = 0; x < width; ++x)
            dst[x] = fields->bgr(src, x, bits);
    }
    return out;
}

}  // namespace

FrameImage DibTo32(const FrameImage& image) {
    if (!image.rowsFit()) return {};
    BitmapInfoHeader h = image.header();
    int bits = h.biBitCount;
    if (h.biCompression == kBiBitfields) return fromBitFields(image);
    if (h.biCompression != kBiRgb) return {};
    if (bits == 32) return DibCopy(image);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24) return {};
    FrameImage out = FrameImage::create(h.biWidth, h.biHeight, 32);
    if (!out) return {};
    // Colour entries past DibColorCount stay black, so any index is safe.
    Palette palette = readPalette(image);
    for (int y = 0; y < h.biHeight; ++y) {
        std::uint32_t* dst = reinterpret_cast<std::uint32_t*>(out.row(y));
        convertRow(image.row(y), dst, h.biWidth, bits, palette);
    }
    return out;
}

}  // namespace quillfen
