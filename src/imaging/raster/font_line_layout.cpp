#include "imaging/raster/font_line_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace quillfen {
namespace {

struct MarkedText {
    QString text;
    std::vector<int> underlined;
};

// "&x" shows x underlined, "&&" shows one "&", a final lone "&" shows nothing.
MarkedText stripPrefixes(const QString& text, bool prefixes) {
    if (!prefixes) return {text, {}};
    MarkedText out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out.text += text[i];
            continue;
        }
        if (++i >= text.size()) break;
        if (text[i] != u'&') out.underlined.push_back(static_cast<int>(out.text.size()));
        out.text += text[i];
    }
    return out;
}

MarkedText slice(const MarkedText& from, int start, int end) {
    MarkedText out{from.text.mid(start, end - start), {}};
    for (int index : from.underlined)
        if (index >= start && index < end) out.underlined.push_back(index - start);
    return out;
}

// Hard lines: carriage return, line feed or both end a line; a single line drops them.
std::vector<MarkedText> splitLines(const MarkedText& text, bool singleLine) {
    std::vector<MarkedText> lines;
    int start = 0, n = static_cast<int>(text.text.size());
    for (int i = 0; i <= n; ++i) {
        bool end = i == n || text.text[i] == u'\r' || text.text[i] == u'\n';
        if (!end) continue;
        lines.push_back(slice(text, start, i));
        if (i + 1 < n && text.text[i] == u'\r' && text.text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (!singleLine) return lines;
    MarkedText joined;
    for (const MarkedText& line : lines) {
        for (int index : line.underlined)
            joined.underlined.push_back(index + static_cast<int>(joined.text.size()));
        joined.text += line.text;
    }
    return {joined};
}

class Measurer {
  public:
    Measurer(const QFont& font, double tabStop) : font_(font), tabStop_(tabStop) {}
    double width(const QString& text) const {
        QTextLayout layout(text, font_);
        layout.setTextOption(options());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) line.setLineWidth(1e7);
        layout.endLayout();
        return line.isValid() ? line.naturalTextWidth() : 0.0;
    }
    QTextOption options() const {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        if (tabStop_ > 0) option.setTabStopDistance(tabStop_);
        return option;
    }

  private:
    QFont font_;
    double tabStop_;
};

int pixels(double width) {
    return static_cast<int>(std::lround(width));
}

// Greedy breaking between words; a word wider than the rectangle keeps a line of its own.
std::vector<MarkedText> breakWords(const MarkedText& line, int maxWidth, const Measurer& m) {
    std::vector<MarkedText> out;
    const QString& s = line.text;
    int n = static_cast<int>(s.size()), start = 0;
    do {
        int best = -1;
        for (int j = start + 1; j <= n; ++j) {
            if (j < n && (s[j] != u' ' || s[j - 1] == u' ')) continue;
            int width = pixels(m.width(s.mid(start, j - start)));
            if (best < 0 || width <= maxWidth) best = j;
            if (width > maxWidth) break;
        }
        if (best < 0) best = n;
        out.push_back(slice(line, start, best));
        start = best;
        while (start < n && s[start] == u' ')
            ++start;
    } while (start < n);
    return out;
}

int lineLeft(const TextRect& rect, int width, int format) {
    if (format & text_format::kCenter) return rect.left + (rect.width() - width) / 2;
    if (format & text_format::kRight) return rect.right - width;
    return rect.left;
}

int blockTop(const TextRect& rect, int lineHeight, int format) {
    if (!(format & text_format::kSingleLine)) return rect.top;
    if (format & text_format::kVCenter) return rect.top + (rect.height() - lineHeight) / 2;
    if (format & text_format::kBottom) return rect.bottom - lineHeight;
    return rect.top;
}

}  // namespace

TextBlock layOutText(std::string_view text, const TextRect& rect, const QFont& font, int format) {
    QFontMetricsF metrics(font);
    TextBlock block;
    block.ascent = pixels(metrics.ascent());
    block.lineHeight = block.ascent + pixels(metrics.descent());
    if (format & text_format::kExpandTabs) block.tabStop = 8 * metrics.averageCharWidth();
    QString source = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (block.tabStop == 0) source.replace(u'\t', u' ');
    Measurer measurer(font, block.tabStop);
    bool singleLine = format & text_format::kSingleLine;
    std::vector<MarkedText> lines;
    for (MarkedText& hard :
         splitLines(stripPrefixes(source, !(format & text_format::kNoPrefix)), singleLine)) {
        if (singleLine || !(format & text_format::kWordBreak)) {
            lines.push_back(std::move(hard));
            continue;
        }
        for (MarkedText& soft : breakWords(hard, rect.width(), measurer))
            lines.push_back(std::move(soft));
    }
    int top = blockTop(rect, block.lineHeight, format);
    for (MarkedText& line : lines) {
        int width = pixels(measurer.width(line.text));
        int left = lineLeft(rect, width, format);
        block.lines.push_back({std::move(line.text),
                               std::move(line.underlined),
                               {left, top, left + width, top + block.lineHeight}});
        top += block.lineHeight;
    }
    return block;
}

void drawTextBlock(QPainter& painter, const TextBlock& block, const QFont& font, int escapement) {
    Measurer measurer(font, block.tabStop);
    for (const PlacedLine& placed : block.lines) {
        if (placed.text.isEmpty()) continue;
        QTextLayout layout(placed.text, font);
        layout.setTextOption(measurer.options());
        QList<QTextLayout::FormatRange> formats;
        for (int index : placed.underlined) {
            QTextLayout::FormatRange range{index, 1, {}};
            range.format.setFontUnderline(true);
            formats.append(range);
        }
        layout.setFormats(formats);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid()) continue;
        line.setLineWidth(1e7);
        layout.endLayout();
        painter.save();
        painter.translate(placed.cell.left, placed.cell.top);
        if (escapement != 0) painter.rotate(-escapement / 10.0);
        layout.draw(&painter, QPointF(0, block.ascent - line.ascent()));
        painter.restore();
    }
}

}  // namespace quillfen
