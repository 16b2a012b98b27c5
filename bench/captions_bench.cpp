// Captions over 1920x1080 frames: the per-frame cost once the captions are rendered, the
// one-off rendering, and the debug caption, which is rendered anew on every frame.

#include <benchmark/benchmark.h>

#include <memory>

#include "timeline/caption_tail.h"
#include "timeline/text_element.h"
#include "timeline/text_overlays.h"

namespace quillfen {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct TwoCaptions {
    TwoCaptions() {
        settings.stereo = 0;
        title = std::make_unique<TextElement>(
            0, settings, "Quillfen captions|10%,5%,80%,15%|Arial,64|33,white", tail);
        subtitle = std::make_unique<TextElement>(
            1, settings,
            "A caption with a shadow and a background box|5%,80%,90%,12%,0,3|"
            "Times New Roman,40|37,yellow,navy,black",
            tail);
    }
    OverlayList overlays() { return {title.get(), subtitle.get()}; }

    MovieSettings settings;
    CaptionTail tail;
    std::unique_ptr<TextElement> title, subtitle;
};

FrameImage greyFrame() {
    FrameImage frame = FrameImage::create(kWidth, kHeight, 32);
    for (int y = 0; y < kHeight; ++y)
        std::fill(frame.row(y), frame.row(y) + kWidth * 4, std::uint8_t{90});
    return frame;
}

void BM_TwoCaptionsPerFrame(benchmark::State& state) {
    TwoCaptions captions;
    OverlayList overlays = captions.overlays();
    FrameImage frame = DrawTextOverlays(greyFrame(), overlays);  // renders both once
    for (auto _ : state) {
        frame = DrawTextOverlays(std::move(frame), overlays);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_TwoCaptionsPerFrame)->Unit(benchmark::kMicrosecond);

void BM_TwoCaptionsFirstFrame(benchmark::State& state) {
    FrameImage frame = greyFrame();
    for (auto _ : state) {
        TwoCaptions captions;
        frame = DrawTextOverlays(std::move(frame), captions.overlays());
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_TwoCaptionsFirstFrame)->Unit(benchmark::kMillisecond);

void BM_DebugCaption24(benchmark::State& state) {
    FrameImage frame = FrameImage::create(kWidth, kHeight, 24);
    DebugCaptionInfo info{0, ElementKind::Source, 3, 50, 50};
    for (auto _ : state) {
        ++info.frameIndex;
        frame = drawDebugCaption(std::move(frame), info);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_DebugCaption24)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillfen
