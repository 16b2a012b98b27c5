// The preview's share of every frame on the window's thread: stretching the written frame into
// the panel's fit rectangle.
#include <benchmark/benchmark.h>

#include "app/preview_panel.h"

namespace quillfen {
namespace {

void BM_PreviewStretch(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    FrameImage frame = FrameImage::create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            frame.row(y)[x] = static_cast<std::uint8_t>(x ^ y);
    const QSize panel = PreviewPanel::kPanelSize;
    const FitRect fit = fitRectangle(width, height, panel.width(), panel.height());
    for (auto _ : state) {
        QImage shown = stretchNearest(frame, QSize(fit.width, fit.height));
        benchmark::DoNotOptimize(shown.constBits());
    }
}
BENCHMARK(BM_PreviewStretch)->Args({720, 576})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillfen
