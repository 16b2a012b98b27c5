#pragma once
// Motion JPEG through libjpeg-turbo, which takes the BGR rows as they are and converts and
// compresses them in one pass. Every packet is one JFIF picture, 4:2:0. Frames do not depend
// on each other, so a frame is compressed on a thread of its own while the caller moves on:
// two frames at once at most, each packet given out in order, one encode call late.

#include <array>
#include <future>
#include <memory>

#include "media/frame_encoder.h"

namespace quillfen {

class JpegFrameEncoder final : public FrameEncoder {
  public:
    JpegFrameEncoder();
    JpegFrameEncoder(const JpegFrameEncoder&) = delete;
    JpegFrameEncoder& operator=(const JpegFrameEncoder&) = delete;
    ~JpegFrameEncoder() override;

    int open(const CodecInfo& codec, const CodecChoice& choice, int width, int height,
             AVRational timeBase, bool globalHeader, std::string& why) override;
    int fillParameters(AVCodecParameters* parameters) const override;
    /// Starts compressing this frame and gives out the packet of the one before.
    int encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel, std::int64_t pts,
               bool key, const PacketSink& sink) override;
    /// Not held: equal frames repeat their packet instead.
    int encodeAgain(std::int64_t, bool, const PacketSink&) override { return AVERROR(EINVAL); }
    int catchUp(const PacketSink& sink) override;
    int flush(const PacketSink& sink) override { return catchUp(sink); }
    bool packetsRepeatable() const override { return true; }
    bool holdsPicture() const override { return false; }

    /// libjpeg's quality for a Script's quality 0..100, chosen so that a picture comes out as
    /// close to the source as FFmpeg's mjpeg made it at the same setting.
    static int libjpegQuality(int quality);

  private:
    struct Compressor;
    /// One frame's compression: its own compressor, and the frame it is busy with, if any.
    struct Slot {
        std::unique_ptr<Compressor> compressor;
        std::future<bool> done;  // valid while a frame is on its way; false on a library error
        std::int64_t pts = 0;
    };
    /// Waits for the slot's frame, if any, and gives out its packet.
    int collect(Slot& slot, const PacketSink& sink);

    std::array<Slot, 2> slots_;
    std::size_t latest_ = 0;  // the slot of the frame given last
    AVPacket* packet_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace quillfen
