#include "base/colour.h"

#include <array>

#include "base/text_numbers.h"

namespace quillfen {
namespace {

struct NamedColour {
    std::string_view name;
    ColourValue value;
};

constexpr std::array<NamedColour, 19> kColourNames = {{
    {"aqua", makeColour(0, 255, 255)},     {"black", makeColour(0, 0, 0)},
    {"blue", makeColour(0, 0, 255)},       {"fuchsia", makeColour(255, 0, 255)},
    {"gray", makeColour(128, 128, 128)},   {"green", makeColour(0, 128, 0)},
    {"lime", makeColour(0, 255, 0)},       {"maroon", makeColour(128, 0, 0)},
    {"navy", makeColour(0, 0, 128)},       {"olive", makeColour(128, 128, 0)},
    {"purple", makeColour(128, 0, 128)},   {"red", makeColour(255, 0, 0)},
    {"silver", makeColour(192, 192, 192)}, {"teal", makeColour(0, 128, 128)},
    {"white", makeColour(255, 255, 255)},  {"yellow", makeColour(255, 255, 0)},
    {"cyan", makeColour(0, 255, 255)},     {"magenta", makeColour(255, 0, 255)},
    {"ltgray", makeColour(192, 192, 192)},
}};

}  // namespace

ColourValue parseColour(std::string_view text) {
    if (!text.empty() && text.front() == '#') {
        HexRead hex = readHex(text.substr(1));
        if (!hex.ok) return 0;
        std::uint32_t v = hex.value;
        if (v == 0xFFFFFFFFu) return kNoColour;
        return ((v & 0xFF) << 16) | (((v >> 8) & 0xFF) << 8) | ((v >> 16) & 0xFF);
    }
    if (equalsIgnoreCase(text, "none")) return kNoColour;
    for (const NamedColour& c : kColourNames) {
        if (equalsIgnoreCase(text, c.name)) return c.value;
    }
    return 0;
}

}  // namespace quillfen
