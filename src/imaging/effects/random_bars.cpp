// Random Bars: whole rows turn over in a fixed, seeded random order.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderRandomBars(const EffectJob& job, int rowBegin, int rowEnd) {
    constexpr std::uint32_t kSeed = 0xBA25EEDu;
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const float value = unitOf(mixBits(kSeed ^ static_cast<std::uint32_t>(top)));
        for (int x = 0; x < job.width; ++x)
            v[x] = value;
        return true;
    });
}

}  // namespace quillfen::effects
