#pragma once
// One libavcodec encoder with its colour conversion (libyuv for 4:2:0, else libswscale).

#include "media/frame_encoder.h"

struct SwsContext;

namespace quillfen {

class FfmpegFrameEncoder final : public FrameEncoder {
  public:
    FfmpegFrameEncoder() = default;
    FfmpegFrameEncoder(const FfmpegFrameEncoder&) = delete;
    FfmpegFrameEncoder& operator=(const FfmpegFrameEncoder&) = delete;
    ~FfmpegFrameEncoder() override;

    int open(const CodecInfo& codec, const CodecChoice& choice, int width, int height,
             AVRational timeBase, bool globalHeader, std::string& why) override;
    int fillParameters(AVCodecParameters* parameters) const override;
    int encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel, std::int64_t pts,
               bool key, const PacketSink& sink) override;
    int encodeAgain(std::int64_t pts, bool key, const PacketSink& sink) override;
    int flush(const PacketSink& sink) override;
    bool packetsRepeatable() const override { return repeatable_; }
    bool holdsPicture() const override { return converted_; }

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
