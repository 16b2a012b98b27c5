#pragma once
// Which clip frames a movie keeps when its frame rate is below the clip's: of every
// `keepCycle` clip frames the first `keepCount` pass.

#include <cstdint>

namespace quillfen {

class ThinningPattern {
  public:
    /// Every frame passes.
    ThinningPattern() = default;

    /// The pattern for a clip at `clipRate` in a movie at `movieRate` (frames per second).
    /// Thinning applies only when the movie is slower by at least 0.1 frame per second; the
    /// cycle then comes from the whole parts of both rates divided by their common divisor.
    static ThinningPattern forRates(double movieRate, double clipRate);

    /// The movie frames a clip of `clipFrames` gives: trunc(clipFrames x movie / clip rate)
    /// when thinned, else `clipFrames`.
    static std::int32_t frameCount(std::int32_t clipFrames, double movieRate, double clipRate);

    std::int32_t keepCycle() const { return keepCycle_; }
    std::int32_t keepCount() const { return keepCount_; }
    bool thins() const { return keepCycle_ != keepCount_; }

    /// Advances over one clip frame; true when that frame passes.
    bool pass();

  private:
    std::int32_t keepCycle_ = 1;
    std::int32_t keepCount_ = 1;
    std::int32_t cyclePosition_ = 0;
};

}  // namespace quillfen
