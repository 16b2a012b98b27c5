// Slide: the second picture slides in from the left over the first, which stays still.
#include <algorithm>

#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderSlide(const EffectJob& job, int rowBegin, int rowEnd) {
    const int w = job.width;
    const int edge = job.progressColumns();
    for (int y = rowBegin; y < rowEnd; ++y) {
        std::uint32_t* out = job.outRow(y);
        std::copy(job.toRow(y) + (w - edge), job.toRow(y) + w, out);
        std::copy(job.fromRow(y) + edge, job.fromRow(y) + w, out + edge);
    }
}

}  // namespace quillfen::effects
