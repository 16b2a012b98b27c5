// Iris: a circle of the second picture grows from the centre until it covers the corners.
#include <cmath>

#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderIris(const EffectJob& job, int rowBegin, int rowEnd) {
    const float cx = static_cast<float>(job.width) / 2.0f;
    const float cy = static_cast<float>(job.height) / 2.0f;
    const float reach = std::sqrt(cx * cx + cy * cy);
    const float step = 1.0f / reach;
    renderByValue(job, rowBegin, rowEnd, softnessFor(12.0f, static_cast<int>(reach)),
                  [&](int top, float* v) {
                      const float dy = static_cast<float>(top) + 0.5f - cy;
                      for (int x = 0; x < job.width; ++x) {
                          const float dx = static_cast<float>(x) + 0.5f - cx;
                          v[x] = std::sqrt(dx * dx + dy * dy) * step;
                      }
                      return true;
                  });
}

}  // namespace quillfen::effects
