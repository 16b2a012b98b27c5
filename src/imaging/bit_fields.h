#pragma once
// Reading 16 and 32-bit pixels whose channels are placed by bit masks (a BMP's bit-field
// compression), so that such pictures can be fitted and converted like plain ones.

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "imaging/frame_image.h"

namespace quillfen {

/// One channel of a bit-field pixel: where it sits and how many bits it has.
struct ChannelMask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static ChannelMask of(std::uint32_t mask) {
        if (mask == 0) return {};
        int shift = std::countr_zero(mask);
        return {mask, shift, static_cast<int>(std::bit_width(mask >> shift))};
    }
    /// The channel as 8 bits: wider channels keep their top 8 bits, narrower ones are moved
    /// up (5 bits give multiples of 8, as plain 5-5-5 pixels do).
    std::uint8_t extract(std::uint32_t pixel) const {
        if (bits == 0) return 0;
        std::uint32_t v = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>(bits >= 8 ? v >> (bits - 8) : v << (8 - bits));
    }
};

/// The red, green and blue masks that follow the header of a bit-field image.
struct BitFields {
    ChannelMask red, green, blue;

    /// The masks of a 16 or 32-bit bit-field image; none for any other image.
    static std::optional<BitFields> of(const FrameImage& image) {
        BitmapInfoHeader h = image.header();
        if (h.biCompression != kBiBitfields || (h.biBitCount != 16 && h.biBitCount != 32) ||
            image.size() < h.biSize + 12) {
            return std::nullopt;
        }
        std::uint32_t masks[3];
        std::memcpy(masks, image.data() + h.biSize, sizeof masks);
        return BitFields{ChannelMask::of(masks[0]), ChannelMask::of(masks[1]),
                         ChannelMask::of(masks[2])};
    }
    /// Pixel `x` of a row of `bits` (16 or 32) as blue | green << 8 | red << 16.
    std::uint32_t bgr(const std::uint8_t* row, int x, int bits) const {
        std::uint32_t v = 0;
        if (bits == 16)
            v = row[2 * x] | (row[2 * x + 1] << 8);
        else
            std::memcpy(&v, row + 4 * static_cast<std::size_t>(x), 4);
        return blue.extract(v) | (green.extract(v) << 8) | (red.extract(v) << 16);
    }
};

}  // namespace quillfen
