#pragma once
// One libavcodec encoder with its colour conversion: takes 24 or 32-bit bottom-up rows (the
// fourth byte is dropped as the colours are converted), hands out compressed packets.
// Internal to the FFmpeg movie writer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "media/codec_catalogue.h"

struct SwsContext;

namespace quillfen {

class FfmpegFrameEncoder {
  public:
    /// Receives each packet the encoder gives out (timestamps in the encoder's time base).
    /// Returns 0 or a negative AVERROR, which ends the encoding call.
    using PacketSink = std::function<int(AVPacket*)>;

    FfmpegFrameEncoder() = default;
    FfmpegFrameEncoder(const FfmpegFrameEncoder&) = delete;
    FfmpegFrameEncoder& operator=(const FfmpegFrameEncoder&) = delete;
    ~FfmpegFrameEncoder();

    /// Opens the codec for width x height frames at `timeBase` per frame. `globalHeader`:
    /// the container wants the codec's header out of band. Returns 0 or a negative AVERROR
    /// with `why` set.
    int open(const CodecInfo& codec, const CodecChoice& choice, int width, int height,
             AVRational timeBase, bool globalHeader, std::string& why);
    /// Describes the stream for the container.
    int fillParameters(AVCodecParameters* parameters) const;

    /// Encodes bottom-up rows (`stride` bytes apart) of `bitsPerPixel` 24 or 32 as the frame
    /// with timestamp `pts`, forced to a key frame when `key`. Returns 0 or a negative AVERROR.
    int encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel, std::int64_t pts,
               bool key, const PacketSink& sink);
    /// Encodes the picture of the previous encode again, unconverted, as the frame with
    /// timestamp `pts`. AVERROR(EINVAL) when nothing was encoded yet.
    int encodeAgain(std::int64_t pts, bool key, const PacketSink& sink);
    /// Drains the packets the encoder still holds. Returns 0 or a negative AVERROR.
    int flush(const PacketSink& sink);

    /// True when every packet depends on its frame alone, so equal frames give equal
    /// packets (intra-only codec at constant quality).
    bool packetsRepeatable() const { return repeatable_; }
    /// True when a picture was converted and encodeAgain can encode it again.
    bool holdsPicture() const { return converted_; }

  private:
    int receivePackets(const PacketSink& sink);
    int send(std::int64_t pts, bool key, const PacketSink& sink);
    void applyQuality(const CodecInfo& codec, const CodecChoice& choice);
    /// Fills frame_ from the rows; false when no conversion is at hand.
    bool convert(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel);
    /// libswscale from `source` (BGR24 or BGR0) to the encoder's format, made on first use.
    SwsContext* scalerFrom(AVPixelFormat source);

    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* scaler_ = nullptr;    // for 24-bit rows
    SwsContext* scaler32_ = nullptr;  // for 32-bit rows
    int qscaleLambda_ = 0;
    bool repeatable_ = false;
    bool converted_ = false;  // frame_ holds the last encoded picture
};

}  // namespace quillfen
