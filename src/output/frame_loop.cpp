#include "output/frame_loop.h"

#include "script/parse_seams.h"
#include "script/text_numbers.h"
#include "timeline/text_element.h"
#include "timeline/two_input_element.h"

namespace quillfen {

FrameLoop::FrameLoop(LoopContext context)
    : context_(context),
      pipeline_(context.settings, overlays_, (context.debugFlags & kDebugCaption) != 0) {}

LoopResult FrameLoop::run(ElementList& elements, FrameSink& sink) {
    LoopResult result;
    for (const std::unique_ptr<SourceElement>& element : elements) {
        if (!element->message.empty()) parsedMessages_.emplace(element.get(), element->message);
    }
    for (const std::unique_ptr<SourceElement>& element : elements) {
        if (context_.stopRequested) break;
        startElement(*element);
        if (!runElement(*element, sink, result)) break;
    }
    if (result.end == LoopEnd::Completed && context_.stopRequested) result.end = LoopEnd::Stopped;
    result.framesTaken = frameIndex_;
    overlays_.clear();
    return result;
}

bool FrameLoop::runElement(SourceElement& element, FrameSink& sink, LoopResult& result) {
    SampleFlags flags{.key = true};
    FrameImage raw;
    for (Taken taken = take(element, raw); taken != Taken::None; taken = take(element, raw)) {
        context_.host.setFrameCounter(formatText(
            "Frame #%lld [%d]", static_cast<long long>(frameIndex_), element.nbAVIFrames));
        // The first frame is always wanted: it sets the stream up.
        bool wanted = !started_ || sink.wants(frameIndex_);
        FrameImage frame = produce(element, taken, std::move(raw), wanted);
        if (frame) context_.host.showFrame(frame);
        bool stop = pump();
        flags.sameAsPrevious = taken == Taken::Repeat;
        SinkAnswer answer = SinkAnswer::Continue;
        if (frame) answer = deliver(sink, std::move(frame), flags, wanted, result);
        flags.key = false;
        ++frameIndex_;
        if (answer == SinkAnswer::Failed) result.end = LoopEnd::Failed;
        if (answer == SinkAnswer::Continue && stop) result.end = LoopEnd::Stopped;
        if (answer != SinkAnswer::Continue || stop) return false;
    }
    warnUnreadable(element);
    warnLateMessages(element);
    return true;
}

SinkAnswer FrameLoop::deliver(FrameSink& sink, FrameImage frame, SampleFlags flags, bool wanted,
                              LoopResult& result) {
    if (!started_) {
        started_ = true;
        context_.settings.frameWidth = frame.width();
        context_.settings.frameHeight = frame.height();
        context_.settings.bitCount = 24;
        SinkAnswer answer = sink.start(frame, context_.settings.frameRate);
        if (answer != SinkAnswer::Continue) return answer;
    }
    if (!fitsMovie(frame)) {
        warnWrongSize(frame);
        return SinkAnswer::Continue;
    }
    if (!wanted) return SinkAnswer::Continue;
    ++result.framesDelivered;
    return sink.deliver(frameIndex_, std::move(frame), flags);
}

void FrameLoop::startElement(SourceElement& element) {
    trace(element.describe(), trace_colour::kNormal,
          kIconTickedBox + static_cast<int>(element.kind));
    context_.host.markCurrentLine(element.lineNum);
    context_.markedLine = element.lineNum;
    sizeWarned_ = false;
    if (isOverlayKind(element.kind)) registerOverlay(element);
}

void FrameLoop::registerOverlay(SourceElement& element) {
    auto* text = dynamic_cast<TextElement*>(&element);
    if (!text) return;
    if (!text->removesCaptions()) {
        overlays_.push_back(text);
    } else {
        std::erase_if(overlays_,
                      [&](const TextElement* other) { return other->kind == text->kind; });
    }
    ++overlayGeneration_;
}

FrameLoop::Taken FrameLoop::take(SourceElement& element, FrameImage& raw) const {
    // A still's next frame is its picture again: when the captions are the same too, the
    // processed result would be the same as the last one.
    if (lastFrame_ && lastOwner_ == &element && lastGeneration_ == overlayGeneration_ &&
        element.nextMovieFrameRepeats()) {
        element.repeatMovieFrame();
        return Taken::Repeat;
    }
    raw = element.nextMovieFrame();
    return raw ? Taken::Fresh : Taken::None;
}

FrameImage FrameLoop::produce(SourceElement& element, Taken taken, FrameImage raw, bool wanted) {
    if (taken == Taken::Repeat) return wanted ? DibCopy(lastFrame_) : FrameImage{};
    DebugCaptionInfo caption{frameIndex_, element.kind, element.lineNum, element.nbFrames,
                             element.nbAVIFrames};
    FrameImage frame = pipeline_.process(std::move(raw), caption);
    lastFrame_.reset();
    lastOwner_ = nullptr;
    if (frame && isStillKind(element.kind) && !pipeline_.variesPerFrame()) {
        lastFrame_ = DibCopy(frame);
        lastOwner_ = &element;
        lastGeneration_ = overlayGeneration_;
    }
    return frame;
}

bool FrameLoop::pump() {
    if (context_.host.pumpEvents() && !context_.stopRequested) {
        context_.stopRequested = true;
        trace("Script interrupted.", trace_colour::kOrange, kIconWarning);
    }
    return context_.stopRequested;
}

bool FrameLoop::fitsMovie(const FrameImage& frame) const {
    return frame.width() == context_.settings.frameWidth &&
           frame.height() == context_.settings.frameHeight && frame.bitCount() == 24;
}

void FrameLoop::warnWrongSize(const FrameImage& frame) {
    if (sizeWarned_) return;
    sizeWarned_ = true;
    trace(formatText("Warning: frames of %dx%d do not fit the movie's %dx%d and are left out; "
                     "a 'resize' command brings every picture to one size.",
                     frame.width(), frame.height(), context_.settings.frameWidth,
                     context_.settings.frameHeight),
          trace_colour::kOrange, kIconWarning);
}

void FrameLoop::warnUnreadable(const SourceElement& element) {
    if (element.unreadablePicture.empty()) return;
    trace("Warning: picture '" + element.unreadablePicture +
              "' could not be read; its frames are left out.",
          trace_colour::kOrange, kIconWarning);
}

void FrameLoop::warnLateMessages(const SourceElement& element) {
    warnLateMessage(element);
    if (const auto* twoInput = dynamic_cast<const TwoInputElement*>(&element)) {
        if (twoInput->prev) warnLateMessage(*twoInput->prev);
        if (twoInput->next) warnLateMessage(*twoInput->next);
    }
}

void FrameLoop::warnLateMessage(const SourceElement& element) {
    if (element.message.empty() || lateMessagesWritten_.contains(&element)) return;
    auto parsed = parsedMessages_.find(&element);
    if (parsed != parsedMessages_.end() && parsed->second == element.message) return;
    lateMessagesWritten_.insert(&element);
    trace(element.message, trace_colour::kOrange, kIconWarning);
}

void FrameLoop::trace(std::string text, ColourValue colour, int icon) {
    context_.host.addTrace(makeTraceEntry(std::move(text), colour, icon));
}

}  // namespace quillfen
