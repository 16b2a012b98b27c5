// Strips: a diagonal wipe from the top-left corner whose edge is a staircase of strips.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderStrips(const EffectJob& job, int rowBegin, int rowEnd) {
    const int strip = cellSize(job.height, 16);
    const float scale = 1.0f / static_cast<float>(job.width + job.height);
    int filledStrip = -1;
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const int stepped = top / strip * strip;  // each strip shares the edge of its top row
        if (stepped == filledStrip) return false;
        filledStrip = stepped;
        for (int x = 0; x < job.width; ++x)
            v[x] = (static_cast<float>(x + stepped) + 0.5f) * scale;
        return true;
    });
}

}  // namespace quillfen::effects
