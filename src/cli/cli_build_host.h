#pragma once
// The command line's BuildHost: Trace texts go to standard output verbatim, one line each
// (coloured only on a terminal); an error line also goes to standard error as
// "SCRIPT:LINE: TEXT" followed by the line's text. For a Run build it asks the overwrite
// question on a terminal (else an existing file needs --overwrite), draws a progress line on
// standard error, takes the codec from the options and reports Ctrl+C as Stop.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "output/build_host.h"
#include "script/script_lines.h"

namespace quillfen {

/// The command line's codec options; what is not given comes from the codec's defaults.
struct CodecRequest {
    std::optional<std::string> name;
    std::optional<int> quality;
    std::optional<int> keyFrameInterval;
    std::optional<int> dataRateKbps;
};

/// The choice for a movie file `path`: the named codec, else the default of the container
/// the name asks for (no codec at all for an unknown container, which the writer refuses
/// with its own message).
CodecChoice codecChoiceFor(std::string_view path, const CodecRequest& request);

struct CliHostOptions {
    /// The Script's name as the user gave it, for error locations.
    std::string scriptName;
    bool colour = false;
    /// An existing movie file may be replaced without asking.
    bool overwrite = false;
    /// The overwrite question may be asked: `answers` and standard error are a terminal.
    bool interactive = false;
    /// Draw the progress line on standard error (a terminal, not --quiet).
    bool progress = false;
    /// The -o name, for messages; empty when the Script's moviefile is used.
    std::string movieFile;
    CodecRequest codec;
    /// Set from a signal handler when the user asks to stop; not owned, may be null.
    const std::atomic<bool>* stopFlag = nullptr;
    /// Where the answer to the overwrite question is read; not owned, may be null.
    std::istream* answers = nullptr;
};

class CliBuildHost : public BuildHost {
  public:
    /// `lines`, `out` and `err` are not owned and must outlive the host.
    CliBuildHost(CliHostOptions options, const ScriptLines& lines, std::ostream& out,
                 std::ostream& err);

    void addTrace(const TraceEntry& entry) override;
    void clearTrace() override {}
    void markCurrentLine(int lineIndex) override { currentLine_ = lineIndex; }
    void markErrorLine(int lineIndex, std::string_view text) override;
    void clearLineMark(int) override {}
    void setRunButtonText(std::string_view) override {}
    void setFrameCounter(std::string_view text) override;
    void movieFramesCounted(std::int64_t totalFrames) override;
    void setWaitCursor(bool) override {}
    OverwriteAnswer askOverwrite(std::string_view question, std::string_view) override;
    std::optional<std::string> chooseMovieFile(std::string_view) override;
    std::optional<CodecChoice> chooseCompression(std::string_view movieFile) override {
        return codecChoiceFor(movieFile, options_.codec);
    }
    void showFrame(const FrameImage&) override {}
    bool pumpEvents() override { return options_.stopFlag && options_.stopFlag->load(); }
    void outputFileChanged(std::string_view name) override { outputFile_ = std::string(name); }
    void rememberOutputFile(std::string_view) override {}

    /// The last output file a `moviefile` command named (empty when none did).
    const std::string& outputFile() const { return outputFile_; }

  private:
    void drawProgress(std::int64_t frame);
    void clearProgress();
    std::string progressText(std::int64_t frame, double elapsedSeconds) const;

    CliHostOptions options_;
    const ScriptLines& lines_;
    std::ostream& out_;
    std::ostream& err_;
    std::string outputFile_;
    bool declinedOverwrite_ = false;

    // Progress line
    using Clock = std::chrono::steady_clock;
    std::int64_t totalFrames_ = 0;
    int currentLine_ = -1;
    Clock::time_point loopStart_;
    Clock::time_point lastDrawn_;
    bool progressShown_ = false;
};

/// The escape sequence that writes text in `colour` on a terminal; empty for the normal colour.
std::string ansiColour(ColourValue colour);

}  // namespace quillfen
