#pragma once
// The movie's sound stream: 48 kHz stereo encoded with the codec that suits the container
// (AAC in MP4, MOV and MKV; MP3 in AVI, or 16-bit PCM beside uncompressed video; WMA 2 in
// WMV). Internal to the FFmpeg movie writer.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/codec_catalogue.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace quillfen {

class FfmpegSoundEncoder {
  public:
    using PacketSink = std::function<int(AVPacket*)>;

    FfmpegSoundEncoder() = default;
    ~FfmpegSoundEncoder();
    FfmpegSoundEncoder(const FfmpegSoundEncoder&) = delete;
    FfmpegSoundEncoder& operator=(const FfmpegSoundEncoder&) = delete;

    /// Adds the sound stream to `format` (before its header is written). A negative FFmpeg
    /// error, with `why` set, when the codec is missing or will not open.
    int open(AVFormatContext* format, Container container, bool rawVideo, std::string& why);

    /// Encodes interleaved stereo samples; each finished packet goes to `sink` with its
    /// stream index and timestamps in the stream's time base.
    int encode(std::span<const float> samples, const PacketSink& sink);
    /// Encodes what is left (a last, shorter frame) and drains the encoder.
    int flush(const PacketSink& sink);

  private:
    int encodeFrame(std::size_t frames, const PacketSink& sink);
    int receivePackets(const PacketSink& sink);

    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    std::vector<float> pending_;  // interleaved samples not yet encoded
    std::int64_t nextPts_ = 0;
    int skipFrames_ = 0;  // our first samples not encoded, standing in for the padding
    bool shortLastFrame_ = false;
};

}  // namespace quillfen
