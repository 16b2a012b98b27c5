#include "app/preview_window.h"

#include <QPainter>

#include "app/preview_panel.h"

namespace quillfen {

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(tr("Quillfen preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(640, 480);
}

void PreviewWindow::showFrame(const FrameImage& frame) {
    shown_ = frame.empty() ? QImage() : stretchNearest(frame, QSize(frame.width(), frame.height()));
    update();
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (shown_.isNull()) return;
    const QSize room(std::min(width(), shown_.width()), std::min(height(), shown_.height()));
    const FitRect fit = fitRectangle(shown_.width(), shown_.height(), room.width(), room.height());
    const QRect target((width() - fit.width) / 2, (height() - fit.height) / 2, fit.width,
                       fit.height);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, shown_);
}

}  // namespace quillfen
