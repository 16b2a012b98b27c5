// The two mjpeg encoders on one photo-like 1920 x 1080 frame: FFmpeg's (libyuv conversion to
// full-range 4:2:0, then the mjpeg encoder on two slice threads), which the writer uses at a
// data rate, against libjpeg-turbo's, which takes the BGR rows directly and is used at a
// quality. Argument: the quality 0..100 as a Script gives it. Counters: bytes per frame and
// PSNR against the source, which libjpegQuality keeps equal for the two. Process CPU time is
// measured, so both of FFmpeg's threads count.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "imaging/frame_image.h"
#include "media/ffmpeg_frame_encoder.h"
#include "media/jpeg_frame_encoder.h"

namespace {

using namespace quillfen;

constexpr int kWidth = 1920, kHeight = 1080;

// The middle of a JPEG photo of at least 3840 x 2160 pixels, decoded at half size.
FrameImage croppedPhoto(const char* path) {
    FrameImage image;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return image;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    info.scale_denom = 2;
    jpeg_start_decompress(&info);
    int left = (static_cast<int>(info.output_width) - kWidth) / 2,
        top = (static_cast<int>(info.output_height) - kHeight) / 2;
    if (left >= 0 && top >= 0) {
        image = FrameImage::create(kWidth, kHeight, 24);
        std::vector<std::uint8_t> line(info.output_width * 3);
        while (info.output_scanline < info.output_height) {
            int y = static_cast<int>(info.output_scanline) - top;
            JSAMPROW rows[1] = {line.data()};
            jpeg_read_scanlines(&info, rows, 1);
            if (y >= 0 && y < kHeight)
                std::copy_n(line.data() + 3 * left, 3 * kWidth, image.row(kHeight - 1 - y));
        }
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}

// QUILLFEN_BENCH_PHOTO names a photo to use; otherwise smooth shading, edges and fine grain
// give the entropy coder a photo's work to do.
const FrameImage& photo() {
    static const FrameImage frame = [] {
        if (const char* path = std::getenv("QUILLFEN_BENCH_PHOTO"))
            if (FrameImage image = croppedPhoto(path)) return image;
        FrameImage image = FrameImage::create(kWidth, kHeight, 24);
        std::uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = image.row(y);
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1664525u + 1013904223u;
                int grain = static_cast<int>(noise >> 28) - 8;
                double shade = 96 + 64 * std::sin(x / 150.0) * std::cos(y / 90.0);
                int edge = ((x / 240 + y / 135) % 2) * 40;
                for (int c = 0; c < 3; ++c) {
                    int v = static_cast<int>(shade) + edge + grain + c * 25 - 25;
                    row[3 * x + c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
                }
            }
        }
        return image;
    }();
    return frame;
}

double psnrOfJpeg(const std::vector<std::uint8_t>& jpeg) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> line(kWidth * 3);
    double squares = 0;
    while (info.output_scanline < info.output_height) {
        const std::uint8_t* source = photo().row(kHeight - 1 - info.output_scanline);
        JSAMPROW rows[1] = {line.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int i = 0; i < kWidth * 3; ++i) {
            double d = line[i] - source[i];
            squares += d * d;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    double mse = squares / (3.0 * kWidth * kHeight);
    return 10 * std::log10(255.0 * 255.0 / mse);
}

void report(benchmark::State& state, const std::vector<std::uint8_t>& jpeg) {
    state.counters["bytes"] = static_cast<double>(jpeg.size());
    state.counters["psnr"] = psnrOfJpeg(jpeg);
}

// Encodes the photo again and again as a key frame at the Script quality of the argument.
void encodeRepeatedly(benchmark::State& state, FrameEncoder& encoder) {
    CodecChoice choice = defaultCodecChoice("mjpeg");
    choice.quality = static_cast<int>(state.range(0));
    std::string why;
    if (encoder.open(*findCodec("mjpeg"), choice, kWidth, kHeight, AVRational{1, 25}, false, why) <
        0) {
        state.SkipWithError(why.c_str());
        return;
    }
    std::vector<std::uint8_t> jpeg;
    auto keep = [&](AVPacket* packet) {
        jpeg.assign(packet->data, packet->data + packet->size);
        return 0;
    };
    std::int64_t pts = 0;
    for (auto _ : state)
        encoder.encode(photo().row(0), photo().stride(), 24, pts++, true, keep);
    encoder.flush(keep);
    report(state, jpeg);
}

void BM_FfmpegMjpeg(benchmark::State& state) {
    FfmpegFrameEncoder encoder;
    encodeRepeatedly(state, encoder);
}

void BM_LibjpegMjpeg(benchmark::State& state) {
    JpegFrameEncoder encoder;
    encodeRepeatedly(state, encoder);
}

void qualities(benchmark::internal::Benchmark* b) {
    b->ArgName("quality")->Arg(100)->Arg(95)->Arg(80)->Arg(50)->Arg(0);
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}

BENCHMARK(BM_FfmpegMjpeg)->Apply(qualities);
BENCHMARK(BM_LibjpegMjpeg)->Apply(qualities);

}  // namespace
