#include "timeline/geometry_value.h"

#include "base/text_numbers.h"

namespace quillfen {

GeometryValue GeometryValue::read(std::string_view text) {
    GeometryValue value;
    value.number = readDouble(text);
    value.percent = containsChar(text, '%');
    value.pixels = value.percent ? roundHalfUp(value.number * 0.01) : truncToInt(value.number);
    return value;
}

void GeometryValue::layout(int basis) {
    if (percent) pixels = roundHalfUp(number * basis * 0.01);
}

}  // namespace quillfen
