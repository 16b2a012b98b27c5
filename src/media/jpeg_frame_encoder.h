#pragma once
// Motion JPEG through libjpeg-turbo, which takes the BGR rows as they are and converts and
// compresses them in one pass, on one thread. Every packet is one JFIF picture, 4:2:0.

#include <memory>
#include <vector>

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
    int encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel, std::int64_t pts,
               bool key, const PacketSink& sink) override;
    /// Not held: equal frames repeat their packet instead.
    int encodeAgain(std::int64_t, bool, const PacketSink&) override { return AVERROR(EINVAL); }
    int flush(const PacketSink&) override { return 0; }
    bool packetsRepeatable() const override { return true; }
    bool holdsPicture() const override { return false; }

    /// libjpeg's quality for a Script's quality 0..100, chosen so that a picture comes out as
    /// close to the source as FFmpeg's mjpeg made it at the same setting.
    static int libjpegQuality(int quality);

  private:
    struct Compressor;
    /// Compresses the rows into bytes_; false on a library error.
    bool compress(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel);

    std::unique_ptr<Compressor> compressor_;
    AVPacket* packet_ = nullptr;
    std::vector<std::uint8_t> bytes_;  // the last picture; its room is kept for the next
    int width_ = 0;
    int height_ = 0;
    int quality_ = 0;
};

}  // namespace quillfen
