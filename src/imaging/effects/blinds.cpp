// Blinds: horizontal slats, each opening from its top edge down.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderBlinds(const EffectJob& job, int rowBegin, int rowEnd) {
    const int slat = cellSize(job.height, 10);
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const float value = (static_cast<float>(top % slat) + 0.5f) / static_cast<float>(slat);
        for (int x = 0; x < job.width; ++x)
            v[x] = value;
        return true;
    });
}

}  // namespace quillfen::effects
