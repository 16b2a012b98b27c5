// The movie writer on a slideshow's typical input: a still shown for 75 frames (3 s at
// 25 fps), 1920 x 1080. Arguments: codec (0 raw, 1 mjpeg), reuse of identical samples,
// encoding beside the caller. Reports frames written per second.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "media/ffmpeg_movie_writer.h"

namespace {

using namespace quillfen;

constexpr int kWidth = 1920, kHeight = 1080, kStillFrames = 75;

FrameImage still(int seed) {
    FrameImage frame = FrameImage::create(kWidth, kHeight, 24);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = frame.row(y);
        for (int x = 0; x < kWidth * 3; ++x) {
            row[x] = static_cast<std::uint8_t>((x / 3 + y + seed * 40) ^ (x % 3 * 85));
        }
    }
    return frame;
}

void BM_WriteStill(benchmark::State& state) {
    const char* codec = state.range(0) == 0 ? "raw" : "mjpeg";
    FfmpegWriterOptions options{.reuseIdenticalSamples = state.range(1) != 0,
                                .encodeBesideCaller = state.range(2) != 0};
    std::string path = "/tmp/qf-writer-bench-" + std::to_string(::getpid()) + ".avi";
    FrameImage picture = still(1);
    std::int64_t frames = 0;
    for (auto _ : state) {
        auto writer = makeFfmpegMovieWriter(options);
        if (!writer->open(path, defaultCodecChoice(codec)).ok() ||
            !writer->setUpStream(picture.header(), 25).ok()) {
            state.SkipWithError("cannot open the movie");
            break;
        }
        for (int i = 0; i < kStillFrames; ++i) {
            // The caller renders every frame anew: a fresh copy, as the driver hands over.
            writer->writeSample(i, DibCopy(picture), {i == 0});
        }
        writer->close();
        frames += kStillFrames;
    }
    std::remove(path.c_str());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_WriteStill)
    ->ArgNames({"mjpeg", "reuse", "worker"})
    ->Args({0, 0, 0})
    ->Args({0, 1, 1})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({1, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
