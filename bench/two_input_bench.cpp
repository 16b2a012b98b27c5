// Frames of the two-input Elements at 1920 x 1080: a Transition step and a PIP frame, next to
// still neighbours (pictures taken once) and next to moving ones (a fitted picture per frame).
#include <benchmark/benchmark.h>

#include <climits>
#include <cstdint>

#include "imaging/effects/effect_registry.h"
#include "timeline/pip_element.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

FrameImage picture(int width, int height, std::uint8_t level) {
    FrameImage image = FrameImage::create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 3 * width; ++x)
            image.row(y)[x] = static_cast<std::uint8_t>(x + y + level);
    return image;
}

// Hands out copies of one picture for as long as asked.
class Neighbour : public SourceElement {
  public:
    Neighbour(const MovieSettings& settings, ElementKind k, FrameImage shown)
        : SourceElement(0, settings), shown_(std::move(shown)) {
        kind = k;
        nbFrames_ = INT_MAX;
    }
    FrameImage nextFrame() override {
        --nbFrames_;
        return DibCopy(shown_);
    }

  private:
    FrameImage shown_;
};

MovieSettings fullHd() {
    MovieSettings settings;
    settings.resizeWidth = kWidth;
    settings.resizeHeight = kHeight;
    settings.stereo = 0;
    return settings;
}

template <class Element>
void run(benchmark::State& state, Element& element, Neighbour& before, Neighbour& after) {
    element.prev = &before;
    element.next = &after;
    element.setFrameCount(INT_MAX);
    for (auto _ : state) {
        FrameImage frame = element.nextFrame();
        benchmark::DoNotOptimize(frame.pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void transitionStep(benchmark::State& state, const char* effect, ElementKind kind) {
    MovieSettings settings = fullHd();
    Neighbour before(settings, kind, picture(kWidth, kHeight, 0));
    Neighbour after(settings, kind, picture(kWidth, kHeight, 90));
    std::string parameters = std::string(effect) + "|100000";
    TransitionElement transition(0, settings, parameters, builtinEffectCatalogue());
    run(state, transition, before, after);
}

void pipFrame(benchmark::State& state, ElementKind kind) {
    MovieSettings settings = fullHd();
    Neighbour base(settings, kind, picture(kWidth, kHeight, 0));
    Neighbour inset(settings, kind, picture(kWidth, kHeight, 90));
    PipElement pip(0, settings, "10%,10%,30%");
    run(state, pip, base, inset);
}

BENCHMARK_CAPTURE(transitionStep, fade_still, "Fade", ElementKind::Source)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(transitionStep, wipe_still, "Wipe", ElementKind::Source)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(transitionStep, fade_moving, "Fade", ElementKind::Sequence)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pipFrame, still, ElementKind::Source)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pipFrame, moving, ElementKind::Sequence)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillfen
