#pragma once
// The synchronous core of the FFmpeg movie writer: one container with one video stream,
// samples encoded (or reused) and written in order. Internal to the FFmpeg movie writer,
// which may run it on a worker thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/frame_image.h"
#include "media/codec_catalogue.h"
#include "media/ffmpeg_file_sink.h"
#include "media/ffmpeg_sound_encoder.h"
#include "media/frame_encoder.h"
#include "media/movie_writer.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace quillfen {

/// The bytes of one sample, held: a whole Frame image or a copy of the caller's rows.
struct SampleJob {
    std::int64_t index = 0;
    SharedFrame block;
    std::size_t offset = 0;  // where the rows start inside `block`
    std::size_t length = 0;
    SampleFlags flags;
    int bitsPerPixel = 24;  // 32: the fourth byte is dropped on the way into the file
    /// Sound to write instead of a sample (the writer's sound-only jobs).
    std::vector<float> sound;

    std::span<const std::uint8_t> rows() const { return {block->data() + offset, length}; }
};

class FfmpegSampleMuxer {
  public:
    explicit FfmpegSampleMuxer(bool reuseIdenticalSamples) : reuse_(reuseIdenticalSamples) {}
    FfmpegSampleMuxer(const FfmpegSampleMuxer&) = delete;
    FfmpegSampleMuxer& operator=(const FfmpegSampleMuxer&) = delete;
    ~FfmpegSampleMuxer();

    /// See MovieWriter::open.
    WriterStatus open(const std::string& path, const CodecChoice& choice);
    /// See MovieWriter::enableSound: the sound stream is made with the video stream.
    WriterStatus enableSound();
    /// See MovieWriter::setUpStream; the header is assumed checked by the caller.
    WriterStatus setUpStream(const BitmapInfoHeader& first, double frameRate);
    /// Encodes and writes sound that follows the last sample; the first failure sticks.
    WriterStatus writeSound(std::span<const float> samples);
    /// Encodes (or reuses) and writes one sample; the first failure sticks.
    WriterStatus writeSample(SampleJob& job);
    /// Drains the encoder, writes the trailer and releases the file; harmless twice.
    WriterStatus close();

    bool isOpen() const { return sink_.isOpen(); }
    bool streamReady() const { return headerWritten_; }
    std::int64_t samplesWritten() const { return samplesWritten_; }

  private:
    WriterStatus writeRawSample(SampleJob& job, bool same);
    WriterStatus writeEncodedSample(SampleJob& job, bool same);
    /// Writes the previous packet again as sample `index`.
    int writeAgain(std::int64_t index);
    bool sameAsPrevious(const SampleJob& job) const;
    /// A packet of the job's 32-bit rows as 24-bit rows (padded to 4 bytes), or none.
    AVPacket* packetOf24BitRows(const SampleJob& job) const;
    int writePacket(AVPacket* packet, std::int64_t index);
    int writeSoundPacket(AVPacket* packet);
    int muxPacket(AVPacket* packet);
    WriterStatus failWrite(int err, std::int64_t index);
    void release();

    bool reuse_;
    CodecChoice choice_;
    const CodecInfo* codec_ = nullptr;
    Container container_ = Container::Avi;
    std::string path_;
    FfmpegFileSink sink_;
    std::unique_ptr<FrameEncoder> encoder_;
    bool soundWanted_ = false;
    std::unique_ptr<FfmpegSoundEncoder> sound_;  // with a sound stream only
    AVFormatContext* format_ = nullptr;
    AVStream* stream_ = nullptr;
    AVRational frameTime_{1, 25};  // one frame in seconds: the encoder's time base
    std::size_t stride_ = 0;       // of 24-bit rows
    int width_ = 0;
    int height_ = 0;
    bool headerWritten_ = false;
    bool raw_ = false;
    AVPacket* previousPacket_ = nullptr;  // kept for reuse; timestamps are rewritten
    SharedFrame previousFrame_;           // the last frame encoded (see writeEncodedSample)
    std::size_t previousOffset_ = 0;
    int previousBits_ = 24;
    std::int64_t lastIndex_ = -1;
    std::atomic<std::int64_t> samplesWritten_ = 0;  // read from the caller's thread
    WriterStatus failure_;
};

}  // namespace quillfen
