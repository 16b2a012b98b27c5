#pragma once
// Font and colour texts of the settings and of captions.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/colour.h"

namespace quillfen {

/// A logical font: what a font text describes. Heights follow the usual convention: a
/// positive height is the cell height (ascent + descent), a negative one the character
/// height, 0 a default size.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;  // tenths of a degree
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 1;
    std::string faceName;  // at most 31 characters
};

/// "face,height,width,weight,italic,underline,strikeout,escapement,orientation"; missing
/// fields are 0. At most 255 characters of the text are read.
LogFont ParseFontSpec(std::string_view text);

/// "red,green,blue" separated by blanks and/or commas; missing numbers are 0.
ColourValue ParseColorTriple(std::string_view text);

}  // namespace quillfen
