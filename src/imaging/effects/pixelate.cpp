// Pixelate: the first picture breaks into ever coarser blocks, the blocks cross-fade, and the
// second picture comes back into focus.
#include <algorithm>
#include <cmath>

#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderPixelate(const EffectJob& job, int rowBegin, int rowEnd) {
    const float p = std::clamp(job.progress, 0.0f, 1.0f);
    const int largest = std::max(1, std::min(job.width, job.height) / 20);
    // Block size 1 at both ends, largest in the middle.
    const int block =
        1 + static_cast<int>((1.0f - std::fabs(2.0f * p - 1.0f)) * static_cast<float>(largest - 1) +
                             0.5f);
    const std::uint32_t weight = weightOf(p);
    for (int y = rowBegin; y < rowEnd; ++y) {
        // Blocks are laid from the top-left corner; each shows the pixel at its centre.
        const int top = job.topRow(y);
        const int sampleRow = job.topRow(std::min(top / block * block + block / 2, job.height - 1));
        const std::uint32_t* a = job.fromRow(sampleRow);
        const std::uint32_t* b = job.toRow(sampleRow);
        std::uint32_t* out = job.outRow(y);
        for (int x0 = 0; x0 < job.width; x0 += block) {
            const int sx = std::min(x0 + block / 2, job.width - 1);
            std::fill(out + x0, out + std::min(x0 + block, job.width),
                      blendPixel(a[sx], b[sx], weight));
        }
    }
}

}  // namespace quillfen::effects
