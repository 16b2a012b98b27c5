#include "timeline/video_thinning.h"

#include <cmath>
#include <numeric>

namespace quillfen {

namespace {

bool slowerMovie(double movieRate, double clipRate) {
    return std::fabs(movieRate - clipRate) >= 0.1 && movieRate < clipRate;
}

}  // namespace

ThinningPattern ThinningPattern::forRates(double movieRate, double clipRate) {
    ThinningPattern pattern;
    if (!slowerMovie(movieRate, clipRate)) return pattern;
    const auto movieWhole = static_cast<std::int32_t>(movieRate);
    const auto clipWhole = static_cast<std::int32_t>(clipRate);
    const std::int32_t divisor = std::gcd(movieWhole, clipWhole);
    // A movie slower than one frame per second has no whole part to build a cycle from.
    if (movieWhole <= 0 || divisor <= 0) return pattern;
    pattern.keepCycle_ = clipWhole / divisor;
    pattern.keepCount_ = movieWhole / divisor;
    return pattern;
}

std::int32_t ThinningPattern::frameCount(std::int32_t clipFrames, double movieRate,
                                         double clipRate) {
    if (!slowerMovie(movieRate, clipRate)) return clipFrames;
    return static_cast<std::int32_t>(clipFrames * movieRate / clipRate);
}

bool ThinningPattern::pass() {
    if (!thins()) return true;
    ++cyclePosition_;
    const bool passes = cyclePosition_ <= keepCount_;
    if (cyclePosition_ >= keepCycle_) cyclePosition_ = 0;
    return passes;
}

}  // namespace quillfen
