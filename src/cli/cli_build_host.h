#pragma once
// The command line's BuildHost: Trace texts go to standard output verbatim, one line each
// (coloured only on a terminal); an error line also goes to standard error as
// "SCRIPT:LINE: TEXT" followed by the line's text. It asks no questions: an existing movie
// file is not overwritten unless allowed, and no file or codec is chosen interactively.

#include <iosfwd>
#include <optional>
#include <string>

#include "output/build_host.h"
#include "script/script_lines.h"

namespace quillfen {

struct CliHostOptions {
    /// The Script's name as the user gave it, for error locations.
    std::string scriptName;
    bool colour = false;
    bool overwrite = false;
    std::optional<CodecChoice> codec;
};

class CliBuildHost : public BuildHost {
  public:
    /// `lines`, `out` and `err` are not owned and must outlive the host.
    CliBuildHost(CliHostOptions options, const ScriptLines& lines, std::ostream& out,
                 std::ostream& err);

    void addTrace(const TraceEntry& entry) override;
    void clearTrace() override {}
    void markCurrentLine(int) override {}
    void markErrorLine(int lineIndex, std::string_view text) override;
    void clearLineMark(int) override {}
    void setRunButtonText(std::string_view) override {}
    void setFrameCounter(std::string_view) override {}
    void setWaitCursor(bool) override {}
    OverwriteAnswer askOverwrite(std::string_view, std::string_view) override;
    std::optional<std::string> chooseMovieFile(std::string_view) override { return std::nullopt; }
    std::optional<CodecChoice> chooseCompression(std::string_view) override {
        return options_.codec;
    }
    void showFrame(const FrameImage&) override {}
    bool pumpEvents() override { return false; }
    void outputFileChanged(std::string_view name) override { outputFile_ = std::string(name); }
    void rememberOutputFile(std::string_view) override {}

    /// The last output file a `moviefile` command named (empty when none did).
    const std::string& outputFile() const { return outputFile_; }

  private:
    CliHostOptions options_;
    const ScriptLines& lines_;
    std::ostream& out_;
    std::ostream& err_;
    std::string outputFile_;
};

/// The escape sequence that writes text in `colour` on a terminal; empty for the normal colour.
std::string ansiColour(ColourValue colour);

}  // namespace quillfen
