#pragma once
// The video encoder behind the sample muxer: takes 24 or 32-bit bottom-up rows (the fourth
// byte is dropped), hands out compressed packets. Internal to the FFmpeg movie writer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "media/codec_catalogue.h"

namespace quillfen {

class FrameEncoder {
  public:
    /// Receives each packet the encoder gives out (timestamps in the encoder's time base).
    /// Returns 0 or a negative AVERROR, which ends the encoding call.
    using PacketSink = std::function<int(AVPacket*)>;

    virtual ~FrameEncoder() = default;

    /// Opens the codec for width x height frames at `timeBase` per frame. `globalHeader`:
    /// the container wants the codec's header out of band. Returns 0 or a negative AVERROR
    /// with `why` set.
    virtual int open(const CodecInfo& codec, const CodecChoice& choice, int width, int height,
                     AVRational timeBase, bool globalHeader, std::string& why) = 0;
    /// Describes the stream for the container.
    virtual int fillParameters(AVCodecParameters* parameters) const = 0;

    /// Encodes bottom-up rows (`stride` bytes apart) of `bitsPerPixel` 24 or 32 as the frame
    /// with timestamp `pts`, forced to a key frame when `key`. Returns 0 or a negative AVERROR.
    /// The rows must stay as they are until the next call of encode, catchUp or flush has
    /// returned, or the encoder is gone: an encoder may still be reading them.
    virtual int encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel,
                       std::int64_t pts, bool key, const PacketSink& sink) = 0;
    /// Encodes the picture of the previous encode again, unconverted, as the frame with
    /// timestamp `pts`. AVERROR(EINVAL) when no picture is held (see holdsPicture).
    virtual int encodeAgain(std::int64_t pts, bool key, const PacketSink& sink) = 0;
    /// Gives out the packet of every frame encoded so far, without ending the stream, for a
    /// caller about to write a packet again. Only for packetsRepeatable encoders, some of
    /// which give a frame's packet one encode call late. Returns 0 or a negative AVERROR.
    virtual int catchUp(const PacketSink& /*sink*/) { return 0; }
    /// Drains the packets the encoder still holds. Returns 0 or a negative AVERROR.
    virtual int flush(const PacketSink& sink) = 0;

    /// True when every packet depends on its frame alone, so equal frames give equal
    /// packets (intra-only codec at constant quality).
    virtual bool packetsRepeatable() const = 0;
    /// True when a converted picture is held that encodeAgain can encode again.
    virtual bool holdsPicture() const = 0;
};

/// The encoder for `codec` as `choice` asks: libjpeg-turbo for mjpeg at constant quality
/// (it needs less CPU per frame than FFmpeg's, at equal quality), libavcodec otherwise.
std::unique_ptr<FrameEncoder> makeFrameEncoder(const CodecInfo& codec, const CodecChoice& choice);

}  // namespace quillfen
