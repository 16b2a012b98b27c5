#include "imaging/resize.h"

#include <algorithm>
#include <cstdint>

#include "imaging/dib_convert.h"
#include "imaging/stretch.h"

namespace quillfen {
namespace {

int roundHalf(double v) {
    return static_cast<int>(v + 0.5);
}

// Where the picture goes: drawn size and offset, rows of the source used, output size.
struct Layout {
    int dw, dh, x0 = 0, y0 = 0;
    int sr, ys = 0;  // source rows used and their start, counted up from the bottom edge
    int ow, oh;
    bool halves;
};

void fitBySourceWidth(Layout& l, int W, int H, ResizeMode mode, double v) {
    l.dh = roundHalf(W / v);
    if (l.dh == H - 1) l.dh = H;
    if (mode == ResizeMode::letterbox)
        l.y0 = (H - l.dh) / 2;
    else
        l.oh = l.dh;
}

// The first source row used, counted up from the bottom edge, when `used` of `sh` rows stay.
int firstCroppedRow(CropAnchor anchor, int sh, int used) {
    switch (anchor) {
        case CropAnchor::top:
            return sh - used;
        case CropAnchor::middle:
            return (sh - used) / 2;
        default:
            return 0;
    }
}

Layout layoutFor(int sw, int sh, const FitOptions& fit) {
    const int W = fit.size.width, H = fit.size.height;
    const bool letterbox = fit.mode == ResizeMode::letterbox;
    Layout l{W, H, 0, 0, sh, 0, W, H, letterbox && fit.stereoPairs};
    if (fit.mode == ResizeMode::stretch) return l;
    double v = static_cast<double>(sw) / sh, t = static_cast<double>(W) / H;
    if (t > v && fit.anchor == CropAnchor::none) {
        l.dw = roundHalf(v * H);
        if (l.dw == W - 1) l.dw = W;
        if (letterbox)
            l.x0 = l.halves ? (W - l.dw) / 4 : (W - l.dw) / 2;
        else
            l.ow = l.dw;
    } else if (t > v) {
        l.sr = roundHalf(sw / t);
        l.halves = false;
        l.ys = firstCroppedRow(fit.anchor, sh, l.sr);
    } else {
        fitBySourceWidth(l, W, H, fit.mode, v);
    }
    return l;
}

// A picture squeezed to nothing is simply not drawn, as on a screen.
void draw(const PixelTarget& target, const FrameImage& source, const SourceWindow& window,
          const PixelRect& rect) {
    if (rect.width > 0 && rect.height > 0 && window.width > 0 && window.height > 0)
        StretchInto(source, window, target, rect, StretchMode::halftone);
}

// Letterbox bands: every pixel of the new image in the band colour, 4th byte 0.
void fillPixels(FrameImage& image, ColourValue colour) {
    const std::uint32_t value = static_cast<std::uint32_t>(redOf(colour)) << 16 |
                                static_cast<std::uint32_t>(greenOf(colour)) << 8 | blueOf(colour);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.row(y));
        std::fill(row, row + image.width(), value);
    }
}

// A picture that already has the output size is drawn 1:1, which keeps every pixel; the copy
// gives those pixels without the cost of a resample. Moving pictures (sequences, clips,
// pan-and-zoom, transitions) arrive at the output size on every frame.
bool drawnOneToOne(const FrameImage& source, const Layout& l, FrameSize size) {
    const int width = size.width, height = size.height;
    return source.width() == width && source.height() == height && l.ow == width &&
           l.oh == height && l.dw == width && l.dh == height && l.x0 == 0 && l.y0 == 0 &&
           l.sr == height && (!l.halves || width % 2 == 0);
}

FrameImage unscaledCopy(const FrameImage& source) {
    if (source.bitCount() != 32 || source.header().biCompression != kBiRgb) return DibTo32(source);
    // Sizes read once: each read decodes the header, which the pixel loop must not redo.
    const int width = source.width(), height = source.height();
    FrameImage out = FrameImage::create(width, height, 32);
    if (!out) return {};
    for (int y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(source.row(y));
        auto* dst = reinterpret_cast<std::uint32_t*>(out.row(y));
        for (int x = 0; x < width; ++x)
            dst[x] = src[x] & 0x00FFFFFFu;
    }
    return out;
}

// The fit of a 32-bit picture that already has the output size, made in place: only the
// fourth bytes change, so no new block is needed.
bool fitOneToOneInPlace(FrameImage& image, const FitOptions& fit) {
    if (image.bitCount() != 32 || image.header().biCompression != kBiRgb || !image.rowsFit())
        return false;
    const int sw = image.width(), sh = image.height();
    if (sw != fit.size.width || sh != fit.size.height) return false;
    if (!drawnOneToOne(image, layoutFor(sw, sh, fit), fit.size)) return false;
    for (int y = 0; y < sh; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.row(y));
        // Most frames made here have clear fourth bytes already; reading a row costs half
        // of rewriting it.
        std::uint32_t fourths = 0;
        for (int x = 0; x < sw; ++x)
            fourths |= row[x];
        if ((fourths & 0xFF000000u) == 0) continue;
        for (int x = 0; x < sw; ++x)
            row[x] &= 0x00FFFFFFu;
    }
    return true;
}

}  // namespace

FrameImage ResizeFrame(const FrameImage& source, const FitOptions& fit) {
    const int width = fit.size.width, height = fit.size.height;
    if (!CanStretch(source) || width <= 0 || height <= 0) return {};
    int sw = source.width(), sh = source.height();
    Layout l = layoutFor(sw, sh, fit);
    if (l.ow <= 0 || l.oh <= 0) return {};
    if (drawnOneToOne(source, l, fit.size)) return unscaledCopy(source);
    FrameImage out = FrameImage::create(l.ow, l.oh, 32);
    if (!out) return {};
    if (fit.mode == ResizeMode::letterbox && fit.background != kNoColour)
        fillPixels(out, fit.background);
    const PixelTarget target = frameTarget(out);
    // Source rows are counted from the bottom edge here; the stretch counts from the top.
    double top = static_cast<double>(sh - l.ys - l.sr), rows = static_cast<double>(l.sr);
    if (l.halves) {
        double half = static_cast<double>(sw / 2);
        draw(target, source, {0, top, half, rows}, {l.x0, l.y0, l.dw / 2, l.dh});
        draw(target, source, {half, top, half, rows}, {l.x0 + width / 2, l.y0, l.dw / 2, l.dh});
    } else {
        draw(target, source, {0, top, static_cast<double>(sw), rows}, {l.x0, l.y0, l.dw, l.dh});
    }
    return out;
}

void FitFrame(FrameImage& image, const FitOptions& fit) {
    if (fit.size.empty()) return;
    if (fitOneToOneInPlace(image, fit)) return;
    FrameImage resized = ResizeFrame(image, fit);
    if (resized) image = std::move(resized);
}

FrameImage FinallyFitted(const FrameImage& image, const FitOptions& fit) {
    if (fit.size.empty()) return {};
    FrameImage fitted = ResizeFrame(image, fit);
    // ResizeFrame's images are plain 32-bit with a zero fourth byte, which a 1:1 fit keeps.
    if (!fitted || fitted.width() != fit.size.width || fitted.height() != fit.size.height)
        return {};
    if (!drawnOneToOne(fitted, layoutFor(fit.size.width, fit.size.height, fit), fit.size))
        return {};
    return fitted;
}

}  // namespace quillfen
