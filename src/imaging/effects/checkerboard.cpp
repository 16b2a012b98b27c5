// Checkerboard: the squares of one colour of a board wipe in from their left edges, then those
// of the other colour.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderCheckerboard(const EffectJob& job, int rowBegin, int rowEnd) {
    const int square = cellSize(job.width, 12);
    const float scale = 1.0f / static_cast<float>(2 * square);
    int filledParity = -1;  // rows of squares of one parity are alike
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const int rowParity = (top / square) & 1;
        if (rowParity == filledParity) return false;
        filledParity = rowParity;
        for (int x = 0; x < job.width; ++x) {
            const int secondHalf = ((x / square) & 1) ^ rowParity;
            v[x] = (static_cast<float>(secondHalf * square + x % square) + 0.5f) * scale;
        }
        return true;
    });
}

}  // namespace quillfen::effects
