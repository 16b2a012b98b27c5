#include "imaging/raster/text_drawing.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "imaging/dib_convert.h"
#include "imaging/raster/font_environment.h"
#include "imaging/raster/font_face.h"
#include "imaging/raster/font_line_layout.h"

namespace quillfen {
namespace {

QColor qColourOf(ColourValue colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

QRect qRectOf(const TextRect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

QFont fontFor(const std::optional<LogFont>& font) {
    return font ? fontFromLogFont(*font) : defaultTextFont();
}

// A drawing with its lines laid out, and the part of the frame it may touch.
struct PlannedDrawing {
    const TextDrawing* drawing;
    TextBlock block;
    QRect reach;
};

QRect reachOf(const TextDrawing& drawing, const TextBlock& block, int escapement,
              const QRect& frame) {
    bool clipped = !(drawing.format & text_format::kNoClip);
    if (clipped && drawing.rect.empty()) return {};
    if (escapement != 0) return clipped ? frame & qRectOf(drawing.rect) : frame;
    QRect reach = drawing.background != kNoColour ? qRectOf(drawing.rect) : QRect();
    // Glyphs may overhang their cells (italics, accents); a line height of margin covers it.
    int margin = block.lineHeight;
    for (const PlacedLine& line : block.lines)
        reach |= qRectOf(line.cell).adjusted(-margin, -margin, margin, margin);
    if (clipped) reach &= qRectOf(drawing.rect);
    return reach & frame;
}

void paintDrawing(QPainter& painter, const PlannedDrawing& planned, const QFont& font,
                  int escapement) {
    const TextDrawing& drawing = *planned.drawing;
    if (planned.reach.isEmpty()) return;
    bool clipped = !(drawing.format & text_format::kNoClip);
    painter.save();
    if (clipped) painter.setClipRect(qRectOf(drawing.rect));
    if (drawing.background != kNoColour) {
        QColor back = qColourOf(drawing.background);
        painter.fillRect(qRectOf(drawing.rect), back);
        if (!clipped)
            for (const PlacedLine& line : planned.block.lines)
                painter.fillRect(qRectOf(line.cell), back);
    }
    if (drawing.colour != kNoColour) {
        painter.setPen(qColourOf(drawing.colour));
        drawTextBlock(painter, planned.block, font, escapement);
    }
    painter.restore();
}

// The smallest layer that holds every visible pixel of `image`, with each row's span.
TextLayer cropVisible(const QImage& image) {
    TextLayer layer;
    int top = -1, bottom = -1, left = image.width(), right = -1;
    std::vector<std::pair<int, int>> spans(static_cast<std::size_t>(image.height()), {0, 0});
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int first = 0, last = image.width() - 1;
        while (first <= last && qAlpha(row[first]) == 0)
            ++first;
        while (last >= first && qAlpha(row[last]) == 0)
            --last;
        if (first > last) continue;
        spans[static_cast<std::size_t>(y)] = {first, last + 1};
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0) return layer;
    layer.x = left;
    layer.y = top;
    layer.width = right - left + 1;
    layer.height = bottom - top + 1;
    layer.pixels.resize(static_cast<std::size_t>(layer.width) * layer.height);
    for (int y = 0; y < layer.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(top + y)) + left;
        std::copy(row, row + layer.width, layer.pixels.begin() + std::size_t(y) * layer.width);
        auto [first, end] = spans[static_cast<std::size_t>(top + y)];
        layer.rowSpans.push_back(first < end ? std::pair{first - left, end - left}
                                             : std::pair{0, 0});
    }
    return layer;
}

// round(x / 255) for x in 0..65535.
inline unsigned divideBy255(unsigned x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// dst = src + dst x (1 - alpha), per channel, with src premultiplied.
template <int Bytes>
void blendRow(std::uint8_t* dst, const std::uint32_t* src, int count) {
    for (int i = 0; i < count; ++i, dst += Bytes) {
        std::uint32_t s = src[i];
        unsigned alpha = s >> 24;
        if (alpha == 0) continue;
        if (alpha == 255) {
            dst[0] = static_cast<std::uint8_t>(s);
            dst[1] = static_cast<std::uint8_t>(s >> 8);
            dst[2] = static_cast<std::uint8_t>(s >> 16);
            continue;
        }
        unsigned keep = 255 - alpha;
        for (int c = 0; c < 3; ++c)
            dst[c] =
                static_cast<std::uint8_t>(((s >> (8 * c)) & 0xFF) + divideBy255(dst[c] * keep));
    }
}

}  // namespace

bool TextLayer::compositeOnto(FrameImage& frame) const {
    if (!frame || !frame.rowsFit()) return false;
    BitmapInfoHeader header = frame.header();
    if (header.biCompression != kBiRgb || (header.biBitCount != 24 && header.biBitCount != 32))
        return false;
    int bytes = header.biBitCount / 8;
    int frameWidth = header.biWidth, frameHeight = std::abs(header.biHeight);
    bool bottomUp = header.biHeight > 0;
    for (int row = 0; row < height; ++row) {
        int y = this->y + row;
        if (y < 0 || y >= frameHeight) continue;
        auto [first, end] = rowSpans[static_cast<std::size_t>(row)];
        first = std::max(first, -x);
        end = std::min(end, frameWidth - x);
        std::uint8_t* line = frame.row(bottomUp ? frameHeight - 1 - y : y);
        if (first >= end) continue;
        const std::uint32_t* src = pixels.data() + std::size_t(row) * width + first;
        std::uint8_t* dst = line + std::size_t(x + first) * bytes;
        if (bytes == 4)
            blendRow<4>(dst, src, end - first);
        else
            blendRow<3>(dst, src, end - first);
    }
    return true;
}

TextLayer RenderTextLayer(int width, int height, const std::optional<LogFont>& font,
                          std::span<const TextDrawing> drawings) {
    if (width <= 0 || height <= 0 || drawings.empty() || !ensureFontSupport()) return {};
    QFont qfont = fontFor(font);
    int escapement = font ? font->escapement : 0;
    QRect frame(0, 0, width, height), reach;
    std::vector<PlannedDrawing> plan;
    for (const TextDrawing& drawing : drawings) {
        TextBlock block = layOutText(drawing.text, drawing.rect, qfont, drawing.format);
        QRect drawingReach = reachOf(drawing, block, escapement, frame);
        reach |= drawingReach;
        plan.push_back({&drawing, std::move(block), drawingReach});
    }
    if (reach.isEmpty()) return {};
    // Only the part of the frame that the drawings can reach is rendered.
    QImage surface(reach.size(), QImage::Format_ARGB32_Premultiplied);
    if (surface.isNull()) return {};
    surface.fill(Qt::transparent);
    {
        QPainter painter(&surface);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(-reach.left(), -reach.top());
        for (const PlannedDrawing& planned : plan)
            paintDrawing(painter, planned, qfont, escapement);
    }
    TextLayer layer = cropVisible(surface);
    layer.x += reach.left();
    layer.y += reach.top();
    return layer;
}

TextRect CalcTextRect(std::string_view text, const TextRect& rect,
                      const std::optional<LogFont>& font, int format) {
    if (!ensureFontSupport()) return rect;
    TextBlock block = layOutText(text, rect, fontFor(font), format);
    int widest = 0;
    for (const PlacedLine& line : block.lines)
        widest = std::max(widest, line.cell.width());
    return {rect.left, rect.top, rect.left + widest,
            rect.top + block.lineHeight * static_cast<int>(block.lines.size())};
}

FrameImage DibDrawText(FrameImage image, std::string_view text, const TextRect& rect,
                       std::string_view fontText, ColourValue colour, ColourValue background,
                       int format) {
    if (!image || (format & text_format::kCalcRect)) return image;
    std::optional<LogFont> font;
    if (!fontText.empty()) font = ParseFontSpec(fontText);
    TextDrawing drawing{std::string(text), rect, format, colour, background};
    int width = image.width(), height = std::abs(image.height());
    TextLayer layer = RenderTextLayer(width, height, font, std::span(&drawing, 1));
    if (layer.empty()) return image;
    if (layer.compositeOnto(image)) return image;
    FrameImage wide = DibTo32(image);
    if (!wide || !layer.compositeOnto(wide)) return image;
    return wide;
}

}  // namespace quillfen
