#include "cli/png_output.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace quillfen {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports errors by longjmp; keeping everything that needs cleaning outside the
// function that calls setjmp keeps that safe.
bool writeRows(std::FILE* file, const FrameImage& frame, std::vector<png_byte>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const int width = frame.width();
    const int height = frame.height();
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = height - 1; y >= 0; --y) {  // bottom-up rows, written top first
        const std::uint8_t* bgr = frame.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = bgr[3 * x + 2];
            row[3 * x + 1] = bgr[3 * x + 1];
            row[3 * x + 2] = bgr[3 * x];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePngFile(const FrameImage& frame, const std::string& path) {
    if (!frame.rowsFit() || frame.bitCount() != 24 || frame.width() <= 0 || frame.height() <= 0)
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    std::vector<png_byte> row(static_cast<std::size_t>(frame.width()) * 3);
    bool written = writeRows(file.get(), frame, row);
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace quillfen
