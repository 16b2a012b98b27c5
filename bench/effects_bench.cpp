// One step of every built-in effect at 1920 x 1080, and the engine around Fade.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/effects/effect_registry.h"
#include "imaging/effects/transition_engine.h"

namespace quillfen {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::vector<std::uint32_t> pattern(std::uint32_t seed) {
    std::vector<std::uint32_t> plane(static_cast<std::size_t>(kWidth) * kHeight);
    for (std::size_t i = 0; i < plane.size(); ++i)
        plane[i] = static_cast<std::uint32_t>(i * 2654435761u + seed) & 0x00FFFFFFu;
    return plane;
}

void effectStep(benchmark::State& state, EffectRender render) {
    const std::vector<std::uint32_t> from = pattern(1), to = pattern(2);
    std::vector<std::uint32_t> out(from.size());
    EffectJob job{from.data(), to.data(), out.data(), kWidth, kHeight, 0.0f, 0};
    int step = 0;
    for (auto _ : state) {
        job.progress = static_cast<float>(step++ % 25) / 24.0f;  // one second of steps
        render(job, 0, kHeight);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

FrameImage picture(std::uint8_t level) {
    FrameImage image = FrameImage::create(kWidth, kHeight, 24);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < 3 * kWidth; ++x)
            image.row(y)[x] = static_cast<std::uint8_t>(x + level);
    return image;
}

// A still neighbour: inputs set once, one Apply per step.
void engineFadeStill(benchmark::State& state) {
    CTransitionEngine engine;
    engine.setPlacement({0, 0, kWidth, kHeight});
    engine.SetInput(EngineInput::First, picture(0));
    engine.SetInput(EngineInput::Second, picture(100));
    for (auto _ : state) {
        engine.ReleaseTransforms();
        benchmark::DoNotOptimize(engine.Apply(kFadeClassId, 0.5f));
    }
}
BENCHMARK(engineFadeStill)->Unit(benchmark::kMillisecond);

// A moving neighbour: both inputs replaced every step.
void engineFadeMoving(benchmark::State& state) {
    CTransitionEngine engine;
    engine.setPlacement({0, 0, kWidth, kHeight});
    const FrameImage first = picture(0), second = picture(100);
    for (auto _ : state) {
        engine.SetInput(EngineInput::First, first);
        engine.SetInput(EngineInput::Second, second);
        engine.ReleaseTransforms();
        benchmark::DoNotOptimize(engine.Apply(kFadeClassId, 0.5f));
    }
}
BENCHMARK(engineFadeMoving)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    for (const EffectEntry& e : builtinEffects())
        benchmark::RegisterBenchmark(("effectStep/" + std::string(e.registryName)).c_str(),
                                     effectStep, e.render)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
}  // namespace quillfen
