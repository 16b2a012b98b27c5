#pragma once
// The Script parser: global commands into the Movie settings, element commands and picture
// lines into Elements through an ElementFactory, in Script order. The first error ends it.

#include <cstdint>
#include <string>
#include <string_view>

#include "script/command_table.h"
#include "script/parse_seams.h"
#include "script/script_lines.h"

namespace quillfen {

inline constexpr std::string_view kSyntaxErrorText =
    "Syntax error (line must be like '>command=parameters')";

/// One non-blank, non-comment line taken apart.
struct SplitLine {
    bool ok = false;
    Command code = Command::Picture;
    std::string_view word;        // "pic" for a picture line
    std::string_view parameters;  // the whole line for a picture line
    std::string message;          // the syntax or unknown-command error when not ok
};

/// Classifies `line` (not empty, not a comment): a picture line, or a ">word=parameters"
/// command whose word is in the command table. The views point into `line`.
SplitLine splitScriptLine(std::string_view line);

struct ParseResult {
    /// True when the end of the Script or a `stop` line was reached without an error.
    bool succeeded = false;
    /// DebugFlag bits of every `debug` command executed.
    std::uint32_t debugFlags = 0;
};

/// Parses every line of `lines` into `settings` (which the caller has reset) and the factory's
/// Elements. Warnings, the first error (with its 0-based line) and new movie file names go to
/// `listener`. After a failure the settings and Elements hold what the lines before the error
/// set.
ParseResult parseScript(const ScriptLines& lines, MovieSettings& settings, ElementFactory& factory,
                        ParseListener& listener);

}  // namespace quillfen
