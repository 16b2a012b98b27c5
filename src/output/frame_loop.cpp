#include "output/frame_loop.h"

#include <algorithm>

#include "base/text_numbers.h"
#include "script/parse_seams.h"

namespace quillfen {

FrameLoop::FrameLoop(LoopContext context)
    : context_(context),
      pipeline_(context.settings, overlays_, (context.debugFlags & kDebugCaption) != 0) {}

LoopResult FrameLoop::run(ElementList& elements, FrameSink& sink) {
    LoopResult result;
    for (const std::unique_ptr<SourceElement>& element : elements) {
        if (!element->message.empty()) parsedMessages_.emplace(element.get(), element->message);
    }
    // The first two pictures are read side by side, on the two cores the start leaves idle.
    prefetchPictures(elements, 2);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (context_.stopRequested) break;
        startElement(*elements[i]);
        if (!runElement(*elements[i], std::span(elements).subspan(i + 1), sink, result)) break;
    }
    if (result.end == LoopEnd::Completed && context_.stopRequested) result.end = LoopEnd::Stopped;
    result.framesTaken = frameIndex_;
    overlays_.clear();
    return result;
}

bool FrameLoop::runElement(SourceElement& element,
                           std::span<const std::unique_ptr<SourceElement>> later, FrameSink& sink,
                           LoopResult& result) {
    SampleFlags flags{.key = true};
    int pulledFrames = 0;
    for (PulledFrame pulled = pull(element); !pulled.ended(); pulled = pull(element)) {
        // By its second frame the Element has its own pictures in hand.
        if (++pulledFrames == 2) prefetchPictures(later, 1);
        context_.host.setFrameCounter(formatText(
            "Frame #%lld [%d]", static_cast<long long>(frameIndex_), element.nbAVIFrames()));
        // The first frame is always wanted: it sets the stream up.
        bool wanted = !started_ || sink.wants(frameIndex_);
        flags.sameAsPrevious = pulled.unchanged;
        SharedFrame frame = produce(element, std::move(pulled), wanted);
        warnStandIns(element);
        if (frame) context_.host.showFrame(*frame);
        bool stop = pump();
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

void FrameLoop::prefetchPictures(std::span<const std::unique_ptr<SourceElement>> later,
                                 int pictures) {
    // Each picture may be one Element on from the last: a picture in hand or a Transition.
    const auto reach = static_cast<std::size_t>(2 * pictures + 1);
    for (const std::unique_ptr<SourceElement>& element :
         later.first(std::min(later.size(), reach))) {
        if (pictures == 0) return;
        if (element->prefetchPicture()) --pictures;
    }
}

SinkAnswer FrameLoop::deliver(FrameSink& sink, SharedFrame frame, SampleFlags flags, bool wanted,
                              LoopResult& result) {
    if (!started_) {
        started_ = true;
        context_.settings.frameWidth = frame->width();
        context_.settings.frameHeight = frame->height();
        context_.settings.bitCount = 24;
        SinkAnswer answer = sink.start(*frame, context_.settings.frameRate);
        if (answer != SinkAnswer::Continue) return answer;
    }
    if (!fitsMovie(*frame)) {
        warnWrongSize(*frame);
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
    if (element.applyToOverlays(overlays_)) ++overlayGeneration_;
}

PulledFrame FrameLoop::pull(SourceElement& element) const {
    // When the captions are the same too, an unchanged frame would be processed into the
    // same result as the last one, which is still in hand.
    bool kept = lastFrame_ && lastOwner_ == &element && lastGeneration_ == overlayGeneration_;
    return element.pullMovieFrame(kept);
}

SharedFrame FrameLoop::produce(SourceElement& element, PulledFrame pulled, bool wanted) {
    if (pulled.unchanged) return wanted ? lastFrame_ : SharedFrame{};
    DebugCaptionInfo caption{frameIndex_, element.kind, element.lineNum, element.nbFrames(),
                             element.nbAVIFrames()};
    SharedFrame frame = shareFrame(pipeline_.process(std::move(pulled.frame), caption));
    // Keeping the last frame costs nothing: it is shared, not copied.
    bool keep = frame && !pipeline_.variesPerFrame();
    lastFrame_ = keep ? frame : SharedFrame{};
    lastOwner_ = keep ? &element : nullptr;
    lastGeneration_ = overlayGeneration_;
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
           frame.height() == context_.settings.frameHeight &&
           (frame.bitCount() == 24 || frame.bitCount() == 32);
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
    if (element.unreadablePicture().empty()) return;
    trace("Warning: picture '" + element.unreadablePicture() +
              "' could not be read; its frames are left out.",
          trace_colour::kOrange, kIconWarning);
}

void FrameLoop::warnStandIns(const SourceElement& element) {
    warnStandIn(element);
    for (const SourceElement* input : element.inputs())
        warnStandIn(*input);
}

void FrameLoop::warnStandIn(const SourceElement& element) {
    if (element.standInPicture().empty()) return;
    std::string& warned = standInsWarned_[&element];
    if (warned == element.standInPicture()) return;
    warned = element.standInPicture();
    trace(formatText("Warning: picture '%s' changed after the Script was read and cannot be read "
                     "at frame %lld; the background colour stands in for it.",
                     element.standInPicture().c_str(), static_cast<long long>(frameIndex_)),
          trace_colour::kOrange, kIconWarning);
}

void FrameLoop::warnLateMessages(const SourceElement& element) {
    warnLateMessage(element);
    for (const SourceElement* input : element.inputs())
        warnLateMessage(*input);
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
