#include "output/build_driver.h"

#include <algorithm>
#include <cmath>

#include "base/file_system.h"
#include "base/text_numbers.h"
#include "imaging/dib_ops.h"
#include "media/ffmpeg_movie_writer.h"
#include "output/frame_loop.h"
#include "output/movie_file_choice.h"
#include "output/movie_file_sink.h"
#include "output/pending_movie_file.h"
#include "output/soundtrack_mixer.h"
#include "script/script_parser.h"
#include "script/script_paths.h"
#include "timeline/movie_time.h"
#include "timeline/timeline_factory.h"

namespace quillfen {
namespace {

// Keeps one frame of the movie and ends the loop once it has it.
class FrameCaptureSink : public FrameSink {
  public:
    explicit FrameCaptureSink(std::int64_t index) : index_(index) {}

    SinkAnswer start(const FrameImage&, double) override { return SinkAnswer::Continue; }
    bool wants(std::int64_t index) const override { return index == index_; }
    SinkAnswer deliver(std::int64_t index, SharedFrame frame, SampleFlags) override {
        if (index < index_) return SinkAnswer::Continue;
        if (index == index_) frame_ = std::move(frame);
        return SinkAnswer::Done;
    }
    bool hasFrame() const { return frame_ != nullptr; }
    /// The frame at 24 bits, as the movie holds it.
    FrameImage takeFrame() {
        if (!frame_) return {};
        return frame_->bitCount() == 32 ? Dib32To24(*frame_) : DibCopy(*frame_);
    }

  private:
    std::int64_t index_;
    SharedFrame frame_;
};

// The frame shown at a time is the last one that started at or before it; the small
// allowance keeps 0.04 s at 25 fps on frame 1 despite rounding. Times far outside any movie
// are clamped first, so that converting them cannot overflow.
std::int64_t frameAtSeconds(double seconds, double frameRate) {
    const double frame = std::floor(seconds * frameRate + 1e-9);
    if (!(frame >= 0.0)) return -1;
    return static_cast<std::int64_t>(std::min(frame, 1e18));
}

}  // namespace

// Turns the parser's reports into Trace entries and line marks.
class DriverParseListener : public ParseListener {
  public:
    explicit DriverParseListener(BuildDriver& driver) : driver_(driver) {}

    void warning(std::string_view text) override {
        driver_.trace(std::string(text), trace_colour::kOrange, kIconWarning);
    }
    void lineError(int lineIndex, std::string_view text) override {
        driver_.reportLineError(lineIndex, text);
    }
    void movieFileChanged(std::string_view name) override {
        driver_.outputFile_ = std::string(name);
        driver_.host_.outputFileChanged(name);
    }

  private:
    BuildDriver& driver_;
};

BuildDriver::BuildDriver(BuildHost& host, const EffectCatalogue& effects, CaptionTail& tail,
                         Clock clock)
    : host_(host), effects_(effects), tail_(tail), clock_(std::move(clock)), writerFactory_([] {
          return makeFfmpegMovieWriter();
      }) {}

BuildOutcome BuildDriver::runBuild(const ScriptLines& script, BuildMode mode) {
    BuildOutcome outcome;
    if (running_) {
        stopRequested_ = true;
        trace("Script interrupted.", trace_colour::kOrange, kIconWarning);
        return outcome;
    }
    start();
    if (parse(script) && linkAndCount(outcome)) {
        outcome.succeeded = true;
        if (mode == BuildMode::Check) {
            listElements();
        } else {
            writeMovie(outcome);
        }
    }
    finish();
    return outcome;
}

void BuildDriver::start() {
    host_.setWaitCursor(true);
    host_.clearTrace();
    startTime_ = clock_();
    trace("Processing started: " + timestamp(startTime_), trace_colour::kBlue, kIconClock);
    trace("Parsing script...", trace_colour::kBlue, kIconInformation);
    settings_.reset();
    elements_.clear();
    soundtracks_.clear();
    if (markedLine_ != -1) {
        host_.clearLineMark(markedLine_);
        markedLine_ = -1;
    }
    debugFlags_ = 0;
}

bool BuildDriver::parse(const ScriptLines& script) {
    TimelineFactory factory(elements_, effects_, tail_, &soundtracks_);
    DriverParseListener listener(*this);
    ParseResult result = parseScript(script, settings_, factory, listener);
    debugFlags_ = result.debugFlags;
    if (!result.succeeded) return false;
    trace("Script parsed successfully", trace_colour::kBlue, kIconCheckMark);
    if (debugFlags_ & kDebugTransitions) listEffects();
    host_.setRunButtonText("&Stop");
    return true;
}

void BuildDriver::listEffects() {
    trace("List of available transition effects (name, CLSID):", trace_colour::kBlue, kIconArrow);
    for (const TransitionEffect& effect : effects_.effects()) {
        if (effect.displayName.empty()) break;
        trace("  " + effect.displayName + "\t" + effect.classId.toString(), trace_colour::kNormal,
              kIconNone);
    }
}

bool BuildDriver::linkAndCount(BuildOutcome& outcome) {
    if (std::optional<LinkError> error = linkElements(elements_)) {
        reportLineError(error->lineIndex, error->text);
        return false;
    }
    outcome.totalFrames = countFrames(elements_);
    totalFrames_ = outcome.totalFrames;
    placeSoundtracks(soundtracks_, elements_);
    outcome.frameRate = settings_.frameRate;
    outcome.timeline.clear();
    for (const std::unique_ptr<SourceElement>& element : elements_) {
        outcome.timeline.push_back(
            {element->lineNum, element->kind, element->firstMovieFrame(), element->nbAVIFrames()});
    }
    trace(formatText("Total movie time: %s  (%lld frames)",
                     formatMovieTime(outcome.totalFrames / settings_.frameRate).c_str(),
                     static_cast<long long>(outcome.totalFrames)),
          trace_colour::kBlue, kIconInformation);
    return true;
}

void BuildDriver::listElements() {
    for (const std::unique_ptr<SourceElement>& element : elements_) {
        trace(element->describe(), trace_colour::kNormal,
              kIconTickedBox + static_cast<int>(element->kind));
    }
    for (const SoundtrackCue& cue : soundtracks_)
        trace(describeSoundtrack(cue, settings_.frameRate, totalFrames_), trace_colour::kNormal,
              kIconNone);
}

void BuildDriver::writeMovie(BuildOutcome& outcome) {
    const std::string& wanted = forcedOutputFile_.empty() ? outputFile_ : forcedOutputFile_;
    std::optional<std::string> name =
        chooseMovieFile(host_, wanted, (debugFlags_ & kDebugOverwrite) != 0, settings_);
    if (!name) return;
    if (forcedOutputFile_.empty()) outputFile_ = *name;
    host_.rememberOutputFile(*name);
    if (isDrivePath(*name)) {
        // Made here, the folder would be one named "C:" in the current directory.
        abortMovie("Error: the movie file " + drivePathText(*name), outcome);
        return;
    }
    std::string path = nativePath(*name, settings_);
    // A folder that cannot be made shows up as a file that cannot be created.
    CreateDirectoryPath(path, true);
    std::optional<CodecChoice> choice = host_.chooseCompression(path);
    std::unique_ptr<MovieWriter> writer = choice ? writerFactory_() : nullptr;
    if (!writer) {
        trace("Processing aborted.", trace_colour::kOrange, kIconWarning);
        return;
    }
    std::string error;
    std::optional<PendingMovieFile> file = PendingMovieFile::prepare(path, error);
    if (!file) {
        abortMovie("Error: " + error, outcome);
        return;
    }
    if (openWriter(*writer, file->writePath(), *choice, outcome))
        writeFrames(*writer, *file, path, outcome);
}

bool BuildDriver::openWriter(MovieWriter& writer, const std::string& path,
                             const CodecChoice& choice, BuildOutcome& outcome) {
    WriterStatus opened = writer.open(path, choice);
    if (opened.ok()) return true;
    if (opened.failure == WriterFailure::Refused) {
        abortMovie("Error: " + opened.reason + ".", outcome);
        return false;
    }
    trace("Error: failed when opening the new AVI (maybe still open in another application?)",
          trace_colour::kRed, kIconLightning);
    abortMovie(opened.reason, outcome, kIconNone);
    return false;
}

void BuildDriver::writeFrames(MovieWriter& writer, PendingMovieFile& file, const std::string& path,
                              BuildOutcome& outcome) {
    std::unique_ptr<SoundtrackMixer> mixer;
    if (!prepareSound(writer, mixer, outcome)) {
        file.discard();
        return;
    }
    running_ = true;
    host_.movieFramesCounted(outcome.totalFrames);
    MovieFileSink sink(writer, host_, path);
    sink.setSoundtrack(mixer.get());
    FrameLoop loop({host_, settings_, debugFlags_, stopRequested_, markedLine_});
    LoopResult result = loop.run(elements_, sink);
    if (result.end == LoopEnd::Failed)
        trace("Processing aborted.", trace_colour::kOrange, kIconWarning);
    WriterStatus closed = writer.close();
    bool closeFailed =
        !closed.ok() && !(closed.failure == WriterFailure::Write && sink.writeFailureReported());
    if (closeFailed) trace(writerFailureText(path, closed), trace_colour::kRed, kIconLightning);
    outcome.framesTaken = result.framesTaken;
    outcome.framesWritten = writer.samplesWritten();
    outcome.movie = result.end == LoopEnd::Stopped ? MovieEnd::Stopped : MovieEnd::Completed;
    if (result.end == LoopEnd::Failed || closeFailed) outcome.movie = MovieEnd::Failed;
    // A file without a single frame is no movie; one with frames is finished whatever ended
    // the build, and only now replaces an earlier movie of the same name.
    std::string error;
    if (outcome.framesWritten == 0) {
        file.discard();
    } else if (!file.commit(error)) {
        trace("Error: " + error, trace_colour::kRed, kIconLightning);
        outcome.movie = MovieEnd::Failed;
    }
}

bool BuildDriver::prepareSound(MovieWriter& writer, std::unique_ptr<SoundtrackMixer>& mixer,
                               BuildOutcome& outcome) {
    if (mute_ || soundtracks_.empty()) return true;
    // The sound keeps time with the video as the writer stores its rate (thousandths).
    const double rate = std::trunc(settings_.frameRate * 1000.0 + 0.5) / 1000.0;
    mixer = std::make_unique<SoundtrackMixer>(soundtracks_, rate, outcome.totalFrames);
    if (!mixer->hasSound()) {
        mixer.reset();
        return true;
    }
    WriterStatus status = writer.enableSound();
    if (status.ok()) return true;
    abortMovie("Error: " + status.reason + ".", outcome);
    return false;
}

void BuildDriver::abortMovie(const std::string& text, BuildOutcome& outcome, int icon) {
    trace(text, trace_colour::kRed, icon);
    trace("Processing aborted.", trace_colour::kOrange, kIconWarning);
    outcome.movie = MovieEnd::Failed;
}

FrameImage BuildDriver::renderFrame(const ScriptLines& script, FrameRequest request,
                                    BuildOutcome* outcomeOut) {
    BuildOutcome outcome;
    FrameImage frame;
    if (running_) {
        runBuild(script, BuildMode::Run);  // only asks the running build to stop
    } else {
        start();
        if (parse(script) && linkAndCount(outcome)) {
            outcome.succeeded = true;
            frame = captureFrame(request, outcome);
        }
        finish();
    }
    if (outcomeOut) *outcomeOut = outcome;
    return frame;
}

FrameImage BuildDriver::captureFrame(FrameRequest request, BuildOutcome& outcome) {
    std::int64_t index =
        request.index ? *request.index : frameAtSeconds(request.seconds, settings_.frameRate);
    if (index < 0 || index >= outcome.totalFrames) {
        trace(
            formatText("Error: the movie has no frame %lld (it has %lld frames).",
                       static_cast<long long>(index), static_cast<long long>(outcome.totalFrames)),
            trace_colour::kRed, kIconNoEntry);
        return {};
    }
    running_ = true;
    FrameCaptureSink sink(index);
    FrameLoop loop({host_, settings_, debugFlags_, stopRequested_, markedLine_});
    LoopResult result = loop.run(elements_, sink);
    outcome.framesTaken = result.framesTaken;
    outcome.movie = result.end == LoopEnd::Stopped ? MovieEnd::Stopped : MovieEnd::None;
    if (!sink.hasFrame() && result.end != LoopEnd::Stopped) {
        trace(formatText("Error: the build does not write frame %lld (see the warnings above).",
                         static_cast<long long>(index)),
              trace_colour::kRed, kIconNoEntry);
    }
    return sink.takeFrame();
}

void BuildDriver::finish() {
    host_.setRunButtonText("&Run");
    running_ = stopRequested_ = false;
    std::time_t endTime = clock_();
    long long seconds = static_cast<long long>(endTime - startTime_);
    trace(
        formatText("Processing finished: %s (processing time: %lld:%02lld:%02lld)",
                   timestamp(endTime).c_str(), seconds / 3600, (seconds % 3600) / 60, seconds % 60),
        trace_colour::kBlue, kIconClock);
    trace("Done!", trace_colour::kBlue, kIconGreenDot);
    elements_.clear();
    host_.setWaitCursor(false);
}

void BuildDriver::trace(std::string text, ColourValue colour, int icon) {
    host_.addTrace(makeTraceEntry(std::move(text), colour, icon));
}

void BuildDriver::reportLineError(int lineIndex, std::string_view text) {
    markedLine_ = lineIndex;
    trace(std::string(text), trace_colour::kRed, kIconNoEntry);
    host_.markErrorLine(lineIndex, text);
}

std::string BuildDriver::timestamp(std::time_t time) const {
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

}  // namespace quillfen
