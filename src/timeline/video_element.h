#pragma once
// A video clip on the timeline: a moving kind whose frames come from the video reader at the
// clip's own size (the build driver fits them to the output size).

#include <cstdint>
#include <string_view>

#include "timeline/source_element.h"
#include "timeline/video_reader.h"

namespace quillfen {

class VideoElement : public SourceElement {
  public:
    /// Parameters "clip name|..." (further groups are ignored). Invalid, with the message, when
    /// the file does not exist or FFmpeg cannot open it as video. A valid Element has the
    /// clip's frame count, thinned when the movie's rate is lower than the clip's.
    VideoElement(int lineIndex, const MovieSettings& settings, std::string_view parameters);

    /// Closes the clip and clears every field.
    void reset() override;
    /// The next clip frame, or none when the Element is spent. A clip that gives out before
    /// the Element's frames are spent leaves a warning naming it in `message`, unless the file
    /// changed since the Script was read: then the background colour stands in for the rest
    /// (standInPicture names the clip).
    FrameImage nextFrame() override;
    std::string describe() const override;

    const VideoReader& reader() const { return reader_; }

    std::int32_t requestCount = 0;

  private:
    void warnEndedEarly();

    VideoReader reader_;
};

}  // namespace quillfen
