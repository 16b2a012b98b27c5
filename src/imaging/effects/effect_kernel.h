#pragma once
// The contract every transition effect follows: a pure function of two equally sized 32-bit
// planes and a progress value that writes a range of rows of a third plane. Rendering by row
// ranges lets a caller split one step over several threads.

#include <algorithm>
#include <cstdint>

namespace quillfen {

/// One effect step. Planes hold width x height pixels of blue | green << 8 | red << 16 (fourth
/// byte 0), rows bottom-up: memory row 0 is the picture's bottom row.
struct EffectJob {
    const std::uint32_t* from = nullptr;  ///< shown at progress 0
    const std::uint32_t* to = nullptr;    ///< shown at progress 1
    std::uint32_t* out = nullptr;
    int width = 0;
    int height = 0;
    float progress = 0.0f;         ///< 0 ... 1
    std::uint32_t background = 0;  ///< pixel value for areas showing neither input
    int inStride = 0;              ///< pixels from one from/to row to the next; 0 means width
    int outStride = 0;             ///< pixels from one out row to the next; 0 means width

    const std::uint32_t* fromRow(int y) const { return from + offset(y, inStride); }
    const std::uint32_t* toRow(int y) const { return to + offset(y, inStride); }
    std::uint32_t* outRow(int y) const { return out + offset(y, outStride); }
    /// The picture row (0 = top) of memory row `y`.
    int topRow(int y) const { return height - 1 - y; }
    /// The columns the second picture has taken at this progress, rounded: 0 ... width.
    int progressColumns() const {
        return std::clamp(static_cast<int>(progress * static_cast<float>(width) + 0.5f), 0, width);
    }

  private:
    long offset(int y, int stride) const {
        return static_cast<long>(y) * (stride > 0 ? stride : width);
    }
};

/// Writes memory rows [rowBegin, rowEnd) of job.out. Every effect gives exactly job.from at
/// progress 0 and exactly job.to at progress 1.
using EffectRender = void (*)(const EffectJob& job, int rowBegin, int rowEnd);

/// Full weight of the second pixel in blendPixel.
inline constexpr std::uint32_t kWeightOne = 256;

/// Per-channel mix of a and b; weight 0 gives a, kWeightOne gives b, both exactly. Red and blue
/// share one multiplication: each has 16 bits of room, enough for 255 x 256 plus rounding.
inline std::uint32_t blendPixel(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    const std::uint32_t keep = kWeightOne - weight;
    const std::uint32_t rb =
        (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight + 0x800080u) >> 8) & 0xFF00FFu;
    const std::uint32_t g =
        (((a & 0xFF00u) * keep + (b & 0xFF00u) * weight + 0x8000u) >> 8) & 0xFF00u;
    return rb | g;
}

/// The weight of a progress-like value, clamped to 0 ... kWeightOne.
inline std::uint32_t weightOf(float t) {
    // Selects and a signed conversion keep rows of weights vectorisable.
    t = t > 0.0f ? t : 0.0f;
    t = t < 1.0f ? t : 1.0f;
    return static_cast<std::uint32_t>(static_cast<int>(t * static_cast<float>(kWeightOne) + 0.5f));
}

}  // namespace quillfen
