#include "imaging/font_colour_text.h"

#include <vector>

#include "base/text_numbers.h"

namespace quillfen {

LogFont ParseFontSpec(std::string_view text) {
    text = text.substr(0, 255);
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) comma = text.size();
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    auto number = [&](std::size_t i) { return i < fields.size() ? readInt(fields[i]) : 0; };
    LogFont font;
    font.faceName = std::string(fields.empty() ? std::string_view{} : fields[0].substr(0, 31));
    font.height = number(1);
    font.width = number(2);
    font.weight = number(3);
    font.italic = static_cast<std::uint8_t>(number(4));
    font.underline = static_cast<std::uint8_t>(number(5));
    font.strikeOut = static_cast<std::uint8_t>(number(6));
    font.escapement = number(7);
    font.orientation = number(8);
    return font;
}

ColourValue ParseColorTriple(std::string_view text) {
    std::vector<std::string_view> numbers = splitPiecesAny(text, " ,\t");
    int rgb[3] = {0, 0, 0};
    for (std::size_t i = 0; i < 3 && i < numbers.size(); ++i)
        rgb[i] = readInt(numbers[i]);
    return makeColour(rgb[0], rgb[1], rgb[2]);
}

}  // namespace quillfen
