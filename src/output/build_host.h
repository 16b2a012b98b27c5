#pragma once
// What the build driver asks of the window that runs it: the main window, the command line
// and a recording test host implement it. The driver itself never touches a terminal, a
// dialog or a widget.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/frame_image.h"
#include "media/codec_catalogue.h"
#include "output/trace.h"

namespace quillfen {

enum class OverwriteAnswer { Yes, No, Cancel };

class BuildHost {
  public:
    virtual ~BuildHost() = default;

    /// Appends one Trace entry (and shows it as the newest).
    virtual void addTrace(const TraceEntry& entry) = 0;
    /// Removes every Trace entry.
    virtual void clearTrace() = 0;

    /// Marks Script line `lineIndex` (0-based) as the line being built; one line at a time.
    virtual void markCurrentLine(int lineIndex) = 0;
    /// Marks Script line `lineIndex` as the error line and brings it into view; `text` is the
    /// error just added to the Trace.
    virtual void markErrorLine(int lineIndex, std::string_view text) = 0;
    /// Removes the mark of line `lineIndex`.
    virtual void clearLineMark(int lineIndex) = 0;

    /// The Run button's caption ("&Run" or "&Stop").
    virtual void setRunButtonText(std::string_view text) = 0;
    /// The frame counter's text ("Frame #12 [40]").
    virtual void setFrameCounter(std::string_view text) = 0;
    /// The frame loop of a Run build starts on a movie of `totalFrames` frames (for a
    /// progress display; nothing to do by default).
    virtual void movieFramesCounted(std::int64_t /*totalFrames*/) {}
    /// Shows or removes the busy cursor for the duration of a build.
    virtual void setWaitCursor(bool busy) = 0;

    /// Asks whether an existing movie file may be overwritten.
    virtual OverwriteAnswer askOverwrite(std::string_view question, std::string_view title) = 0;
    /// Lets the user choose the movie file; none when cancelled.
    virtual std::optional<std::string> chooseMovieFile(std::string_view title) = 0;
    /// Lets the user choose how the movie is compressed; none when cancelled.
    virtual std::optional<CodecChoice> chooseCompression(std::string_view movieFile) = 0;

    /// Shows the frame being written (valid only during the call).
    virtual void showFrame(const FrameImage& frame) = 0;
    /// Handles pending user input between frames; true when the user asked to stop.
    virtual bool pumpEvents() = 0;

    /// The output file was set by a `moviefile` command or chosen for a build: show it.
    virtual void outputFileChanged(std::string_view name) = 0;
    /// The movie file of a build that writes one: keep it for the next session.
    virtual void rememberOutputFile(std::string_view name) = 0;
};

}  // namespace quillfen
