// Stretch: the second picture grows from the left edge, squeezed to the width it has reached,
// while the first is squeezed into the rest.
#include <algorithm>

#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {
namespace {

// Nearest-neighbour resampling of `count` source pixels into `span` output pixels.
void squeeze(const std::uint32_t* src, int count, std::uint32_t* out, int span) {
    if (span <= 0) return;
    const std::int64_t step = (static_cast<std::int64_t>(count) << 16) / span;
    std::int64_t pos = step / 2;
    for (int x = 0; x < span; ++x, pos += step)
        out[x] = src[std::min<std::int64_t>(pos >> 16, count - 1)];
}

}  // namespace

void renderStretch(const EffectJob& job, int rowBegin, int rowEnd) {
    const int w = job.width;
    const int edge = job.progressColumns();
    for (int y = rowBegin; y < rowEnd; ++y) {
        std::uint32_t* out = job.outRow(y);
        squeeze(job.toRow(y), w, out, edge);
        squeeze(job.fromRow(y), w, out + edge, w - edge);
    }
}

}  // namespace quillfen::effects
