#include "media/video_decoder.h"

#include <atomic>
#include <cmath>
#include <limits>

#include "imaging/frame_image.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

namespace quillfen {

namespace {

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct AvFrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

constexpr std::int64_t kUnitsPerSecond = 10'000'000;  // 100-nanosecond units
// swscale's vector code may store a few bytes past the last pixel of a row.
constexpr std::size_t kConverterSlack = 64;

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

/// The clip's nominal rate: the rate every timestamp fits first (it survives gaps in the
/// sample times), then the average, then a usual default.
AVRational clipRate(const AVStream& stream) {
    if (stream.r_frame_rate.num > 0 && stream.r_frame_rate.den > 0) return stream.r_frame_rate;
    if (stream.avg_frame_rate.num > 0 && stream.avg_frame_rate.den > 0)
        return stream.avg_frame_rate;
    return AVRational{25, 1};
}

int firstVideoStream(const AVFormatContext& format) {
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVStream& stream = *format.streams[i];
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) == 0)
            return static_cast<int>(i);
    }
    return AVERROR_STREAM_NOT_FOUND;
}

std::int32_t clampToInt32(std::int64_t value) {
    if (value < 0) return 0;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

class FfmpegVideoSource final : public VideoSampleSource {
  public:
    int open(const std::string& path);

    const VideoClipInfo& info() const override { return info_; }
    VideoReadStatus read(VideoSample& sample) override;
    void interrupt() override { interrupted_.store(true); }
    std::string failure() const override { return failure_; }

  private:
    static int interruptCallback(void* self) {
        return static_cast<FfmpegVideoSource*>(self)->interrupted_.load() ? 1 : 0;
    }
    int openDecoder();
    void describeClip();
    bool convert(VideoSample& sample);
    double sampleTime();
    /// Feeds the decoder one packet of our stream; false once the input is exhausted.
    bool feedDecoder();
    void noteFailure(const char* what, int code);

    std::atomic<bool> interrupted_{false};
    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    std::unique_ptr<AVCodecContext, CodecFreer> codec_;
    std::unique_ptr<AVPacket, PacketFreer> packet_;
    std::unique_ptr<AVFrame, AvFrameFreer> frame_;
    std::unique_ptr<SwsContext, ScalerFreer> scaler_;
    AVStream* stream_ = nullptr;  // owned by format_
    VideoClipInfo info_;
    std::int64_t originPts_ = AV_NOPTS_VALUE;
    double lastTime_ = -1.0;
    bool draining_ = false;
    std::string failure_;
};

int FfmpegVideoSource::open(const std::string& path) {
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) return AVERROR(ENOMEM);
    raw->interrupt_callback = AVIOInterruptCB{&interruptCallback, this};
    // On failure avformat_open_input frees the context itself.
    if (int r = avformat_open_input(&raw, path.c_str(), nullptr, nullptr); r < 0) return r;
    format_.reset(raw);
    if (int r = avformat_find_stream_info(raw, nullptr); r < 0) return r;
    const int index = firstVideoStream(*raw);
    if (index < 0) return index;
    stream_ = raw->streams[index];
    if (int r = openDecoder(); r < 0) return r;
    describeClip();
    if (info_.width <= 0 || info_.height <= 0) return AVERROR_INVALIDDATA;
    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_) return AVERROR(ENOMEM);
    return 0;
}

int FfmpegVideoSource::openDecoder() {
    const AVCodec* decoder = avcodec_find_decoder(stream_->codecpar->codec_id);
    if (decoder == nullptr) return AVERROR_DECODER_NOT_FOUND;
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!codec_) return AVERROR(ENOMEM);
    if (int r = avcodec_parameters_to_context(codec_.get(), stream_->codecpar); r < 0) return r;
    codec_->pkt_timebase = stream_->time_base;
    return avcodec_open2(codec_.get(), decoder, nullptr);
}

void FfmpegVideoSource::describeClip() {
    info_.width = stream_->codecpar->width;
    info_.height = stream_->codecpar->height;
    const AVRational rate = clipRate(*stream_);
    info_.frameRate = av_q2d(rate);
    info_.averageFrameTime =
        std::llround(static_cast<double>(kUnitsPerSecond) * rate.den / rate.num);
    if (stream_->duration != AV_NOPTS_VALUE && stream_->duration > 0)
        info_.duration = av_rescale_q(stream_->duration, stream_->time_base, {1, kUnitsPerSecond});
    else if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
        info_.duration = av_rescale_q(format_->duration, AV_TIME_BASE_Q, {1, kUnitsPerSecond});
    if (stream_->nb_frames > 0) {
        info_.clipFrameCount = clampToInt32(stream_->nb_frames);
    } else if (info_.averageFrameTime > 0) {
        // Rounded, not truncated: containers that keep millisecond times store a duration a
        // hair short of the last frame's end.
        info_.clipFrameCount = clampToInt32(
            std::llround(static_cast<double>(info_.duration) / info_.averageFrameTime));
    }
}

void FfmpegVideoSource::noteFailure(const char* what, int code) {
    if (failure_.empty()) failure_ = std::string(what) + ": " + errorText(code);
}

bool FfmpegVideoSource::feedDecoder() {
    while (!draining_) {
        const int r = av_read_frame(format_.get(), packet_.get());
        if (r < 0) {
            if (r != AVERROR_EOF && !interrupted_.load()) noteFailure("reading the clip", r);
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            return true;
        }
        const bool ours = packet_->stream_index == stream_->index;
        int sent = 0;
        if (ours) sent = avcodec_send_packet(codec_.get(), packet_.get());
        av_packet_unref(packet_.get());
        if (ours && sent < 0 && sent != AVERROR(EAGAIN)) noteFailure("decoding the clip", sent);
        if (ours) return true;
    }
    return false;
}

VideoReadStatus FfmpegVideoSource::read(VideoSample& sample) {
    while (!interrupted_.load()) {
        const int r = avcodec_receive_frame(codec_.get(), frame_.get());
        if (r == 0) {
            const bool converted = convert(sample);
            av_frame_unref(frame_.get());
            if (converted) return VideoReadStatus::Frame;
            noteFailure("converting a frame", AVERROR(ENOMEM));
            return VideoReadStatus::Failed;
        }
        if (r == AVERROR_EOF || (r == AVERROR(EAGAIN) && !feedDecoder()))
            return failure_.empty() ? VideoReadStatus::EndOfClip : VideoReadStatus::Failed;
        if (r != AVERROR_EOF && r != AVERROR(EAGAIN)) {
            noteFailure("decoding the clip", r);
            return VideoReadStatus::Failed;
        }
    }
    return VideoReadStatus::Interrupted;
}

double FfmpegVideoSource::sampleTime() {
    const std::int64_t pts = frame_->best_effort_timestamp;
    const double frameSeconds = static_cast<double>(info_.averageFrameTime) / kUnitsPerSecond;
    if (pts == AV_NOPTS_VALUE) return lastTime_ < 0 ? 0.0 : lastTime_ + frameSeconds;
    if (originPts_ == AV_NOPTS_VALUE)
        originPts_ = stream_->start_time != AV_NOPTS_VALUE ? stream_->start_time : pts;
    return static_cast<double>(pts - originPts_) * av_q2d(stream_->time_base);
}

bool FfmpegVideoSource::convert(VideoSample& sample) {
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame_->width, frame_->height,
                                       static_cast<AVPixelFormat>(frame_->format), info_.width,
                                       info_.height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr,
                                       nullptr, nullptr));
    if (!scaler_) return false;
    const std::size_t stride = DibRowStride(info_.width, 24);
    sample.imageBytes = stride * static_cast<std::size_t>(info_.height);
    sample.pixels.resize(sample.imageBytes + kConverterSlack);
    // Writing the top row last in memory with a negative stride gives bottom-up rows.
    std::uint8_t* planes[4] = {sample.pixels.data() + stride * (info_.height - 1), nullptr, nullptr,
                               nullptr};
    int strides[4] = {-static_cast<int>(stride), 0, 0, 0};
    sws_scale(scaler_.get(), frame_->data, frame_->linesize, 0, frame_->height, planes, strides);
    sample.time = sampleTime();
    lastTime_ = sample.time;
    return true;
}

}  // namespace

std::unique_ptr<VideoSampleSource> openVideoClip(const std::string& path,
                                                 std::uint32_t& errorCode) {
    auto source = std::make_unique<FfmpegVideoSource>();
    const int r = source->open(path);
    errorCode = static_cast<std::uint32_t>(r);
    if (r < 0) return nullptr;
    return source;
}

}  // namespace quillfen
