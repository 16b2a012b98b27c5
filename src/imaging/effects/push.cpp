// Push: the second picture enters from the left and pushes the first out to the right.
#include <algorithm>

#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderPush(const EffectJob& job, int rowBegin, int rowEnd) {
    const int w = job.width;
    const int edge = job.progressColumns();
    for (int y = rowBegin; y < rowEnd; ++y) {
        std::uint32_t* out = job.outRow(y);
        std::copy(job.toRow(y) + (w - edge), job.toRow(y) + w, out);
        std::copy(job.fromRow(y), job.fromRow(y) + (w - edge), out + edge);
    }
}

}  // namespace quillfen::effects
