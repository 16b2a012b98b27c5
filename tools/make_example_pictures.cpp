// make-example-pictures OUTDIR: draws the example pictures deterministically (gradients and
// shapes, no downloads): landscape.jpg, portrait.jpg, square.png, banner.bmp, pair.jps (a side-
// by-side stereo pair) and seq/shot000.png ... shot023.png (a numbered moving sequence).

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <png.h>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/frame_image.h"

namespace {

struct Colour {
    double r, g, b;
};

Colour blend(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A top-down RGB picture being drawn.
class Picture {
  public:
    Picture(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {}

    void set(int x, int y, Colour c) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        p[0] = channel(c.r), p[1] = channel(c.g), p[2] = channel(c.b);
    }
    void verticalGradient(Colour top, Colour bottom) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                set(x, y, blend(top, bottom, y / (height - 1.0)));
    }
    void disc(double cx, double cy, double radius, Colour c) {
        for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y)
            for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d <= radius) set(x, y, c);
            }
    }
    void box(int x0, int y0, int w, int h, Colour c) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                set(x, y, c);
    }
    // Hills: below height(x) = base + amplitude x sin(x / period + phase), shaded downwards.
    void hill(double base, double amplitude, double period, double phase, Colour c) {
        for (int x = 0; x < width; ++x) {
            int top = static_cast<int>(base + amplitude * std::sin(x / period + phase));
            for (int y = std::max(top, 0); y < height; ++y)
                set(x, y, blend(c, Colour{c.r * 0.4, c.g * 0.4, c.b * 0.4}, (y - top) / 400.0));
        }
    }
    // Blocky digits: a 3 x 5 cell font, each cell `cell` pixels.
    void number(int value, int x, int y, int cell, Colour c) {
        static const char* glyphs[10] = {"111101101101111", "010110010010111", "111001111100111",
                                         "111001111001111", "101101111001001", "111100111001111",
                                         "111100111101111", "111001001001001", "111101111101111",
                                         "111101111001111"};
        std::string text = std::to_string(value);
        if (text.size() < 2) text = "0" + text;
        for (char ch : text) {
            const char* g = glyphs[ch - '0'];
            for (int i = 0; i < 15; ++i)
                if (g[i] == '1') box(x + (i % 3) * cell, y + (i / 3) * cell, cell, cell, c);
            x += 4 * cell;
        }
    }

    int width, height;
    std::vector<std::uint8_t> rgb;

  private:
    static std::uint8_t channel(double v) {
        return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5);
    }
};

bool writeJpeg(const Picture& p, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = static_cast<JDIMENSION>(p.width);
    info.image_height = static_cast<JDIMENSION>(p.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&p.rgb[info.next_scanline * std::size_t(p.width) * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(f) == 0;
}

bool writePng(const Picture& p, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < p.height; ++y)
        png_write_row(png, &p.rgb[static_cast<std::size_t>(y) * p.width * 3]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool writeBmp(const Picture& p, const std::string& path) {
    quillfen::FrameImage image = quillfen::FrameImage::create(p.width, p.height, 24);
    for (int y = 0; y < p.height; ++y) {
        const std::uint8_t* src = &p.rgb[static_cast<std::size_t>(y) * p.width * 3];
        std::uint8_t* dst = image.row(p.height - 1 - y);
        for (int x = 0; x < p.width; ++x)
            dst[3 * x] = src[3 * x + 2], dst[3 * x + 1] = src[3 * x + 1],
                    dst[3 * x + 2] = src[3 * x];
    }
    return quillfen::WriteBmpFile(image, path);
}

Picture landscape() {
    Picture p(1600, 1000);
    p.verticalGradient({70, 130, 210}, {250, 215, 170});
    p.disc(1220, 260, 110, {255, 226, 120});
    p.hill(620, 60, 210, 0.5, {90, 140, 90});
    p.hill(760, 45, 130, 2.0, {50, 110, 60});
    return p;
}

Picture portrait() {
    Picture p(900, 1400);
    p.verticalGradient({40, 30, 90}, {250, 140, 80});
    p.disc(450, 420, 160, {255, 200, 110});
    p.box(380, 600, 140, 800, {30, 30, 45});
    for (int i = 0; i < 6; ++i)
        p.box(410, 660 + i * 120, 80, 50, {250, 220, 130});
    return p;
}

Picture square() {
    Picture p(1000, 1000);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x) {
            double d = std::hypot(x - 500.0, y - 500.0);
            Colour c = blend({255, 240, 200}, {20, 60, 120}, d / 700);
            if (static_cast<int>(d / 60) % 2 == 0) c = blend(c, {200, 80, 60}, 0.25);
            p.set(x, y, c);
        }
    return p;
}

Picture banner() {
    Picture p(800, 300);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 800; ++x) {
            double h = x / 800.0 * 6.283;
            Colour c{128 + 110 * std::sin(h), 128 + 110 * std::sin(h + 2.09),
                     128 + 110 * std::sin(h + 4.19)};
            if ((y / 30) % 2) c = blend(c, {255, 255, 255}, 0.3);
            p.set(x, y, c);
        }
    return p;
}

// One view of the stereo scene; near objects move more between the views than far ones.
void drawView(Picture& p, int left, int shift) {
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 1200; ++x)
            p.set(left + x, y, blend({120, 170, 230}, {230, 230, 210}, y / 899.0));
    for (int x = 0; x < 1200; ++x)
        for (int y = 600; y < 900; ++y)
            p.set(left + x, y, blend({110, 160, 90}, {60, 100, 50}, (y - 600) / 300.0));
    auto clip = [&](int x) { return x >= 0 && x < 1200; };
    for (int y = -120; y <= 120; ++y)  // far disc, small shift
        for (int x = -120; x <= 120; ++x)
            if (x * x + y * y <= 120 * 120 && clip(300 + x - shift / 3))
                p.set(left + 300 + x - shift / 3, 300 + y, {240, 200, 90});
    for (int y = 450; y < 780; ++y)  // near box, full shift
        for (int x = 650; x < 900; ++x)
            if (clip(x - shift)) p.set(left + x - shift, y, {180, 60, 50});
}

Picture stereoPair() {
    Picture p(2400, 900);
    drawView(p, 0, 0);
    drawView(p, 1200, 30);
    return p;
}

Picture shot(int index) {
    Picture p(640, 360);
    p.verticalGradient(blend({30, 40, 80}, {80, 30, 60}, index / 23.0), {20, 20, 30});
    double t = index / 24.0 * 6.283;
    p.disc(320 + 220 * std::cos(t), 190 + 110 * std::sin(t), 40, {250, 190, 70});
    p.number(index, 24, 24, 12, {235, 235, 235});
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make-example-pictures OUTDIR\n");
        return 2;
    }
    std::filesystem::path out = argv[1];
    std::error_code error;
    std::filesystem::create_directories(out / "seq", error);
    bool ok = writeJpeg(landscape(), (out / "landscape.jpg").string()) &&
              writeJpeg(portrait(), (out / "portrait.jpg").string()) &&
              writePng(square(), (out / "square.png").string()) &&
              writeBmp(banner(), (out / "banner.bmp").string()) &&
              writeJpeg(stereoPair(), (out / "pair.jps").string());
    for (int i = 0; ok && i < 24; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.png", i);
        ok = writePng(shot(i), (out / "seq" / name).string());
    }
    if (!ok) {
        std::fprintf(stderr, "make-example-pictures: cannot write into '%s'\n", argv[1]);
        return 1;
    }
    return 0;
}
