#include "imaging/raster/canvas.h"

#include <QImage>
#include <algorithm>
#include <cstring>

namespace quillfen {
namespace {

QRgb rgbOf(ColourValue colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

}  // namespace

Canvas::Canvas() = default;
Canvas::~Canvas() = default;
Canvas::Canvas(Canvas&&) noexcept = default;
Canvas& Canvas::operator=(Canvas&&) noexcept = default;

Canvas Canvas::create(int width, int height) {
    Canvas canvas;
    if (width <= 0 || height <= 0) return canvas;
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull()) return canvas;
    image->fill(qRgb(0, 0, 0));
    canvas.image_ = std::move(image);
    return canvas;
}

Canvas::operator bool() const {
    return image_ != nullptr;
}

int Canvas::width() const {
    return image_ ? image_->width() : 0;
}

int Canvas::height() const {
    return image_ ? image_->height() : 0;
}

void Canvas::fill(ColourValue colour) {
    if (image_) image_->fill(rgbOf(colour));
}

void Canvas::fill(const PixelRect& rect, ColourValue colour) {
    if (!image_) return;
    int x0 = std::max(rect.x, 0), x1 = std::min(rect.x + rect.width, width());
    int y0 = std::max(rect.y, 0), y1 = std::min(rect.y + rect.height, height());
    QRgb value = rgbOf(colour);
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
        std::fill(row + std::max(x0, 0), row + std::max(x1, x0), value);
    }
}

bool Canvas::stretch(const FrameImage& source, const SourceWindow& window, const PixelRect& dest,
                     StretchMode mode) {
    if (!image_) return false;
    // RGB32 wants 0xFF in the 4th byte; DibFromBitmap clears it again.
    PixelTarget target{image_->bits(), image_->bytesPerLine(), width(), height(), 0xFF};
    return StretchInto(source, window, target, dest, mode);
}

FrameImage DibFromBitmap(const Canvas& canvas) {
    if (!canvas) return {};
    int w = canvas.width(), h = canvas.height();
    FrameImage out = FrameImage::create(w, h, 32);
    if (!out) return {};
    const QImage& image = *canvas.image();
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* dst = reinterpret_cast<std::uint32_t*>(out.row(h - 1 - y));
        for (int x = 0; x < w; ++x)
            dst[x] = src[x] & 0x00FFFFFFu;
    }
    return out;
}

}  // namespace quillfen
