#include "imaging/stereo.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace quillfen {
namespace {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

using Palette = std::array<Rgb, 256>;

Palette readPalette(const FrameImage& image) {
    Palette palette{};
    if (image.bitCount() != 8) return palette;
    const std::uint8_t* e = image.colourTable();
    for (auto& p : palette)
        p = Rgb{e[2], e[1], e[0]}, e += 4;
    return palette;
}

void unpackRow(const std::uint8_t* row, int first, int n, int bits, const Palette& palette,
               Rgb* out) {
    for (int i = 0; i < n; ++i) {
        int x = first + i;
        switch (bits) {
            case 8:
                out[i] = palette[row[x]];
                break;
            case 16: {
                unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                out[i] = Rgb{static_cast<std::uint8_t>(((v >> 10) & 31) * 8),
                             static_cast<std::uint8_t>(((v >> 5) & 31) * 8),
                             static_cast<std::uint8_t>((v & 31) * 8)};
                break;
            }
            default: {
                const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
                out[i] = Rgb{p[2], p[1], p[0]};
                break;
            }
        }
    }
}

void packRow(const Rgb* in, int n, int bits, std::uint8_t* row) {
    for (int x = 0; x < n; ++x) {
        const Rgb& p = in[x];
        if (bits == 16) {
            unsigned v = ((p.r >> 3) << 10) | ((p.g >> 3) << 5) | (p.b >> 3);
            row[2 * x] = static_cast<std::uint8_t>(v & 0xFF);
            row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        } else {
            std::uint8_t* q = row + static_cast<std::size_t>(x) * (bits / 8);
            q[0] = p.b, q[1] = p.g, q[2] = p.r;
        }
    }
}

std::uint8_t grey(const Rgb& p) {
    return static_cast<std::uint8_t>((30 * p.r + 59 * p.g + 11 * p.b) / 100);
}

// The colour mix of mixedRedCyan, rows for red, green and blue; columns rA gA bA rB gB bB.
constexpr std::array<double, 18> kMixMatrix = {
    0.4561,     0.500484,   0.176381,    -0.0434706, -0.0879388, -0.00155529,
    -0.0400822, -0.0378246, -0.0157589,  0.378476,   0.73364,    -0.0184503,
    -0.0152161, -0.0205971, -0.00546856, -0.0721527, -0.112961,  1.2264};

std::uint8_t mixChannel(int row, const Rgb& a, const Rgb& b) {
    const double* m = &kMixMatrix[static_cast<std::size_t>(row) * 6];
    double v = m[0] * a.r + m[1] * a.g + m[2] * a.b + m[3] * b.r + m[4] * b.g + m[5] * b.b;
    v = std::clamp(v, 0.0, 255.0);
    return static_cast<std::uint8_t>(v + 0.5);
}

Rgb mix(const Rgb& a, const Rgb& b) {
    return Rgb{mixChannel(0, a, b), mixChannel(1, a, b), mixChannel(2, a, b)};
}

// The half-colour conversions first pass each view through this matrix (units of 1/65536):
// the red channel becomes the luminance, green and blue stay, which tames retinal rivalry on
// saturated reds.
constexpr std::array<int, 9> kHalfColourMatrix = {19595, 38470, 7471, 0, 65536, 0, 0, 0, 65536};

Rgb halfColour(const Rgb& p) {
    auto channel = [&](int row) {
        const int* m = &kHalfColourMatrix[static_cast<std::size_t>(row) * 3];
        long long v = (static_cast<long long>(m[0]) * p.r + static_cast<long long>(m[1]) * p.g +
                       static_cast<long long>(m[2]) * p.b) /
                      65536;
        return static_cast<std::uint8_t>(std::clamp<long long>(v, 0, 255));
    };
    return Rgb{channel(0), channel(1), channel(2)};
}

Rgb convertPixel(StereoConversion conversion, const Rgb& a, const Rgb& b, int x) {
    using enum StereoConversion;
    switch (conversion) {
        case greyRedGreen:
            return Rgb{grey(a), grey(b), 0};
        case greyRedBlue:
            return Rgb{grey(a), 0, grey(b)};
        case colourRedCyan:
            return Rgb{a.r, b.g, b.b};
        case greyRedCyan:
            return Rgb{grey(a), grey(b), grey(b)};
        case colourYellowBlue:
            return Rgb{a.r, a.g, b.b};
        case redsRedCyan:
            return Rgb{a.r, b.r, b.b};
        case columnInterleave:
            return x % 2 == 0 ? a : b;
        case halfColourRedCyan: {
            Rgb ca = halfColour(a), cb = halfColour(b);
            return Rgb{ca.r, cb.g, cb.b};
        }
        case colourGreenMagenta:
            return Rgb{b.r, a.g, b.b};
        case mixedRedCyan:
            return mix(a, b);
        case alternatingColumns:
            return x % 2 == 0 ? Rgb{a.r, b.g, a.b} : Rgb{b.r, a.g, b.b};
        case mixedRedCyanFromGreen:
            return mix(Rgb{a.g, a.g, a.b}, Rgb{b.g, b.g, b.b});
        case halfColourYellowBlue: {
            Rgb ca = halfColour(a), cb = halfColour(b);
            return Rgb{ca.r, ca.g, cb.b};
        }
        default:
            return Rgb{};
    }
}

bool convertible(const FrameImage& pair) {
    if (!pair.rowsFit()) return false;
    BitmapInfoHeader h = pair.header();
    int bits = h.biBitCount;
    bool whole = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return whole && h.biCompression == kBiRgb && h.biWidth / 2 > 0;
}

// The output row y (memory order) of the converted pair.
void convertRow(StereoConversion conversion, const Rgb* a, const Rgb* b, const Rgb* left,
                int memoryRow, int n, Rgb* out) {
    if (conversion == StereoConversion::leftView) {
        std::copy(left, left + n, out);
    } else if (conversion == StereoConversion::rowInterleave) {
        std::copy(memoryRow % 2 == 0 ? a : b, (memoryRow % 2 == 0 ? a : b) + n, out);
    } else {
        for (int x = 0; x < n; ++x)
            out[x] = convertPixel(conversion, a[x], b[x], x);
    }
}

}  // namespace

FrameImage StereoConvert(const FrameImage& pair, StereoConversion conversion, bool swapViews) {
    if (!convertible(pair)) return {};
    int bits = pair.bitCount(), half = pair.width() / 2, height = pair.height();
    int outBits = bits == 8 ? 24 : bits;
    FrameImage out = FrameImage::create(half, height, outBits);
    if (!out) return {};
    // Palette pairs are only mixed by the colour matrices; the rest stays black.
    if (bits == 8 && conversion != StereoConversion::mixedRedCyan &&
        conversion != StereoConversion::mixedRedCyanFromGreen)
        return out;
    Palette palette = readPalette(pair);
    std::vector<Rgb> left(static_cast<std::size_t>(half)), right(left.size()), result(left.size());
    for (int y = 0; y < height; ++y) {
        unpackRow(pair.row(y), 0, half, bits, palette, left.data());
        unpackRow(pair.row(y), half, half, bits, palette, right.data());
        const Rgb* a = swapViews ? right.data() : left.data();
        const Rgb* b = swapViews ? left.data() : right.data();
        convertRow(conversion, a, b, left.data(), y, half, result.data());
        packRow(result.data(), half, outBits, out.row(y));
    }
    return out;
}

bool SwapViews(FrameImage& pair) {
    if (!pair.rowsFit() || pair.bitCount() < 16) return false;
    std::size_t h = static_cast<std::size_t>(pair.bitCount()) * (pair.width() / 2) / 8;
    std::vector<std::uint8_t> scratch(h + 16);
    for (int y = 0; y < pair.height(); ++y) {
        std::uint8_t* row = pair.row(y);
        std::memcpy(scratch.data(), row, h);
        std::memmove(row, row + h, h);
        std::memcpy(row + h, scratch.data(), h);
    }
    return true;
}

bool MirrorViews(FrameImage& pair, bool left, bool right) {
    int bits = pair.bitCount();
    if (!pair.rowsFit() || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) return false;
    std::size_t bpp = static_cast<std::size_t>(bits / 8), half = pair.width() / 2;
    auto reverse = [&](std::uint8_t* p) {
        for (std::size_t i = 0, j = half - 1; i < half / 2; ++i, --j)
            std::swap_ranges(p + i * bpp, p + (i + 1) * bpp, p + j * bpp);
    };
    for (int y = 0; y < pair.height(); ++y) {
        std::uint8_t* row = pair.row(y);
        if (left) reverse(row);
        if (right) reverse(row + half * bpp);
    }
    return true;
}

void ConvertStereoFrame(FrameImage& image, const StereoOptions& stereo) {
    const StereoConversion conversion = stereo.conversion;
    if (static_cast<int>(conversion) >= 0 && conversion != StereoConversion::halfWidth) {
        FrameImage converted = StereoConvert(image, conversion, stereo.swapViews);
        if (converted) image = std::move(converted);
    } else if (stereo.swapViews) {
        SwapViews(image);
    }
}

}  // namespace quillfen
