#include "output/movie_file_sink.h"

#include "base/text_numbers.h"

namespace quillfen {

SinkAnswer MovieFileSink::start(const FrameImage& first, double frameRate) {
    host_.addTrace(makeTraceEntry("Opening AVI file...", trace_colour::kBlue, kIconArrow));
    // The movie holds 24-bit frames whether or not the pipeline left a fourth byte.
    BitmapInfoHeader header = first.header();
    header.biBitCount = 24;
    WriterStatus status = writer_.setUpStream(header, frameRate);
    if (status.ok()) return SinkAnswer::Continue;
    host_.addTrace(
        makeTraceEntry(formatText("Error: failed when starting new AVI file (error code = %08lx).",
                                  static_cast<unsigned long>(status.code)),
                       trace_colour::kRed, kIconLightning));
    // The library's own words say more than its code.
    if (!status.reason.empty())
        host_.addTrace(makeTraceEntry(status.reason, trace_colour::kRed, kIconNone));
    return SinkAnswer::Failed;
}

SinkAnswer MovieFileSink::deliver(std::int64_t index, SharedFrame frame, SampleFlags flags) {
    WriterStatus status = writer_.writeSample(index, std::move(frame), flags);
    if (status.ok() && mixer_) status = writeSoundUntil(index + 1);
    return status.ok() ? SinkAnswer::Continue : reportFailure(status);
}

WriterStatus MovieFileSink::writeSoundUntil(std::int64_t frame) {
    WriterStatus status = writer_.writeSound(mixer_->soundUntilFrame(frame));
    // A sound file that fails mid-way only warns: silence follows and the movie goes on.
    for (std::string& warning : mixer_->takeWarnings())
        host_.addTrace(makeTraceEntry(std::move(warning), trace_colour::kOrange, kIconWarning));
    return status;
}

SinkAnswer MovieFileSink::reportFailure(const WriterStatus& status) {
    host_.addTrace(
        makeTraceEntry(writerFailureText(fileName_, status), trace_colour::kRed, kIconLightning));
    writeFailureReported_ = true;
    return SinkAnswer::Failed;
}

std::string writerFailureText(const std::string& fileName, const WriterStatus& status) {
    const char* what = status.failure == WriterFailure::Close ? "finish" : "write";
    return formatText("Error: could not %s the movie file '%s': %s.", what, fileName.c_str(),
                      status.reason.c_str());
}

}  // namespace quillfen
