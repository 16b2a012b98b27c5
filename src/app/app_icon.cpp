#include "app/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillfen {

QImage appIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // Film frame.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 45, 60));
    p.drawRoundedRect(QRectF(4, 10, 56, 44), 6, 6);
    p.setBrush(QColor(235, 235, 240));
    for (int i = 0; i < 6; ++i) {
        p.drawRect(QRectF(9 + i * 8.5, 13, 4, 4));
        p.drawRect(QRectF(9 + i * 8.5, 47, 4, 4));
    }
    QLinearGradient sky(0, 20, 0, 44);
    sky.setColorAt(0, QColor(110, 170, 235));
    sky.setColorAt(1, QColor(250, 200, 120));
    p.setBrush(sky);
    p.drawRect(QRectF(8, 20, 48, 24));
    // Quill.
    QPainterPath feather;
    feather.moveTo(20, 58);
    feather.cubicTo(26, 40, 42, 14, 60, 4);
    feather.cubicTo(54, 22, 40, 44, 20, 58);
    p.setBrush(QColor(250, 250, 250));
    p.setPen(QPen(QColor(60, 60, 80), 1.5));
    p.drawPath(feather);
    p.drawLine(QPointF(20, 58), QPointF(16, 62));
    return image;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

}  // namespace quillfen
