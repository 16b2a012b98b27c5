#include "app/trace_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

#include "output/trace.h"

namespace quillfen {

namespace {

using Draw = void (*)(QPainter&);

const QColor kBlue(30, 90, 200);
const QColor kGreen(20, 150, 40);
const QColor kRed(210, 30, 30);
const QColor kYellow(240, 200, 20);
const QColor kAmber(245, 140, 0);
const QColor kDark(40, 40, 40);

void disc(QPainter& p, QColor fill, QRectF r = {1.5, 1.5, 13, 13}) {
    p.setPen(QPen(fill.darker(150), 1));
    p.setBrush(fill);
    p.drawEllipse(r);
}

void letter(QPainter& p, const QString& text, QColor colour, QRectF r = {0, 0, 16, 16}) {
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void line(QPainter& p, QColor colour, qreal width, QPointF a, QPointF b) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
}

void tick(QPainter& p, QColor colour) {
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{3.5, 8.5}, {6.5, 11.5}, {12.5, 4.5}}));
}

void box(QPainter& p) {
    p.setPen(QPen(kDark, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
}

void bulb(QPainter& p, QColor glass) {
    disc(p, glass, {3.5, 1.5, 9, 9});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(5.5, 10.5, 5, 4));
}

void trafficLight(QPainter& p, int lit) {
    p.setPen(QPen(kDark, 1));
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(4.5, 0.5, 7, 15), 2, 2);
    const std::array<QColor, 3> colours{kRed, kAmber, kGreen};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(i == lit ? colours[static_cast<std::size_t>(i)] : QColor(90, 90, 90));
        p.drawEllipse(QRectF(5.5, 1.5 + i * 4.7, 5, 4.2));
    }
}

void frameRect(QPainter& p, QRectF r, QColor fill) {
    p.setPen(QPen(kDark, 1));
    p.setBrush(fill);
    p.drawRect(r);
}

const std::array<Draw, kTraceIconCount> kIcons = {
    [](QPainter& p) {
        disc(p, kBlue);
        letter(p, "i", Qt::white);
    },
    [](QPainter& p) { tick(p, kGreen); },
    [](QPainter& p) {  // warning triangle
        p.setPen(QPen(kDark, 1));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF({{8, 1}, {15, 14.5}, {1, 14.5}}));
        letter(p, "!", kDark, {0, 3, 16, 12});
    },
    [](QPainter& p) {  // error cross
        disc(p, kRed);
        line(p, Qt::white, 2, {5.5, 5.5}, {10.5, 10.5});
        line(p, Qt::white, 2, {10.5, 5.5}, {5.5, 10.5});
    },
    [](QPainter& p) {  // no-entry sign
        disc(p, kRed);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 7, 8, 2));
    },
    [](QPainter& p) {
        disc(p, kBlue);
        letter(p, "?", Qt::white);
    },
    [](QPainter& p) {
        disc(p, kRed, {3.5, 3.5, 9, 9});
    },
    [](QPainter& p) {
        disc(p, kGreen, {3.5, 3.5, 9, 9});
    },
    [](QPainter& p) {
        disc(p, kYellow, {3.5, 3.5, 9, 9});
    },
    [](QPainter& p) {  // arrow
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({{1, 6}, {8, 6}, {8, 2}, {15, 8}, {8, 14}, {8, 10}, {1, 10}}));
    },
    [](QPainter& p) {  // bomb
        disc(p, kDark, {1.5, 4.5, 11, 11});
        line(p, QColor(150, 100, 50), 1.5, {10, 5}, {13, 2});
        disc(p, kAmber, {12, 0, 4, 4});
    },
    [](QPainter& p) {  // chequered flag
        line(p, kDark, 1.5, {2, 1}, {2, 15});
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.fillRect(QRectF(3 + col * 3, 1 + row * 3, 3, 3),
                           (row + col) % 2 ? Qt::white : Qt::black);
        p.setPen(QPen(kDark, 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 1, 12, 9));
    },
    [](QPainter& p) {  // lightning
        p.setPen(QPen(kAmber.darker(130), 1));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF({{9, 0}, {3, 9}, {7.5, 9}, {5, 16}, {13, 6}, {8.5, 6}, {11, 0}}));
    },
    [](QPainter& p) {  // plus
        line(p, kGreen, 3, {8, 3}, {8, 13});
        line(p, kGreen, 3, {3, 8}, {13, 8});
    },
    [](QPainter& p) {
        line(p, kRed, 3, {3, 8}, {13, 8});
    },
    [](QPainter& p) { bulb(p, QColor(255, 235, 60)); },
    [](QPainter& p) { bulb(p, QColor(200, 200, 200)); },
    [](QPainter& p) {  // glasses
        p.setPen(QPen(kDark, 1.3));
        p.setBrush(QColor(170, 210, 240));
        p.drawEllipse(QRectF(1, 6, 6, 5));
        p.drawEllipse(QRectF(9, 6, 6, 5));
        p.drawLine(QPointF(7, 8), QPointF(9, 8));
    },
    [](QPainter& p) { trafficLight(p, 0); },
    [](QPainter& p) { trafficLight(p, 1); },
    [](QPainter& p) { trafficLight(p, 2); },
    [](QPainter& p) {  // clock
        disc(p, Qt::white);
        line(p, kDark, 1.4, {8, 8}, {8, 4});
        line(p, kDark, 1.4, {8, 8}, {11, 9});
    },
    [](QPainter& p) { box(p); },
    [](QPainter& p) {
        box(p);
        tick(p, kGreen);
    },
    [](QPainter& p) {  // kind 1: picture
        frameRect(p, {1.5, 2.5, 13, 11}, QColor(150, 200, 245));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({{2, 13}, {7, 7}, {10, 10}, {14, 6}, {14, 13}}));
        p.setBrush(kYellow);
        p.drawEllipse(QRectF(3, 4, 3, 3));
    },
    [](QPainter& p) {  // kind 2: transition, one picture giving way to another
        frameRect(p, {1.5, 1.5, 9, 9}, QColor(150, 200, 245));
        frameRect(p, {5.5, 5.5, 9, 9}, QColor(250, 190, 120));
    },
    [](QPainter& p) {  // kind 3: zoom
        p.setPen(QPen(kDark, 1.6));
        p.setBrush(QColor(200, 230, 250));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        line(p, kDark, 2.6, {9.5, 9.5}, {14, 14});
    },
    [](QPainter& p) {  // kind 4: numbered sequence
        frameRect(p, {5.5, 0.5, 9, 8}, Qt::white);
        frameRect(p, {3.5, 3.5, 9, 8}, Qt::white);
        frameRect(p, {1.5, 6.5, 9, 8}, Qt::white);
        letter(p, "1", kDark, {1.5, 6.5, 9, 8});
    },
    [](QPainter& p) {
        frameRect(p, {1.5, 2.5, 13, 11}, QColor(220, 90, 160));
    },
    [](QPainter& p) {  // kind 6: film strip
        p.fillRect(QRectF(2, 0, 12, 16), kDark);
        for (int i = 0; i < 4; ++i) {
            p.fillRect(QRectF(3, 1 + i * 4, 1.5, 2), Qt::white);
            p.fillRect(QRectF(11.5, 1 + i * 4, 1.5, 2), Qt::white);
        }
        p.fillRect(QRectF(5.5, 2, 5, 5), QColor(150, 200, 245));
        p.fillRect(QRectF(5.5, 9, 5, 5), QColor(150, 200, 245));
    },
    [](QPainter& p) {  // kind 7: picture in picture
        frameRect(p, {1.5, 2.5, 13, 11}, QColor(150, 200, 245));
        frameRect(p, {8.5, 8.5, 5, 4}, QColor(250, 190, 120));
    },
    [](QPainter& p) {  // kind 8: text
        frameRect(p, {1.5, 1.5, 13, 13}, Qt::white);
        letter(p, "T", kBlue);
    },
    [](QPainter& p) {
        frameRect(p, {2.5, 2.5, 11, 11}, QColor(160, 160, 160));
    },
};

}  // namespace

QImage traceIconStrip() {
    QImage strip(kTraceIconSize * kTraceIconCount, kTraceIconSize,
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kTraceIconCount; ++i) {
        painter.save();
        painter.translate(i * kTraceIconSize, 0);
        painter.setClipRect(0, 0, kTraceIconSize, kTraceIconSize);
        kIcons[static_cast<std::size_t>(i)](painter);
        painter.restore();
    }
    return strip;
}

}  // namespace quillfen
