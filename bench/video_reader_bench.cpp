// Decoding throughput of the video reader: open a clip and take every frame through the
// hand-over, as a Video element does during a build.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "support/clip_maker.h"
#include "timeline/video_reader.h"

namespace {

using quillfen::VideoReader;
using quillfen::testing::ClipCodec;
using quillfen::testing::ClipOptions;

constexpr int kFrames = 100;

std::string benchClip(const char* name, ClipCodec codec) {
    const auto path = std::filesystem::temp_directory_path() / name;
    if (!std::filesystem::exists(path)) {
        ClipOptions options;
        options.codec = codec;
        options.frames = kFrames;
        options.width = 720;
        options.height = 576;
        quillfen::testing::makeClip(path.string(), options);
    }
    return path.string();
}

void readWholeClip(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        VideoReader reader;
        if (reader.open(path) != 0) {
            state.SkipWithError("clip did not open");
            return;
        }
        int frames = 0;
        while (reader.nextFrame())
            ++frames;
        benchmark::DoNotOptimize(frames);
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

void BM_ReadPalH264Mp4(benchmark::State& state) {
    readWholeClip(state, benchClip("quillfen-bench-pal.mp4", ClipCodec::H264));
}
void BM_ReadPalMpeg4Avi(benchmark::State& state) {
    readWholeClip(state, benchClip("quillfen-bench-pal.avi", ClipCodec::Mpeg4));
}
BENCHMARK(BM_ReadPalH264Mp4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadPalMpeg4Avi)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
