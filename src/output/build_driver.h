#pragma once
// One Movie build, from the button press to "Done!": clear the Trace, reset the settings,
// parse, link and count, then list the Elements ("Check script") or write the movie.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/effects/effect_catalogue.h"
#include "media/movie_writer.h"
#include "output/build_host.h"
#include "script/movie_settings.h"
#include "script/script_lines.h"
#include "timeline/caption_tail.h"
#include "timeline/element_list.h"
#include "timeline/soundtrack.h"

namespace quillfen {

class PendingMovieFile;
class SoundtrackMixer;

enum class BuildMode { Check, Run };

/// How the writing of a movie ended.
enum class MovieEnd {
    None,       // no movie was written (Check, an error before the file, a cancelled choice)
    Completed,  // every frame was taken and the file was finished
    Stopped,    // the user stopped the build; the file holds the frames written so far
    Failed,     // the stream could not be set up, or writing or finishing the file failed
};

/// Where one Element sits in the counted movie.
struct TimelineEntry {
    int lineIndex = 0;
    ElementKind kind = ElementKind::None;
    std::int64_t firstFrame = 0;
    std::int64_t frames = 0;
    friend bool operator==(const TimelineEntry&, const TimelineEntry&) = default;
};

struct BuildOutcome {
    /// Parsing and linking succeeded.
    bool succeeded = false;
    /// The movie's frame total (0 when the build ended before counting).
    std::int64_t totalFrames = 0;
    MovieEnd movie = MovieEnd::None;
    /// Frames taken from the Elements, and frames handed to the movie writer.
    std::int64_t framesTaken = 0;
    std::int64_t framesWritten = 0;
    /// The Elements in Script order with their place in the movie, once counted.
    std::vector<TimelineEntry> timeline;
    /// The movie's frame rate, once parsed.
    double frameRate = 0;
};

/// Which frame `renderFrame` renders: `index` when set, else the frame shown at `seconds`.
struct FrameRequest {
    std::optional<std::int64_t> index;
    double seconds = 0;
};

class BuildDriver {
  public:
    using Clock = std::function<std::time_t()>;

    /// `host`, `effects` and `tail` are not owned and must outlive the driver. `clock` gives
    /// the wall-clock time of the Trace's timestamps.
    BuildDriver(
        BuildHost& host, const EffectCatalogue& effects, CaptionTail& tail,
        Clock clock = [] { return std::time(nullptr); });

    /// Runs one build of `script`. While a build writes frames, a second call only asks it to
    /// stop ("Script interrupted."). Every build ends with "Done!" and an empty Element list.
    BuildOutcome runBuild(const ScriptLines& script, BuildMode mode);

    /// Runs a build that writes no movie and returns the requested frame exactly as the Run
    /// build would write it, or an empty image (with an error in the Trace) when the Script
    /// fails, the frame is beyond the movie, or the build would not write that frame.
    FrameImage renderFrame(const ScriptLines& script, FrameRequest request,
                           BuildOutcome* outcome = nullptr);

    using WriterFactory = std::function<std::unique_ptr<MovieWriter>()>;
    /// How Run builds make their movie writer (FFmpeg's by default).
    void setWriterFactory(WriterFactory factory) { writerFactory_ = std::move(factory); }

    /// The settings of the builds; set `scriptFolder` to the Script file's folder before a
    /// build (each build resets the rest).
    MovieSettings& settings() { return settings_; }
    /// The movie file name: set by the user or by `moviefile`, kept across builds.
    const std::string& outputFile() const { return outputFile_; }
    void setOutputFile(std::string name) { outputFile_ = std::move(name); }
    /// A movie file that wins over the Script's `moviefile` (the command line's -o); empty:
    /// none.
    void forceOutputFile(std::string name) { forcedOutputFile_ = std::move(name); }
    /// Builds write no sound stream, whatever the Script's soundtrack says (--mute).
    void setMute(bool mute) { mute_ = mute; }
    /// DebugFlag bits of the last parse.
    std::uint32_t debugFlags() const { return debugFlags_; }

  private:
    void start();
    bool parse(const ScriptLines& script);
    void listEffects();
    bool linkAndCount(BuildOutcome& outcome);
    void listElements();
    void writeMovie(BuildOutcome& outcome);
    bool openWriter(MovieWriter& writer, const std::string& path, const CodecChoice& choice,
                    BuildOutcome& outcome);
    void writeFrames(MovieWriter& writer, PendingMovieFile& file, const std::string& path,
                     BuildOutcome& outcome);
    /// Writes `text` (red) and "Processing aborted.", and marks the movie failed.
    void abortMovie(const std::string& text, BuildOutcome& outcome, int icon = kIconLightning);
    /// The mixer of the Script's soundtrack with the writer's sound stream enabled, or none
    /// for a silent movie; false when the writer refuses sound (reported).
    bool prepareSound(MovieWriter& writer, std::unique_ptr<SoundtrackMixer>& mixer,
                      BuildOutcome& outcome);
    FrameImage captureFrame(FrameRequest request, BuildOutcome& outcome);
    void finish();

    void trace(std::string text, ColourValue colour, int icon);
    void reportLineError(int lineIndex, std::string_view text);
    std::string timestamp(std::time_t time) const;

    BuildHost& host_;
    const EffectCatalogue& effects_;
    CaptionTail& tail_;
    Clock clock_;
    MovieSettings settings_;
    ElementList elements_;
    SoundtrackList soundtracks_;
    std::int64_t totalFrames_ = 0;
    bool mute_ = false;
    std::string outputFile_;
    std::string forcedOutputFile_;
    WriterFactory writerFactory_;
    std::uint32_t debugFlags_ = 0;
    int markedLine_ = -1;
    bool running_ = false;
    bool stopRequested_ = false;
    std::time_t startTime_ = 0;

    friend class DriverParseListener;
};

}  // namespace quillfen
