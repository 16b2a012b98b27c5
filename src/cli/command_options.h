#pragma once
// Options of a subcommand declared in one table that both reads the arguments and gives the
// usage text: a name, an optional short alias, the value's name (none for a flag), a line of
// help and what the option does to the command's argument record.

#include <charconv>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/commands.h"

namespace quillfen {

template <class Args>
struct CommandOption {
    std::string_view name;       // "--codec"
    std::string_view alias;      // "-o", or empty
    std::string_view valueName;  // "NAME"; empty for a flag
    std::string_view help;
    /// Applies the option (with its value); false when the value is not acceptable.
    bool (*apply)(Args& args, std::string_view value);
};

/// A whole decimal number, or none.
template <class Number>
std::optional<Number> readWholeNumber(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
    return value;
}

/// Reads `list`: every option of `options` (a value follows its option as the next argument
/// or after "="), and exactly one other argument, the Script (or what `operand` names), into
/// `script`. Returns an error text, empty on success.
template <class Args>
std::string readCommandOptions(const CommandArgs& list,
                               std::span<const CommandOption<Args>> options, Args& args,
                               std::string& script, std::string_view operand = "Script") {
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::string_view word = list[i];
        std::optional<std::string_view> attached;
        if (std::size_t eq = word.find('='); word.starts_with("--") && eq != word.npos) {
            attached = word.substr(eq + 1);
            word = word.substr(0, eq);
        }
        const CommandOption<Args>* option = nullptr;
        for (const CommandOption<Args>& candidate : options) {
            if (word == candidate.name || (!candidate.alias.empty() && word == candidate.alias))
                option = &candidate;
        }
        if (!option) {
            if (word.size() > 1 && word.front() == '-')
                return "unknown option " + std::string(word);
            if (!script.empty()) return "more than one " + std::string(operand) + " given";
            script = word;
            continue;
        }
        std::string_view value;
        if (!option->valueName.empty()) {
            if (attached) {
                value = *attached;
            } else if (i + 1 < list.size()) {
                value = list[++i];
            } else {
                return std::string(word) + " needs a value";
            }
        } else if (attached) {
            return std::string(word) + " takes no value";
        }
        if (!option->apply(args, value))
            return "bad value '" + std::string(value) + "' for " + std::string(word);
    }
    if (script.empty()) return "no " + std::string(operand) + " given";
    return {};
}

/// True when the arguments ask for the command's usage ("--help" or "-h").
inline bool asksForHelp(std::span<const std::string> list) {
    for (const std::string& word : list) {
        if (word == "--help" || word == "-h") return true;
    }
    return false;
}

/// One line per option for a usage text.
template <class Args>
std::string commandOptionsHelp(std::span<const CommandOption<Args>> options) {
    std::string text;
    for (const CommandOption<Args>& option : options) {
        // Appended piece by piece: GCC 12 misreads `" " + std::string(...)` at -O2 (-Wrestrict).
        std::string head = "  ";
        if (!option.alias.empty()) head.append(option.alias).append(", ");
        head += option.name;
        if (!option.valueName.empty()) head.append(" ").append(option.valueName);
        if (head.size() < 26) head.resize(26, ' ');
        text.append(head).append(" ").append(option.help).append("\n");
    }
    return text;
}

}  // namespace quillfen
