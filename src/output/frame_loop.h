#pragma once
// The frame loop of a build: asks every Element in turn for its frames, registers captions,
// passes each frame through the pipeline, shows it, lets the host handle input, and delivers
// it to the sink as sample i, a key frame on the first frame of every Element.

#include <cstdint>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "output/build_host.h"
#include "output/frame_pipeline.h"
#include "output/frame_sink.h"
#include "script/movie_settings.h"
#include "timeline/element_list.h"
#include "timeline/text_overlays.h"

namespace quillfen {

enum class LoopEnd {
    Completed,  // every Element gave all its frames (or the sink had all it wanted)
    Stopped,    // the user asked to stop; the frame in hand was delivered first
    Failed,     // the sink failed (it reported why); "Processing aborted." follows
};

struct LoopResult {
    LoopEnd end = LoopEnd::Completed;
    /// Frames taken from the Elements (sample numbers used), delivered or not.
    std::int64_t framesTaken = 0;
    /// Frames handed to the sink.
    std::int64_t framesDelivered = 0;
};

/// The state the loop shares with the driver, none of it owned.
struct LoopContext {
    BuildHost& host;
    /// frameWidth, frameHeight and bitCount are set from the first frame.
    MovieSettings& settings;
    std::uint32_t debugFlags = 0;
    /// Set by the driver when a Stop arrives through re-entry, or by the loop when the
    /// host's event pump reports one.
    bool& stopRequested;
    /// The line marked as current, kept by the driver so that the next build clears it.
    int& markedLine;
};

class FrameLoop {
  public:
    explicit FrameLoop(LoopContext context);

    /// Runs the loop over `elements` into `sink`. A frame an Element reports unchanged is not
    /// processed again while the captions are unchanged too: the last processed frame is
    /// delivered again (the same shared block, with `sameAsPrevious`); what is delivered is
    /// the same as processing every frame.
    LoopResult run(ElementList& elements, FrameSink& sink);

    /// The captions registered so far (emptied when the loop ends).
    const OverlayList& overlays() const { return overlays_; }

  private:
    void startElement(SourceElement& element);
    /// False when the loop ends (stop, sink failure or a sink that is done). `later`: the
    /// Elements after this one.
    bool runElement(SourceElement& element, std::span<const std::unique_ptr<SourceElement>> later,
                    FrameSink& sink, LoopResult& result);
    /// Starts reading the next `pictures` pictures not yet in hand among `later`, each on
    /// another thread, while the frames before them are made and encoded: at the start,
    /// and once an Element has its own pictures in hand.
    static void prefetchPictures(std::span<const std::unique_ptr<SourceElement>> later,
                                 int pictures);
    SinkAnswer deliver(FrameSink& sink, SharedFrame frame, SampleFlags flags, bool wanted,
                       LoopResult& result);
    PulledFrame pull(SourceElement& element) const;
    SharedFrame produce(SourceElement& element, PulledFrame pulled, bool wanted);
    bool pump();
    bool fitsMovie(const FrameImage& frame) const;
    void warnWrongSize(const FrameImage& frame);
    void warnUnreadable(const SourceElement& element);
    /// Once per picture the background stands in for (a Sequence may have several), at the
    /// frame where that began.
    void warnStandIns(const SourceElement& element);
    void warnStandIn(const SourceElement& element);
    /// Writes, once, a warning an Element took on while giving frames (a clip that ended
    /// early): for the Element and for the neighbours a Transition or PIP took frames from.
    void warnLateMessages(const SourceElement& element);
    void warnLateMessage(const SourceElement& element);
    void trace(std::string text, ColourValue colour, int icon);

    LoopContext context_;
    OverlayList overlays_;
    FramePipeline pipeline_;
    std::int64_t frameIndex_ = 0;
    bool started_ = false;  // the sink has seen the first frame
    bool sizeWarned_ = false;

    // The last processed frame, for an Element's unchanged frames.
    SharedFrame lastFrame_;
    const SourceElement* lastOwner_ = nullptr;
    std::uint64_t overlayGeneration_ = 0;
    std::uint64_t lastGeneration_ = 0;

    // Messages the parser has already written, so only later ones are reported.
    std::unordered_map<const SourceElement*, std::string> parsedMessages_;
    std::unordered_set<const SourceElement*> lateMessagesWritten_;
    std::unordered_map<const SourceElement*, std::string> standInsWarned_;
};

}  // namespace quillfen
