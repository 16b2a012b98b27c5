#include "imaging/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/picture_file.h"

namespace quillfen {
namespace {

// Everything a long jump may leave behind lives here, outside the functions that set it.
struct PngState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    bool tolerated = false;  // the pixel data ended early
    bool failed = false;
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    std::uint8_t background[3] = {0, 0, 0};  // red, green, blue
    FrameImage image;
    std::vector<png_byte> decoded;
    std::vector<png_bytep> rows;
    int passes = 1;
    int rowsDone = 0;  // rows of the last pass that are complete

    ~PngState() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    if (std::strstr(message, "Not enough image data") || std::strstr(message, "Read Error"))
        state->tolerated = true;
    state->failed = true;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

int frameBits(int colourType, int depth) {
    if (colourType == PNG_COLOR_TYPE_RGB || colourType == PNG_COLOR_TYPE_RGB_ALPHA) return 24;
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA) return 8;
    return depth == 1 ? 1 : depth <= 4 ? 4 : 8;
}

void readBackground(PngState& s) {
    png_color_16p bkgd = nullptr;
    if (!png_get_bKGD(s.png, s.info, &bkgd) || !bkgd) return;
    bool grey = (s.colourType & PNG_COLOR_MASK_COLOR) == 0;
    png_uint_16 values[3] = {bkgd->red, bkgd->green, bkgd->blue};
    if (grey) values[0] = values[1] = values[2] = bkgd->gray;
    for (int c = 0; c < 3; ++c) {
        unsigned v = values[c];
        if (s.depth == 16)
            v >>= 8;
        else if (grey && s.depth < 8)
            v = v * (255 / ((1u << s.depth) - 1));
        s.background[c] = static_cast<std::uint8_t>(v & 0xFF);
    }
}

void writeColourTable(PngState& s) {
    int bits = s.image.bitCount();
    if (bits > 8) return;
    std::uint8_t* table = s.image.colourTable();
    int room = DibColorCount(s.image.header());
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(s.png, s.info, &palette, &count) && palette) {
        for (int i = 0; i < count && i < room; ++i) {
            table[4 * i] = palette[i].blue;
            table[4 * i + 1] = palette[i].green;
            table[4 * i + 2] = palette[i].red;
        }
        return;
    }
    int n = s.depth >= 8 ? 256 : 1 << s.depth;
    for (int i = 0; i < n && i < room; ++i)
        table[4 * i] = table[4 * i + 1] = table[4 * i + 2] =
            static_cast<std::uint8_t>(i * 255 / (n - 1));
}

bool readHeader(PngState& s, std::FILE* file) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_init_io(s.png, file);
    png_set_sig_bytes(s.png, 8);
    png_read_info(s.png, s.info);
    png_get_IHDR(s.png, s.info, &s.width, &s.height, &s.depth, &s.colourType, nullptr, nullptr,
                 nullptr);
    std::int64_t pixels = std::int64_t{s.width} * s.height;
    if (pixels <= 0 || pixels > kMaxPicturePixels) return false;
    readBackground(s);
    return true;
}

bool prepareDecoding(PngState& s) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    if (s.depth == 16) png_set_strip_16(s.png);
    double fileGamma = 0;
    if (png_get_gAMA(s.png, s.info, &fileGamma)) png_set_gamma(s.png, 2.2, fileGamma);
    s.passes = png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    std::size_t rowBytes = png_get_rowbytes(s.png, s.info);
    s.decoded.assign(rowBytes * s.height, 0);
    s.rows.resize(s.height);
    for (png_uint_32 r = 0; r < s.height; ++r)
        s.rows[r] = &s.decoded[rowBytes * r];
    return true;
}

// False only for a failure other than pixel data that ends early.
bool decodeRows(PngState& s) {
    // Trouble after the last row (a damaged trailing chunk) does not spoil the picture.
    if (setjmp(png_jmpbuf(s.png))) return s.tolerated || s.rowsDone == static_cast<int>(s.height);
    for (int pass = 0; pass < s.passes; ++pass) {
        for (png_uint_32 r = 0; r < s.height; ++r) {
            png_read_row(s.png, s.rows[r], nullptr);
            if (pass == s.passes - 1) s.rowsDone = static_cast<int>(r) + 1;
        }
    }
    png_read_end(s.png, nullptr);
    return true;
}

std::uint8_t over(unsigned sample, unsigned alpha, unsigned background) {
    unsigned c = sample * alpha + background * (255 - alpha) + 128;
    return static_cast<std::uint8_t>((c + (c >> 8)) >> 8);
}

void copyRow(const PngState& s, const png_byte* src, std::uint8_t* dst, int channels) {
    int w = static_cast<int>(s.width);
    if (channels == 3 || channels == 4) {
        for (int x = 0; x < w; ++x, src += channels, dst += 3) {
            unsigned a = channels == 4 ? src[3] : 255;
            for (int c = 0; c < 3; ++c) {
                unsigned bg = s.background[c];
                dst[2 - c] = a == 255 ? src[c] : a == 0 ? bg : over(src[c], a, bg);
            }
        }
    } else if (channels == 2) {
        for (int x = 0; x < w; ++x)
            dst[x] = src[2 * x];
    } else if (s.depth == 2) {
        for (int x = 0; x < w; ++x) {
            int sample = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3;
            dst[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? sample : sample << 4);
        }
    } else {
        int bits = s.depth > 8 ? 8 : s.depth;
        std::memcpy(dst, src, (static_cast<std::size_t>(w) * bits + 7) / 8);
    }
}

}  // namespace

FrameImage LoadPngFile(const std::string& path, long start) {
    PictureFile file(path, start);
    if (!file) return {};
    png_byte signature[8] = {};
    if (file.read(signature, 8) != 8 || png_sig_cmp(signature, 0, 8) != 0) return {};
    auto s = std::make_unique<PngState>();
    s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s.get(), onError, onWarning);
    if (!s->png) return {};
    s->info = png_create_info_struct(s->png);
    if (!s->info || !readHeader(*s, file.get())) return {};
    int w = static_cast<int>(s->width), h = static_cast<int>(s->height);
    s->image = FrameImage::create(w, h, frameBits(s->colourType, s->depth));
    if (!s->image) return {};
    BitmapInfoHeader header = s->image.header();
    header.biSizeImage = 0;
    s->image.setHeader(header);
    writeColourTable(*s);
    if (!prepareDecoding(*s) || !decodeRows(*s)) return {};
    int channels = png_get_channels(s->png, s->info);
    for (int r = 0; r < s->rowsDone; ++r)
        copyRow(*s, s->rows[static_cast<std::size_t>(r)], s->image.row(h - 1 - r), channels);
    return std::move(s->image);
}

}  // namespace quillfen
