#include "output/version_text.h"

#include "base/text_numbers.h"

#ifndef QUILLFEN_VERSION_MAJOR
#define QUILLFEN_VERSION_MAJOR 1
#define QUILLFEN_VERSION_MINOR 0
#define QUILLFEN_VERSION_PATCH 0
#define QUILLFEN_VERSION_TWEAK 0
#endif

namespace quillfen {

std::string versionText(unsigned major, unsigned minor, unsigned build, unsigned revision) {
    major &= 0xFFFF;
    minor &= 0xFFFF;
    build &= 0xFFFF;
    revision &= 0xFFFF;
    std::string text = build == 0 ? formatText("%u.%1u", major, minor)
                                  : formatText("%u.%1u.%1u", major, minor, build);
    if (revision != 0) {
        unsigned code = 48 + (revision & 0xFF);
        text += " [R";
        text +=
            code <= 126 ? std::string(1, static_cast<char>(code)) : std::to_string(revision & 0xFF);
        text += "]";
    }
    return text;
}

std::string programVersionText() {
    return versionText(QUILLFEN_VERSION_MAJOR, QUILLFEN_VERSION_MINOR, QUILLFEN_VERSION_PATCH,
                       QUILLFEN_VERSION_TWEAK);
}

}  // namespace quillfen
