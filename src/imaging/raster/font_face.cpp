#include "imaging/raster/font_face.h"

#include <QFontMetricsF>
#include <QRawFont>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace quillfen {
namespace {

// Default character height when a font asks for height 0 (a 12-point font on a 96-dpi screen).
constexpr int kDefaultPixelSize = 16;

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

int readBigEndian16(const QByteArray& table, int offset) {
    return (static_cast<unsigned char>(table[offset]) << 8) |
           static_cast<unsigned char>(table[offset + 1]);
}

// Character (em) height per pixel of cell height, from the font's own Windows metrics
// (usWinAscent + usWinDescent), which is what a cell height counts.
double emPerCellHeight(const QFont& family) {
    QFont probe = family;
    probe.setPixelSize(100);
    QRawFont raw = QRawFont::fromFont(probe);
    QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    if (os2.size() >= 78) {
        int cell = readBigEndian16(os2, 74) + readBigEndian16(os2, 76);
        if (cell > 0) return raw.unitsPerEm() / cell;
    }
    QFontMetricsF metrics(probe);
    double cell = metrics.ascent() + metrics.descent();
    return cell > 0 ? 100.0 / cell : 1.0;
}

void applyHeight(QFont& font, int height) {
    // In double, so the ends of the int range can be negated and scaled without overflow.
    double pixels = kDefaultPixelSize;
    if (height < 0) pixels = -static_cast<double>(height);
    if (height > 0) pixels = std::round(height * emPerCellHeight(font));
    font.setPixelSize(static_cast<int>(std::clamp(pixels, 1.0, double{INT_MAX})));
}

void applyWidth(QFont& font, int width) {
    if (width == 0) return;
    double natural = QFontMetricsF(font).averageCharWidth();
    if (natural <= 0) return;
    double stretch = std::round(100.0 * std::abs(static_cast<double>(width)) / natural);
    font.setStretch(static_cast<int>(std::clamp(stretch, 1.0, 4000.0)));
}

}  // namespace

QString fontFamilyFor(std::string_view faceName) {
    if (faceName.empty() || sameName(faceName, "Arial")) return QStringLiteral("Liberation Sans");
    if (sameName(faceName, "Times New Roman")) return QStringLiteral("Liberation Serif");
    if (sameName(faceName, "Courier New")) return QStringLiteral("Liberation Mono");
    return QString::fromUtf8(faceName.data(), static_cast<qsizetype>(faceName.size()));
}

QFont fontFromLogFont(const LogFont& logFont) {
    QFont font(fontFamilyFor(logFont.faceName));
    font.setStyleHint(QFont::AnyStyle, QFont::PreferAntialias);
    applyHeight(font, logFont.height);
    if (logFont.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(logFont.weight, 1, 1000)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    applyWidth(font, logFont.width);
    return font;
}

QFont defaultTextFont() {
    return fontFromLogFont(LogFont{});
}

}  // namespace quillfen
