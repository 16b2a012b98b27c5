#pragma once
// Breaking a text into lines and placing them in a rectangle the way the format flags ask,
// then drawing them with a QPainter. Inside the raster layer only.

#include <QFont>
#include <QString>
#include <string_view>
#include <vector>

#include "imaging/raster/text_drawing.h"

class QPainter;

namespace quillfen {

/// One line of a laid-out text: what it shows, which characters carry the "&" underline,
/// and its cell (left, top, advance width, line height) in frame pixels.
struct PlacedLine {
    QString text;
    std::vector<int> underlined;
    TextRect cell;
};

struct TextBlock {
    std::vector<PlacedLine> lines;
    int lineHeight = 0;
    int ascent = 0;
    double tabStop = 0;  // 0: tabs are shown as spaces
};

/// Lays out `text` in `rect` with `font` and `format`: prefix characters, line breaks,
/// word breaking, tab stops, horizontal and (single-line) vertical alignment.
TextBlock layOutText(std::string_view text, const TextRect& rect, const QFont& font, int format);

/// Draws the lines of `block` with the painter's pen, each turned by `escapement` tenths of
/// a degree (counter-clockwise) around its cell's top-left corner.
void drawTextBlock(QPainter& painter, const TextBlock& block, const QFont& font, int escapement);

}  // namespace quillfen
