#include "cli/cli_build_host.h"

#include <ostream>

#include "script/text_numbers.h"

namespace quillfen {

std::string ansiColour(ColourValue colour) {
    if (colour == kNoColour) return {};
    return formatText("\033[38;2;%d;%d;%dm", redOf(colour), greenOf(colour), blueOf(colour));
}

CliBuildHost::CliBuildHost(CliHostOptions options, const ScriptLines& lines, std::ostream& out,
                           std::ostream& err)
    : options_(std::move(options)), lines_(lines), out_(out), err_(err) {}

void CliBuildHost::addTrace(const TraceEntry& entry) {
    std::string colour = options_.colour ? ansiColour(entry.colour) : std::string();
    out_ << colour << entry.text << (colour.empty() ? "" : "\033[0m") << '\n';
}

void CliBuildHost::markErrorLine(int lineIndex, std::string_view text) {
    // Editors count lines from 1.
    out_.flush();
    err_ << options_.scriptName << ':' << lineIndex + 1 << ": " << text << '\n';
    if (lineIndex >= 0 && lineIndex < lines_.lineCount()) err_ << lines_.line(lineIndex) << '\n';
    err_.flush();
}

OverwriteAnswer CliBuildHost::askOverwrite(std::string_view, std::string_view) {
    return options_.overwrite ? OverwriteAnswer::Yes : OverwriteAnswer::Cancel;
}

}  // namespace quillfen
