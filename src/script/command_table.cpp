#include "script/command_table.h"

#include "base/text_numbers.h"

namespace quillfen {

std::optional<Command> findCommandKeyword(std::string_view word) {
    for (std::size_t i = 0; i < kCommandKeywords.size(); ++i) {
        if (equalsIgnoreCase(word, kCommandKeywords[i])) return static_cast<Command>(i);
    }
    return std::nullopt;
}

}  // namespace quillfen
