// Fade: a straight cross-dissolve, one weight for the whole frame. Working on bytes in 16-bit
// lanes keeps it to about one pass over the pixels; each channel stays within one level of the
// exact mix.
#include "imaging/cpu_features.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {
namespace {

[[gnu::always_inline]] inline void fadeRows(const EffectJob& job, int rowBegin, int rowEnd) {
    const std::uint16_t weight = static_cast<std::uint16_t>(weightOf(job.progress));
    const std::uint16_t keep = static_cast<std::uint16_t>(kWeightOne - weight);
    const int bytes = 4 * job.width;
    for (int y = rowBegin; y < rowEnd; ++y) {
        const auto* a = reinterpret_cast<const std::uint8_t*>(job.fromRow(y));
        const auto* b = reinterpret_cast<const std::uint8_t*>(job.toRow(y));
        auto* out = reinterpret_cast<std::uint8_t*>(job.outRow(y));
        for (int i = 0; i < bytes; ++i)
            out[i] = static_cast<std::uint8_t>(
                static_cast<std::uint16_t>(a[i] * keep + b[i] * weight + 128) >> 8);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same loop as the compiler builds it for AVX2: twice the lanes, the same integers.
[[gnu::target("avx2")]] void fadeRowsAvx2(const EffectJob& job, int rowBegin, int rowEnd) {
    fadeRows(job, rowBegin, rowEnd);
}
#endif

}  // namespace

void renderFade(const EffectJob& job, int rowBegin, int rowEnd) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (cpuHasAvx2()) return fadeRowsAvx2(job, rowBegin, rowEnd);
#endif
    fadeRows(job, rowBegin, rowEnd);
}

}  // namespace quillfen::effects
