#include "app/preview_panel.h"

#include <QPaintEvent>
#include <QPainter>
#include <cstring>

#include "imaging/dib_convert.h"

namespace quillfen {

FitRect fitRectangle(int sw, int sh, int tw, int th) {
    FitRect fit;
    // Cross-multiplied in double: the same comparison as sw / sh > tw / th without dividing.
    if (static_cast<double>(sw) * th > static_cast<double>(tw) * sh) {
        fit.width = tw;
        fit.height = sw == 0 ? 1 : static_cast<int>(static_cast<long long>(sh) * tw / sw);
        fit.y = (th - fit.height) / 2;
    } else {
        fit.height = th;
        fit.width = sh == 0 ? 1 : static_cast<int>(static_cast<long long>(sw) * th / sh);
        fit.x = (tw - fit.width) / 2;
    }
    return fit;
}

QImage stretchNearest(const FrameImage& frame, QSize size) {
    if (frame.empty() || size.isEmpty()) return {};
    FrameImage converted;
    const FrameImage* source = &frame;
    if (frame.bitCount() != 24 && frame.bitCount() != 32) {
        converted = DibTo32(frame);
        source = &converted;
    }
    if (source->empty() || !source->rowsFit() || source->width() <= 0 || source->height() <= 0)
        return {};
    const int sw = source->width();
    const int sh = source->height();
    const int bytes = source->bitCount() / 8;
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * sh / size.height());
        const std::uint8_t* row = source->row(sh - 1 - sy);  // rows are stored bottom-up
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const std::uint8_t* p =
                row +
                static_cast<std::size_t>(static_cast<long long>(x) * sw / size.width()) * bytes;
            out[x] = qRgb(p[2], p[1], p[0]);
        }
    }
    return image;
}

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent) {
    setFixedSize(kPanelSize);
    // Same-size frames repaint only their own rectangle; nothing else is erased.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect PreviewPanel::fitOnPanel(QSize frameSize) const {
    const FitRect fit = fitRectangle(frameSize.width(), frameSize.height(), width(), height());
    return {fit.x, fit.y, fit.width, fit.height};
}

void PreviewPanel::showFrame(const FrameImage& frame) {
    const QSize frameSize(frame.empty() ? 0 : frame.width(), frame.empty() ? 0 : frame.height());
    const QRect target = fitOnPanel(frameSize);
    shown_ = stretchNearest(frame, target.size());
    shownFrameSize_ = shown_.isNull() ? QSize() : frameSize;
    if (!shown_.isNull() && frameSize == rememberedSize_) {
        repaint(target);
        return;
    }
    rememberedSize_ = shown_.isNull() ? QSize() : frameSize;
    repaint();
}

void PreviewPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (shown_.isNull()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    const QRect target = fitOnPanel(shownFrameSize_);
    QRegion bars = QRegion(event->rect()) - QRegion(target);
    for (const QRect& bar : bars)
        painter.fillRect(bar, palette().window());
    if (target.size() == shown_.size()) {
        painter.drawImage(target.topLeft(), shown_);
    } else {
        painter.drawImage(target, shown_);  // the panel was resized since the frame came
    }
}

void PreviewPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

}  // namespace quillfen
