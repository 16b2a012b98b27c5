// Random Dissolve: pixels turn over one by one in an order fixed by a seeded hash, so every
// build of a movie gives the same frames.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderRandomDissolve(const EffectJob& job, int rowBegin, int rowEnd) {
    constexpr std::uint32_t kSeed = 0x5EED0D15u;
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const std::uint32_t rowKey = mixBits(kSeed ^ static_cast<std::uint32_t>(top));
        for (int x = 0; x < job.width; ++x)
            v[x] = unitOf(mixBits(rowKey + static_cast<std::uint32_t>(x)));
        return true;
    });
}

}  // namespace quillfen::effects
