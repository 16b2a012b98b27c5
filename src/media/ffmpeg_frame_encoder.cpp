#include "media/ffmpeg_frame_encoder.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "imaging/row_split.h"

#include <libyuv/convert.h>
#include <libyuv/convert_from_argb.h>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace quillfen {

namespace {

bool supports(const AVCodec* codec, AVPixelFormat format) {
    if (!codec->pix_fmts) return false;
    for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
        if (*f == format) return true;
    }
    return false;
}

// Lossy codecs get 4:2:0, which every player decodes; lossless ones keep RGB.
AVPixelFormat choosePixelFormat(const AVCodec* codec, const CodecInfo& info) {
    if (info.qualityScale == QualityScale::None) {
        if (supports(codec, AV_PIX_FMT_BGR24)) return AV_PIX_FMT_BGR24;
        if (!codec->pix_fmts) return AV_PIX_FMT_BGR24;
        return avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, AV_PIX_FMT_BGR24, 0, nullptr);
    }
    if (supports(codec, AV_PIX_FMT_YUVJ420P)) return AV_PIX_FMT_YUVJ420P;
    if (supports(codec, AV_PIX_FMT_YUV420P)) return AV_PIX_FMT_YUV420P;
    return codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
}

int scaled(int quality, int top) {
    return static_cast<int>(std::floor((100 - quality) * top / 100.0 + 0.5));
}

}  // namespace

FfmpegFrameEncoder::~FfmpegFrameEncoder() {
    sws_freeContext(scaler_);
    sws_freeContext(scaler32_);
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    avcodec_free_context(&context_);
}

void FfmpegFrameEncoder::applyQuality(const CodecInfo& codec, const CodecChoice& choice) {
    if (choice.dataRateKbps > 0) {
        context_->bit_rate = std::int64_t{choice.dataRateKbps} * 1000;
        return;
    }
    switch (codec.qualityScale) {
        case QualityScale::QScale:
            // Quality 100 gives quantiser 1, quality 0 gives 31.
            context_->flags |= AV_CODEC_FLAG_QSCALE;
            qscaleLambda_ = (1 + scaled(choice.quality, 30)) * FF_QP2LAMBDA;
            context_->global_quality = qscaleLambda_;
            break;
        case QualityScale::Crf51:
            av_opt_set_int(context_->priv_data, "crf", scaled(choice.quality, 51), 0);
            break;
        case QualityScale::Crf63:
            context_->bit_rate = 0;
            av_opt_set_int(context_->priv_data, "crf", scaled(choice.quality, 63), 0);
            break;
        case QualityScale::None:
            break;
    }
}

int FfmpegFrameEncoder::open(const CodecInfo& codec, const CodecChoice& choice, int width,
                             int height, AVRational timeBase, bool globalHeader, std::string& why) {
    const AVCodec* encoder = avcodec_find_encoder_by_name(std::string(codec.encoder).c_str());
    if (!encoder) {
        why = "no encoder '" + std::string(codec.encoder) + "' in the linked FFmpeg";
        return AVERROR_ENCODER_NOT_FOUND;
    }
    context_ = avcodec_alloc_context3(encoder);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!context_ || !frame_ || !packet_) {
        why = "out of memory";
        return AVERROR(ENOMEM);
    }
    context_->width = width;
    context_->height = height;
    context_->time_base = timeBase;
    context_->framerate = av_inv_q(timeBase);
    context_->sample_aspect_ratio = AVRational{1, 1};
    context_->pix_fmt = choosePixelFormat(encoder, codec);
    // A fixed thread count keeps the output the same on every machine.
    context_->thread_count = 1;
    if (choice.keyFrameInterval > 0) context_->gop_size = choice.keyFrameInterval;
    if (codec.name == "xvid" || codec.name == "wmv2") context_->max_b_frames = 0;
    if (globalHeader) context_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (codec.encoder == "libx264" || codec.encoder == "libx265") {
        // Closed GOPs make every forced key frame a point where decoding can start.
        context_->flags |= AV_CODEC_FLAG_CLOSED_GOP;
        av_opt_set(context_->priv_data, "preset", "veryfast", 0);
        av_opt_set_int(context_->priv_data, "forced-idr", 1, 0);
        context_->thread_count = 2;
    }
    if (codec.encoder == "mjpeg") {
        // Two slices, each on its own thread: a frame takes half the time, and the bytes
        // depend only on the fixed count.
        context_->thread_type = FF_THREAD_SLICE;
        context_->thread_count = 2;
    }
    if (codec.encoder == "libx265")
        av_opt_set(context_->priv_data, "x265-params", "log-level=error", 0);
    if (codec.encoder == "libvpx-vp9") {
        av_opt_set(context_->priv_data, "deadline", "realtime", 0);
        av_opt_set_int(context_->priv_data, "cpu-used", 8, 0);
    }
    applyQuality(codec, choice);
    repeatable_ = codec.intraOnly && choice.dataRateKbps == 0;

    int err = avcodec_open2(context_, encoder, nullptr);
    if (err < 0) {
        why = "the " + std::string(codec.name) + " encoder refused " + std::to_string(width) + "x" +
              std::to_string(height) + " frames";
        return err;
    }
    frame_->format = context_->pix_fmt;
    frame_->width = width;
    frame_->height = height;
    if ((err = av_frame_get_buffer(frame_, 0)) < 0) {
        why = "out of memory";
        return err;
    }
    if (!scalerFrom(AV_PIX_FMT_BGR24)) {
        why = std::string("no colour conversion to ") + av_get_pix_fmt_name(context_->pix_fmt);
        return AVERROR(EINVAL);
    }
    return 0;
}

SwsContext* FfmpegFrameEncoder::scalerFrom(AVPixelFormat source) {
    SwsContext*& scaler = source == AV_PIX_FMT_BGR24 ? scaler_ : scaler32_;
    if (scaler) return scaler;
    // swscale wants the full-range "J" formats spelled as the plain ones plus a range.
    bool fullRange = context_->pix_fmt == AV_PIX_FMT_YUVJ420P;
    AVPixelFormat target = fullRange ? AV_PIX_FMT_YUV420P : context_->pix_fmt;
    scaler =
        sws_getContext(context_->width, context_->height, source, context_->width, context_->height,
                       target, SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (scaler && fullRange) {
        const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(scaler, coefficients, 1, coefficients, 1, 0, 1 << 16, 1 << 16);
    }
    return scaler;
}

bool FfmpegFrameEncoder::convert(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel) {
    const int width = context_->width, height = context_->height;
    const int rowStep = static_cast<int>(stride);
    std::uint8_t* const* d = frame_->data;
    const int* ds = frame_->linesize;
    // libyuv reads bottom-up rows when given a negative row step. Its "ARGB" and "RGB24" are
    // our 32 and 24-bit byte orders (blue first); J420 is full range, I420 limited, both
    // BT.601 as the swscale set-up below.
    using Converter = int (*)(const std::uint8_t*, int, std::uint8_t*, int, std::uint8_t*, int,
                              std::uint8_t*, int, int, int);
    Converter converter = nullptr;
    if (context_->pix_fmt == AV_PIX_FMT_YUVJ420P)
        converter = bitsPerPixel == 32 ? libyuv::ARGBToJ420 : libyuv::RGB24ToJ420;
    else if (context_->pix_fmt == AV_PIX_FMT_YUV420P)
        converter = bitsPerPixel == 32 ? libyuv::ARGBToI420 : libyuv::RGB24ToI420;
    if (converter) {
        // In bands of whole row pairs, as each chroma row comes from two picture rows, so the
        // result is the same as one call; the second core takes bands while it is idle.
        std::atomic<bool> ok = true;
        splitRows(0, (height + 1) / 2, std::int64_t{width} * height, [&](int first, int last) {
            const int top = 2 * first, bottom = std::min(2 * last, height);
            // The band's top row, stepping down through memory.
            const std::uint8_t* band = rows + stride * static_cast<std::size_t>(height - 1 - top);
            if (converter(band, -rowStep, d[0] + top * ds[0], ds[0], d[1] + first * ds[1], ds[1],
                          d[2] + first * ds[2], ds[2], width, bottom - top) != 0)
                ok = false;
        });
        return ok;
    }
    SwsContext* scaler = scalerFrom(bitsPerPixel == 32 ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_BGR24);
    if (!scaler) return false;
    // Bottom-up rows: start at the top row and step backwards.
    const std::uint8_t* top = rows + stride * static_cast<std::size_t>(height - 1);
    const std::uint8_t* source[1] = {top};
    const int sourceStride[1] = {-rowStep};
    sws_scale(scaler, source, sourceStride, 0, height, frame_->data, frame_->linesize);
    return true;
}

int FfmpegFrameEncoder::fillParameters(AVCodecParameters* parameters) const {
    return avcodec_parameters_from_context(parameters, context_);
}

int FfmpegFrameEncoder::encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel,
                               std::int64_t pts, bool key, const PacketSink& sink) {
    int err = av_frame_make_writable(frame_);
    if (err < 0) return err;
    converted_ = convert(rows, stride, bitsPerPixel);
    if (!converted_) return AVERROR(EINVAL);
    return send(pts, key, sink);
}

int FfmpegFrameEncoder::encodeAgain(std::int64_t pts, bool key, const PacketSink& sink) {
    if (!converted_) return AVERROR(EINVAL);
    // A buffer the encoder still holds is copied here, so the picture is kept either way.
    int err = av_frame_make_writable(frame_);
    return err < 0 ? err : send(pts, key, sink);
}

int FfmpegFrameEncoder::send(std::int64_t pts, bool key, const PacketSink& sink) {
    frame_->pts = pts;
    frame_->pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    frame_->key_frame = key ? 1 : 0;
    frame_->quality = qscaleLambda_;
    int err = avcodec_send_frame(context_, frame_);
    if (err < 0) return err;
    return receivePackets(sink);
}

int FfmpegFrameEncoder::flush(const PacketSink& sink) {
    if (!context_ || !avcodec_is_open(context_)) return 0;
    int err = avcodec_send_frame(context_, nullptr);
    if (err < 0 && err != AVERROR_EOF) return err;
    return receivePackets(sink);
}

int FfmpegFrameEncoder::receivePackets(const PacketSink& sink) {
    for (;;) {
        int err = avcodec_receive_packet(context_, packet_);
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return 0;
        if (err < 0) return err;
        err = sink(packet_);
        av_packet_unref(packet_);
        if (err < 0) return err;
    }
}

}  // namespace quillfen
