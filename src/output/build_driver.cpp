#include "output/build_driver.h"

#include "script/script_parser.h"
#include "script/text_numbers.h"
#include "timeline/movie_time.h"
#include "timeline/timeline_factory.h"

namespace quillfen {

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
    : host_(host), effects_(effects), tail_(tail), clock_(std::move(clock)) {}

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
        // Writing the movie (the Run mode's frame loop) comes with the movie writer.
        if (mode == BuildMode::Check) listElements();
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
    if (markedLine_ != -1) {
        host_.clearLineMark(markedLine_);
        markedLine_ = -1;
    }
    debugFlags_ = 0;
}

bool BuildDriver::parse(const ScriptLines& script) {
    TimelineFactory factory(elements_, effects_, tail_);
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
