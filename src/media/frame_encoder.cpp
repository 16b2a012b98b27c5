#include "media/frame_encoder.h"

#include "media/ffmpeg_frame_encoder.h"
#include "media/jpeg_frame_encoder.h"

namespace quillfen {

std::unique_ptr<FrameEncoder> makeFrameEncoder(const CodecInfo& codec, const CodecChoice& choice) {
    // A data rate needs FFmpeg's rate control.
    if (codec.name == "mjpeg" && choice.dataRateKbps == 0)
        return std::make_unique<JpegFrameEncoder>();
    return std::make_unique<FfmpegFrameEncoder>();
}

}  // namespace quillfen
