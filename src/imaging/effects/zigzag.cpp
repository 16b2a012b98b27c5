// Zigzag: bands from the top down, wiped alternately left to right and right to left, like a
// pen going back and forth.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderZigzag(const EffectJob& job, int rowBegin, int rowEnd) {
    const int bandHeight = cellSize(job.height, 8);
    const int bands = (job.height + bandHeight - 1) / bandHeight;
    const float scale = 1.0f / (static_cast<float>(bands) * static_cast<float>(job.width));
    int filledBand = -1;
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const int band = top / bandHeight;
        if (band == filledBand) return false;
        filledBand = band;
        const bool rightward = (band & 1) == 0;
        const float start = static_cast<float>(band) * static_cast<float>(job.width);
        for (int x = 0; x < job.width; ++x) {
            const int along = rightward ? x : job.width - 1 - x;
            v[x] = (start + static_cast<float>(along) + 0.5f) * scale;
        }
        return true;
    });
}

}  // namespace quillfen::effects
