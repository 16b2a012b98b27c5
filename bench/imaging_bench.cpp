// Imaging hot paths: loading large pictures, fitting them to the movie size, stereo
// conversion and the final reduction to 24 bits.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <png.h>

#include "imaging/dib_ops.h"
#include "imaging/picture_loader.h"
#include "imaging/resize.h"
#include "imaging/stereo.h"

namespace quillfen {
namespace {

// A smooth, detailed top-down RGB picture (compresses like a photograph, not like a flat fill).
std::vector<std::uint8_t> scene(int w, int h) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = static_cast<std::uint8_t>(128 + 100 * std::sin(x * 0.013 + y * 0.002));
            p[1] = static_cast<std::uint8_t>(y * 255 / h);
            p[2] = static_cast<std::uint8_t>((x ^ y) & 0x3F) + 96;
        }
    return rgb;
}

std::string scratchName(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("quillfen-bench-" + name)).string();
}

std::string writeJpeg(int w, int h) {
    std::string path = scratchName("large.jpg");
    std::vector<std::uint8_t> rgb = scene(w, h);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &rgb[info.next_scanline * static_cast<std::size_t>(w) * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(f);
    return path;
}

std::string writePng(int w, int h) {
    std::string path = scratchName("large.png");
    std::vector<std::uint8_t> rgb = scene(w, h);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, &rgb[static_cast<std::size_t>(y) * w * 3]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return path;
}

void BM_LoadJpeg4000x3000(benchmark::State& state) {
    std::string path = writeJpeg(4000, 3000);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadPicture(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadJpeg4000x3000)->Unit(benchmark::kMillisecond);

void BM_LoadPng2400x1600(benchmark::State& state) {
    std::string path = writePng(2400, 1600);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadPicture(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadPng2400x1600)->Unit(benchmark::kMillisecond);

void BM_ResizeFrame4000x3000To1920x1080Letterbox(benchmark::State& state) {
    std::string path = writeJpeg(4000, 3000);
    FrameImage picture = LoadPicture(path);
    std::filesystem::remove(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(ResizeFrame(picture, {{1920, 1080}, ResizeMode::letterbox}));
}
BENCHMARK(BM_ResizeFrame4000x3000To1920x1080Letterbox)->Unit(benchmark::kMillisecond);

void BM_StereoConvert3840x1080(benchmark::State& state) {
    FrameImage pair = DibCreateBlank(3840, 1080, 24, makeColour(120, 60, 200));
    auto conversion = static_cast<StereoConversion>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(StereoConvert(pair, conversion, false));
}
BENCHMARK(BM_StereoConvert3840x1080)->Arg(12)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Dib32To24_1920x1080(benchmark::State& state) {
    FrameImage frame = DibCreateBlank(1920, 1080, 32, makeColour(10, 20, 30));
    for (auto _ : state)
        benchmark::DoNotOptimize(Dib32To24(frame));
}
BENCHMARK(BM_Dib32To24_1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillfen
