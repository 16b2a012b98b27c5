#pragma once
// Logical fonts turned into Qt fonts, with the platform's meaning of heights and widths.
// Inside the raster layer only; callers must have called ensureFontSupport().

#include <QFont>
#include <QString>
#include <string_view>

#include "imaging/font_colour_text.h"

namespace quillfen {

/// The installed family for a face name: "Arial", "Times New Roman" and "Courier New" (any
/// case) give their metric-compatible free fonts, an empty name the "Arial" one; other names
/// are left to fontconfig's matching.
QString fontFamilyFor(std::string_view faceName);

/// The Qt font of `logFont`: a positive height is the cell height (ascent + descent), a
/// negative one the character height, 0 a default size; a width other than 0 is the average
/// character width. Weight (0 = normal), italic, underline and strike-out as given.
/// Escapement is not part of the font: the drawing rotates the lines.
QFont fontFromLogFont(const LogFont& logFont);

/// The font used when a caption gives no font text.
QFont defaultTextFont();

}  // namespace quillfen
