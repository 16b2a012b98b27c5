#include "timeline/video_element.h"

#include <vector>

#include "base/file_system.h"
#include "base/text_numbers.h"
#include "script/script_paths.h"

namespace quillfen {

VideoElement::VideoElement(int lineIndex, const MovieSettings& movieSettings,
                           std::string_view parameters)
    : SourceElement(lineIndex, movieSettings) {
    kind = ElementKind::Video;
    const std::vector<std::string_view> groups = splitPieces(parameters, '|');
    file =
        resolvePicturePath(groups.empty() ? std::string_view{} : groups[0], settings.pictureFolder);
    const std::string path = nativePath(file, settings);
    if (!FileExists(path)) {
        message = "Error: picture '" + file + "' doesn't exist.";
        return;
    }
    if (const std::uint32_t code = reader_.open(path); code != 0) {
        message = formatText(
            "Error: error encountered while reading the video file  (error code = %08lx).",
            static_cast<unsigned long>(code));
        return;
    }
    nbFrames_ = nbAVIFrames_ = reader_.setMovieFrameRate(settings.frameRate);
    parsedStamp_ = ReadFileStamp(path);
    valid = true;
}

void VideoElement::reset() {
    SourceElement::reset();
    kind = ElementKind::Video;
    requestCount = 0;
    reader_ = VideoReader{};
}

FrameImage VideoElement::nextFrame() {
    if (nbFrames_ <= 0) return {};
    firstFrame_ = false;
    --nbFrames_;
    ++requestCount;
    FrameImage frame = reader_.nextFrame();
    const bool gaveOut = !frame;
    // A clip cut short or overwritten during the build keeps its length in background frames.
    if (gaveOut) frame = standInFor(file, parsedStamp_);
    if (!frame) warnEndedEarly();
    // Spent or given out: stop the decoder now rather than when the build ends.
    if (gaveOut || nbFrames_ == 0) reader_.close();
    return frame;
}

void VideoElement::warnEndedEarly() {
    if (!message.empty()) return;
    message = formatText("Warning: video '%s' gave %d of its %d frames: %s.", file.c_str(),
                         requestCount - 1, requestCount + nbFrames_,
                         describeVideoEnd(reader_.endReason()));
    if (const std::string detail = reader_.failureText(); !detail.empty())
        message += " (" + detail + ")";
}

std::string VideoElement::describe() const {
    return dumpHead("Video\t\t") + "  file:" + file;
}

}  // namespace quillfen
