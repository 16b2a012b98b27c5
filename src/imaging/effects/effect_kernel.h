#pragma once
// The contract every transition effect follows: a pure function of two equally sized 32-bit
// planes and a progress value that writes a range of rows of a third plane. Rendering by row
// ranges lets a caller split one step over several threads.

#include <cstdint>

namespace quillfen {

/// One effect step. Planes hold width x height pixels of blue | green << 8 | red << 16 (fourth
/// byte 0), rows bottom-up without padding: memory row 0 is the picture's bottom row.
struct EffectJob {
    const std::uint32_t* from = nullptr;  ///< shown at progress 0
    const std::uint32_t* to = nullptr;    ///< shown at progress 1
    std::uint32_t* out = nullptr;
    int width = 0;
    int height = 0;
    float progress = 0.0f;         ///< 0 ... 1
    std::uint32_t background = 0;  ///< pixel value for areas showing neither input
    int outStride = 0;             ///< pixels from one out row to the next; 0 means width

    const std::uint32_t* fromRow(int y) const { return from + offset(y); }
    const std::uint32_t* toRow(int y) const { return to + offset(y); }
    std::uint32_t* outRow(int y) const {
        return out + static_cast<long>(y) * (outStride > 0 ? outStride : width);
    }
    /// The picture row (0 = top) of memory row `y`.
    int topRow(int y) const { return height - 1 - y; }

  private:
    long offset(int y) const { return static_cast<long>(y) * width; }
};

/// Writes memory rows [rowBegin, rowEnd) of job.out. Every effect gives exactly job.from at
/// progress 0 and exactly job.to at progress 1.
using EffectRender = void (*)(const EffectJob& job, int rowBegin, int rowEnd);

/// Full weight of the second pixel in blendPixel.
inline constexpr std::uint32_t kWeightOne = 65536;

/// Per-channel mix of a and b; weight 0 gives a, kWeightOne gives b, both exactly.
inline std::uint32_t blendPixel(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    std::uint32_t keep = kWeightOne - weight;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * keep + cb * weight + 0x8000) >> 16) << shift;
    }
    return out;
}

/// The fixed-point weight of a progress-like value, clamped to 0 ... kWeightOne.
inline std::uint32_t weightOf(float t) {
    if (!(t > 0.0f)) return 0;
    if (t >= 1.0f) return kWeightOne;
    return static_cast<std::uint32_t>(t * static_cast<float>(kWeightOne) + 0.5f);
}

}  // namespace quillfen
