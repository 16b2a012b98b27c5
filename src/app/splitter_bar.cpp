#include "app/splitter_bar.h"

#include <QMouseEvent>
#include <algorithm>

namespace quillfen {

int tracePercentFor(int barY, int clientHeight) {
    if (clientHeight <= 0) return 1;
    const long long percent = 100 - static_cast<long long>(barY) * 100 / clientHeight;
    return static_cast<int>(std::clamp(percent, 1LL, 99LL));
}

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::HLine);
    setFrameShadow(QFrame::Sunken);
    setFixedHeight(6);
    setCursor(Qt::SizeVerCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    grabOffset_ = static_cast<int>(event->position().y());
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (grabOffset_ < 0) return QFrame::mouseMoveEvent(event);
    const int windowY = mapTo(window(), event->position().toPoint()).y() - grabOffset_;
    emit moved(std::clamp(windowY, home_ - kReach, home_ + kReach));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (grabOffset_ < 0) return QFrame::mouseReleaseEvent(event);
    mouseMoveEvent(event);
    grabOffset_ = -1;
}

}  // namespace quillfen
