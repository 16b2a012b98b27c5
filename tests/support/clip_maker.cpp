#include "support/clip_maker.h"

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace quillfen::testing {

namespace {

constexpr int kColumns = 6;
constexpr int kRows = 4;  // top band, two rows of bits, bottom band
constexpr int kBits = 12;
constexpr std::uint8_t kWhite = 235;
constexpr std::uint8_t kBlack = 16;

struct Output {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    ~Output() {
        if (format && format->pb) avio_closep(&format->pb);
        avformat_free_context(format);
        avcodec_free_context(&codec);
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
};

bool blockIsSet(int number, int column, int row) {
    if (row == 0) return true;
    if (row == kRows - 1) return false;
    const int bit = (row - 1) * kColumns + column;
    return ((number >> bit) & 1) != 0;
}

void drawNumber(AVFrame& frame, int number, int width, int height) {
    const int blockW = width / kColumns;
    const int blockH = height / kRows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int column = std::min(x / blockW, kColumns - 1);
            const int row = std::min(y / blockH, kRows - 1);
            frame.data[0][y * frame.linesize[0] + x] =
                blockIsSet(number, column, row) ? kWhite : kBlack;
        }
    }
    for (int plane = 1; plane < 3; ++plane)
        for (int y = 0; y < height / 2; ++y)
            for (int x = 0; x < width / 2; ++x)
                frame.data[plane][y * frame.linesize[plane] + x] = 128;
}

std::string err(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

/// Moves every finished packet into the file; an empty text on success.
std::string drain(Output& out) {
    for (;;) {
        const int r = avcodec_receive_packet(out.codec, out.packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return {};
        if (r < 0) return err("encoding", r);
        av_packet_rescale_ts(out.packet, out.codec->time_base, out.stream->time_base);
        out.packet->stream_index = out.stream->index;
        if (int w = av_interleaved_write_frame(out.format, out.packet); w < 0)
            return err("writing", w);
    }
}

std::string openEncoder(Output& out, const ClipOptions& options) {
    const AVCodecID id = options.codec == ClipCodec::H264 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MPEG4;
    const AVCodec* encoder = avcodec_find_encoder(id);
    if (encoder == nullptr) return "no encoder";
    out.codec = avcodec_alloc_context3(encoder);
    out.codec->width = options.width;
    out.codec->height = options.height;
    out.codec->pix_fmt = AV_PIX_FMT_YUV420P;
    out.codec->time_base = AVRational{options.rateDen, options.rateNum};
    out.codec->framerate = AVRational{options.rateNum, options.rateDen};
    out.codec->gop_size = 12;
    out.codec->bit_rate = 2'000'000;
    if (options.codec == ClipCodec::H264) {
        av_opt_set(out.codec->priv_data, "preset", "veryfast", 0);
        av_opt_set(out.codec->priv_data, "crf", "18", 0);
    }
    if (out.format->oformat->flags & AVFMT_GLOBALHEADER)
        out.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (int r = avcodec_open2(out.codec, encoder, nullptr); r < 0) return err("encoder", r);
    out.stream = avformat_new_stream(out.format, nullptr);
    avcodec_parameters_from_context(out.stream->codecpar, out.codec);
    out.stream->time_base = out.codec->time_base;
    out.stream->avg_frame_rate = out.codec->framerate;
    return {};
}

std::string encodeFrames(Output& out, const ClipOptions& options) {
    out.frame = av_frame_alloc();
    out.packet = av_packet_alloc();
    out.frame->format = AV_PIX_FMT_YUV420P;
    out.frame->width = options.width;
    out.frame->height = options.height;
    if (int r = av_frame_get_buffer(out.frame, 0); r < 0) return err("frame", r);
    for (int i = 0; i < options.frames; ++i) {
        if (int r = av_frame_make_writable(out.frame); r < 0) return err("frame", r);
        drawNumber(*out.frame, i, options.width, options.height);
        const bool afterGap = options.gapAfter >= 0 && i > options.gapAfter;
        out.frame->pts = options.firstPts + i + (afterGap ? options.gapFrames : 0);
        if (int r = avcodec_send_frame(out.codec, out.frame); r < 0) return err("encoding", r);
        if (std::string e = drain(out); !e.empty()) return e;
    }
    avcodec_send_frame(out.codec, nullptr);
    return drain(out);
}

}  // namespace

std::string makeClip(const std::string& path, const ClipOptions& options) {
    av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics would bury test output
    Output out;
    if (int r = avformat_alloc_output_context2(&out.format, nullptr, nullptr, path.c_str()); r < 0)
        return err("container", r);
    if (std::string e = openEncoder(out, options); !e.empty()) return e;
    if (int r = avio_open(&out.format->pb, path.c_str(), AVIO_FLAG_WRITE); r < 0)
        return err("file", r);
    if (int r = avformat_write_header(out.format, nullptr); r < 0) return err("header", r);
    if (std::string e = encodeFrames(out, options); !e.empty()) return e;
    if (int r = av_write_trailer(out.format); r < 0) return err("trailer", r);
    return {};
}

int readFrameNumber(const FrameImage& frame) {
    if (!frame.rowsFit() || frame.bitCount() != 24 || frame.height() <= 0) return -1;
    const int width = frame.width();
    const int height = frame.height();
    const int blockW = width / kColumns;
    const int blockH = height / kRows;
    if (blockW < 2 || blockH < 2) return -1;
    auto bright = [&](int column, int row) {
        const int x = column * blockW + blockW / 2;
        const int y = row * blockH + blockH / 2;  // counted from the top
        const std::uint8_t* pixel = frame.row(height - 1 - y) + 3 * x;
        return pixel[0] + pixel[1] + pixel[2] > 3 * 128;
    };
    int number = 0;
    for (int column = 0; column < kColumns; ++column) {
        if (!bright(column, 0) || bright(column, kRows - 1)) return -1;
        for (int row = 1; row < kRows - 1; ++row)
            if (bright(column, row)) number |= 1 << ((row - 1) * kColumns + column);
    }
    static_assert(kBits == kColumns * (kRows - 2));
    return number;
}

}  // namespace quillfen::testing
