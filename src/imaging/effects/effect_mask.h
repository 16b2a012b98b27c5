#pragma once
// Shared machinery for the effects that are a threshold over a per-pixel value map: every pixel
// gets a value v in [0, 1] saying when it turns from the first input to the second. The wipe
// edge then sits where v equals the progress, softened over `softness` of the value range.
// Because a pixel's weight never falls as progress rises, the changed area only grows.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/effects/effect_kernel.h"

namespace quillfen::effects {

/// Mixes a row by per-pixel weights. The soft edge is narrow, so runs of pixels that are wholly
/// one input are copied rather than blended.
inline void blendRow(const std::uint32_t* a, const std::uint32_t* b, const std::uint32_t* weights,
                     std::uint32_t* out, int width) {
    constexpr int kRun = 16;
    int x = 0;
    for (; x + kRun <= width; x += kRun) {
        std::uint32_t any = 0, all = kWeightOne;
        for (int i = x; i < x + kRun; ++i)
            any |= weights[i], all &= weights[i];
        if (any == 0) {
            std::copy(a + x, a + x + kRun, out + x);
        } else if (all == kWeightOne) {
            std::copy(b + x, b + x + kRun, out + x);
        } else {
            for (int i = x; i < x + kRun; ++i)
                out[i] = blendPixel(a[i], b[i], weights[i]);
        }
    }
    for (; x < width; ++x)
        out[x] = blendPixel(a[x], b[x], weights[x]);
}

/// Renders rows [rowBegin, rowEnd) of a value-map effect. `fillRow(topRow, values)` writes the
/// job.width values of the picture row `topRow` (0 = top) and returns true, or returns false to
/// keep the previous row's values (within one call), so rows that repeat cost nothing. With
/// softness 0 the edge is hard and values must lie in [0, 1); otherwise in [0, 1]. Exact at
/// progress 0 and 1 either way.
template <class FillRow>
void renderByValue(const EffectJob& job, int rowBegin, int rowEnd, float softness,
                   FillRow&& fillRow) {
    std::vector<float> values(static_cast<std::size_t>(job.width));
    std::vector<std::uint32_t> weights(softness > 0.0f ? values.size() : 0);
    const float p = job.progress;
    // The edge runs from v = -softness to v = 1 so both ends are fully one input.
    const float scale = softness > 0.0f ? 1.0f / softness : 0.0f;
    const float lead = p * (1.0f + softness) * scale;
    const float* v = values.data();
    const int width = job.width;  // a local bound lets the pixel loops vectorise
    for (int y = rowBegin; y < rowEnd; ++y) {
        const bool changed = fillRow(job.topRow(y), values.data());
        const std::uint32_t* a = job.fromRow(y);
        const std::uint32_t* b = job.toRow(y);
        std::uint32_t* out = job.outRow(y);
        if (softness > 0.0f) {
            if (changed || y == rowBegin) {
                for (int x = 0; x < width; ++x)
                    weights[x] = weightOf(lead - v[x] * scale);
            }
            blendRow(a, b, weights.data(), out, width);
        } else {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t first = a[x], second = b[x];
                out[x] = v[x] < p ? second : first;
            }
        }
    }
}

/// Edge softness as a share of the value range for a soft edge `pixels` wide across `span`.
inline float softnessFor(float pixels, int span) {
    return span > 0 ? pixels / static_cast<float>(span) : 0.0f;
}

/// Fraction of a full turn, clockwise from 12 o'clock, of the direction (dx, dyUp), in [0, 1).
inline float clockTurn(float dx, float dyUp) {
    constexpr float kPi = 3.14159265f;
    const float ax = std::fabs(dx), ay = std::fabs(dyUp);
    const float lo = ax < ay ? ax : ay, hi = ax < ay ? ay : ax;
    const float z = lo / (hi > 1e-20f ? hi : 1e-20f);
    // A two-term arctangent: monotonic, exact at 0 and 45 degrees, within 0.25 degrees
    // elsewhere, which no edge shows.
    float a = z * (kPi / 4 + 0.273f * (1.0f - z));
    // Written as selects so that rows of angles vectorise.
    a = ax > ay ? kPi / 2 - a : a;  // angle from "up" towards the side
    a = dyUp < 0.0f ? kPi - a : a;
    a = dx < 0.0f ? 2 * kPi - a : a;
    const float turn = a * (1.0f / (2 * kPi));
    return turn < 1.0f ? turn : 0.0f;
}

/// A well-mixed 32-bit hash; the fixed seeds of the random effects make every build alike.
inline std::uint32_t mixBits(std::uint32_t v) {
    v ^= v >> 16;
    v *= 0x7FEB352Du;
    v ^= v >> 15;
    v *= 0x846CA68Bu;
    v ^= v >> 16;
    return v;
}

/// A value in [0, 1) from a hash.
inline float unitOf(std::uint32_t hash) {
    return static_cast<float>(hash >> 8) * (1.0f / 16777216.0f);
}

/// A cell size that divides the picture into about `cells` pieces along `span`, at least 1.
inline int cellSize(int span, int cells) {
    int size = (span + cells - 1) / cells;
    return size > 0 ? size : 1;
}

}  // namespace quillfen::effects
