#include "imaging/picture_fixtures.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <random>

namespace quillfen::testing {

ScratchFolder::ScratchFolder() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("quillfen-imaging-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchFolder::write(const std::string& name, const Bytes& bytes) const {
    std::string p = path(name);
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return p;
}

void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

Bytes encodeJpeg(int width, int height, int components, const Bytes& samples, int quality) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &samples[info.next_scanline * static_cast<std::size_t>(width * components)]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

namespace {
void appendData(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}
}  // namespace

Bytes encodePng(int width, int height, int colourType, int depth, const std::vector<Bytes>& rows,
                const PngExtras& extras) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendData, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 depth, colourType, extras.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < extras.palette.size(); i += 3)
        palette.push_back({extras.palette[i], extras.palette[i + 1], extras.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (extras.gamma > 0) png_set_gAMA(png, info, extras.gamma);
    if (extras.hasBackground) {
        png_color_16 bkgd{};
        bkgd.index = static_cast<png_byte>(extras.background[0]);
        bkgd.red = extras.background[0];
        bkgd.green = extras.background[1];
        bkgd.blue = extras.background[2];
        bkgd.gray = extras.background[3];
        png_set_bKGD(png, info, &bkgd);
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const Bytes& r : rows)
        pointers.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

const std::uint8_t* pixelAt(const FrameImage& image, int x, int y) {
    return image.row(image.height() - 1 - y) + static_cast<std::size_t>(x) * (image.bitCount() / 8);
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes patternJpeg(int width, int height) {
    Bytes samples(static_cast<std::size_t>(width * height * 3));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 13);
    return encodeJpeg(width, height, 3, samples);
}

Bytes patternPng(int width, int height) {
    std::vector<Bytes> rows(static_cast<std::size_t>(height),
                            Bytes(static_cast<std::size_t>(width * 3)));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t i = 0; i < rows[y].size(); ++i)
            rows[y][i] = static_cast<std::uint8_t>(i * 7 + y * 3);
    return encodePng(width, height, PNG_COLOR_TYPE_RGB, 8, rows);
}

}  // namespace quillfen::testing
