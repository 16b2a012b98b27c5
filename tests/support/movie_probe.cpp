#include "support/movie_probe.h"

#include <cstring>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

namespace quillfen::testing {

namespace {

struct Input {
    AVFormatContext* format = nullptr;
    AVCodecContext* decoder = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* scaler = nullptr;
    int stream = -1;
    ~Input() {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
        avformat_close_input(&format);
    }
};

std::string errorText(int err) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

std::string openInput(const std::string& path, Input& in) {
    int err = avformat_open_input(&in.format, path.c_str(), nullptr, nullptr);
    if (err < 0) return "cannot open " + path + ": " + errorText(err);
    if ((err = avformat_find_stream_info(in.format, nullptr)) < 0) {
        return "no stream info: " + errorText(err);
    }
    in.stream = av_find_best_stream(in.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (in.stream < 0) return "no video stream";
    return {};
}

std::string openDecoder(Input& in) {
    const AVCodecParameters* par = in.format->streams[in.stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec) return "no decoder";
    in.decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(in.decoder, par);
    in.decoder->thread_count = 1;
    int err = avcodec_open2(in.decoder, codec, nullptr);
    return err < 0 ? "cannot open decoder: " + errorText(err) : std::string{};
}

FrameImage toBottomUp24(Input& in, const AVFrame& frame) {
    FrameImage image = FrameImage::create(frame.width, frame.height, 24);
    if (!image) return image;
    // The full-range "J" formats are given to swscale as the plain ones plus a range.
    auto format = static_cast<AVPixelFormat>(frame.format);
    bool fullRange = true;
    switch (format) {
        case AV_PIX_FMT_YUVJ420P:
            format = AV_PIX_FMT_YUV420P;
            break;
        case AV_PIX_FMT_YUVJ422P:
            format = AV_PIX_FMT_YUV422P;
            break;
        case AV_PIX_FMT_YUVJ444P:
            format = AV_PIX_FMT_YUV444P;
            break;
        default:
            fullRange = frame.color_range == AVCOL_RANGE_JPEG;
    }
    in.scaler =
        sws_getCachedContext(in.scaler, frame.width, frame.height, format, frame.width,
                             frame.height, AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr);
    if (!in.scaler) return {};
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(in.scaler, coefficients, fullRange ? 1 : 0, coefficients, 1, 0,
                             1 << 16, 1 << 16);
    // Top row of the picture goes to the last row in memory.
    std::uint8_t* top = image.row(frame.height - 1);
    std::uint8_t* dst[4] = {top, nullptr, nullptr, nullptr};
    int dstStride[4] = {-static_cast<int>(image.stride()), 0, 0, 0};
    sws_scale(in.scaler, frame.data, frame.linesize, 0, frame.height, dst, dstStride);
    return image;
}

// Moves every frame the decoder has ready into `out`; false once `maxFrames` are there.
bool drain(Input& in, std::vector<FrameImage>& out, int maxFrames) {
    while (avcodec_receive_frame(in.decoder, in.frame) >= 0) {
        out.push_back(toBottomUp24(in, *in.frame));
        av_frame_unref(in.frame);
        if (maxFrames >= 0 && static_cast<int>(out.size()) >= maxFrames) return false;
    }
    return true;
}

}  // namespace

int MovieProbe::storedFrames() const {
    int count = 0;
    for (const ProbedSample& s : samples)
        count += s.size > 0 ? 1 : 0;
    return count;
}

std::vector<int> MovieProbe::keySamples() const {
    std::vector<int> keys;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].key) keys.push_back(static_cast<int>(i));
    }
    return keys;
}

MovieProbe probeMovie(const std::string& path) {
    MovieProbe probe;
    Input in;
    probe.error = openInput(path, in);
    if (!probe.ok()) return probe;
    const AVStream* st = in.format->streams[in.stream];
    probe.container = in.format->iformat->name;
    probe.codec = avcodec_get_name(st->codecpar->codec_id);
    probe.codecTag = st->codecpar->codec_tag;
    probe.width = st->codecpar->width;
    probe.height = st->codecpar->height;
    probe.rateNum = st->avg_frame_rate.num;
    probe.rateDen = st->avg_frame_rate.den;
    probe.timeBaseNum = st->time_base.num;
    probe.timeBaseDen = st->time_base.den;
    AVRational frameTime = av_inv_q(st->avg_frame_rate);
    while (av_read_frame(in.format, in.packet) >= 0) {
        if (in.packet->stream_index == in.stream) {
            std::int64_t pts = in.packet->pts != AV_NOPTS_VALUE ? in.packet->pts : in.packet->dts;
            ProbedSample sample;
            sample.frame = pts == AV_NOPTS_VALUE ? -1 : av_rescale_q(pts, st->time_base, frameTime);
            sample.size = in.packet->size;
            sample.key = (in.packet->flags & AV_PKT_FLAG_KEY) != 0;
            probe.samples.push_back(sample);
        }
        av_packet_unref(in.packet);
    }
    return probe;
}

std::vector<FrameImage> decodeMovieFrames(const std::string& path, int maxFrames,
                                          std::string* error) {
    std::vector<FrameImage> frames;
    Input in;
    std::string why = openInput(path, in);
    if (why.empty()) why = openDecoder(in);
    if (!why.empty()) {
        if (error) *error = why;
        return frames;
    }
    bool more = true;
    while (more && av_read_frame(in.format, in.packet) >= 0) {
        if (in.packet->stream_index == in.stream && in.packet->size > 0) {
            avcodec_send_packet(in.decoder, in.packet);
            more = drain(in, frames, maxFrames);
        }
        av_packet_unref(in.packet);
    }
    if (more) {
        avcodec_send_packet(in.decoder, nullptr);
        drain(in, frames, maxFrames);
    }
    return frames;
}

FrameImage decodeMovieFrame(const std::string& path, int index) {
    if (index < 0) return {};
    std::vector<FrameImage> frames = decodeMovieFrames(path, index + 1);
    if (static_cast<int>(frames.size()) <= index) return {};
    return std::move(frames[static_cast<std::size_t>(index)]);
}

std::vector<std::uint64_t> sampleChecksums(const std::string& path, std::string* error) {
    Input in;
    std::string why = openInput(path, in);
    std::vector<std::uint64_t> sums;
    while (why.empty() && av_read_frame(in.format, in.packet) >= 0) {
        if (in.packet->stream_index == in.stream) {
            std::uint64_t hash = 0xcbf29ce484222325ULL;
            for (int i = 0; i < in.packet->size; ++i)
                hash = (hash ^ in.packet->data[i]) * 0x100000001b3ULL;
            sums.push_back(hash);
        }
        av_packet_unref(in.packet);
    }
    if (!why.empty()) {
        sums.clear();
        if (error) *error = why;
    }
    return sums;
}

}  // namespace quillfen::testing
