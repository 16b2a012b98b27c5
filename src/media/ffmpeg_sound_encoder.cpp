#include "media/ffmpeg_sound_encoder.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
}

#include "media/sound_reader.h"

namespace quillfen {
namespace {

constexpr std::int64_t kSoundBitRate = 192000;
// Blocks for codecs without a frame size of their own (PCM).
constexpr int kPcmFrames = 1920;

const char* encoderName(Container container, bool rawVideo) {
    switch (container) {
        case Container::Avi:
            return rawVideo ? "pcm_s16le" : "libmp3lame";
        case Container::Wmv:
            return "wmav2";
        default:
            return "aac";
    }
}

/// The first sample format of the codec's list that we can fill.
AVSampleFormat chooseFormat(const AVCodec* codec) {
    if (!codec->sample_fmts) return AV_SAMPLE_FMT_FLTP;
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_FLT || *f == AV_SAMPLE_FMT_S16 ||
            *f == AV_SAMPLE_FMT_S16P)
            return *f;
    }
    return AV_SAMPLE_FMT_NONE;
}

std::int16_t toS16(float v) {
    v = std::clamp(v, -1.0f, 1.0f);
    return static_cast<std::int16_t>(v * 32767.0f);
}

/// Copies `frames` interleaved stereo floats into the frame's planes in its format.
void fillFrame(AVFrame* frame, const float* samples, int frames) {
    const auto format = static_cast<AVSampleFormat>(frame->format);
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < kSoundChannels; ++c) {
            const float v = samples[i * kSoundChannels + c];
            switch (format) {
                case AV_SAMPLE_FMT_FLTP:
                    reinterpret_cast<float*>(frame->extended_data[c])[i] = v;
                    break;
                case AV_SAMPLE_FMT_FLT:
                    reinterpret_cast<float*>(frame->data[0])[i * kSoundChannels + c] = v;
                    break;
                case AV_SAMPLE_FMT_S16P:
                    reinterpret_cast<std::int16_t*>(frame->extended_data[c])[i] = toS16(v);
                    break;
                default:  // AV_SAMPLE_FMT_S16
                    reinterpret_cast<std::int16_t*>(frame->data[0])[i * kSoundChannels + c] =
                        toS16(v);
                    break;
            }
        }
    }
}

}  // namespace

FfmpegSoundEncoder::~FfmpegSoundEncoder() {
    avcodec_free_context(&codec_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
}

int FfmpegSoundEncoder::open(AVFormatContext* format, Container container, bool rawVideo,
                             std::string& why) {
    const char* name = encoderName(container, rawVideo);
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) {
        why = std::string("this FFmpeg has no ") + name + " encoder for the sound";
        return AVERROR_ENCODER_NOT_FOUND;
    }
    codec_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    stream_ = avformat_new_stream(format, nullptr);
    if (!codec_ || !frame_ || !packet_ || !stream_) return AVERROR(ENOMEM);
    codec_->sample_fmt = chooseFormat(codec);
    codec_->sample_rate = kSoundRate;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&codec_->ch_layout, &stereo);
    if (codec->id != AV_CODEC_ID_PCM_S16LE) codec_->bit_rate = kSoundBitRate;
    codec_->time_base = AVRational{1, kSoundRate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int err = avcodec_open2(codec_, codec, nullptr);
    if (err < 0) {
        why = std::string("cannot open the ") + name + " sound encoder";
        return err;
    }
    err = avcodec_parameters_from_context(stream_->codecpar, codec_);
    if (err < 0) return err;
    stream_->time_base = codec_->time_base;
    // AVI and MKV cannot say that the encoder's first samples are padding, so a player plays
    // them first: leaving out as many of our first samples keeps every later sample at its
    // time. MP4 and MOV mark the padding in their edit lists. WMA's decoder drops the padding
    // and one frame more, which as many samples of silence in front make up for.
    if (container == Container::Avi || container == Container::Mkv) {
        skipFrames_ = codec_->initial_padding;
        nextPts_ = codec_->initial_padding;
    } else if (container == Container::Wmv) {
        pending_.assign(static_cast<std::size_t>(codec_->initial_padding) * kSoundChannels, 0.0f);
        nextPts_ = codec_->initial_padding;
    }
    // MP3's encoder takes a short last frame but then miscounts its queue; a whole one with
    // silence at the end is as good.
    shortLastFrame_ = codec->id != AV_CODEC_ID_MP3 &&
                      (codec->capabilities &
                       (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) != 0;
    return 0;
}

int FfmpegSoundEncoder::encode(std::span<const float> samples, const PacketSink& sink) {
    const std::size_t skip = std::min<std::size_t>(samples.size() / kSoundChannels, skipFrames_);
    skipFrames_ -= static_cast<int>(skip);
    samples = samples.subspan(skip * kSoundChannels);
    pending_.insert(pending_.end(), samples.begin(), samples.end());
    const std::size_t block = codec_->frame_size > 0 ? codec_->frame_size : kPcmFrames;
    while (pending_.size() >= block * kSoundChannels) {
        if (int err = encodeFrame(block, sink); err < 0) return err;
    }
    return 0;
}

int FfmpegSoundEncoder::flush(const PacketSink& sink) {
    if (!codec_) return 0;
    if (!pending_.empty()) {
        std::size_t frames = pending_.size() / kSoundChannels;
        // A codec that needs whole frames gets the last one padded with silence.
        if (!shortLastFrame_ && codec_->frame_size > 0) {
            frames = static_cast<std::size_t>(codec_->frame_size);
            pending_.resize(frames * kSoundChannels, 0.0f);
        }
        if (int err = encodeFrame(frames, sink); err < 0) return err;
    }
    int err = avcodec_send_frame(codec_, nullptr);
    if (err < 0) return err;
    return receivePackets(sink);
}

int FfmpegSoundEncoder::encodeFrame(std::size_t frames, const PacketSink& sink) {
    av_frame_unref(frame_);
    frame_->format = codec_->sample_fmt;
    frame_->sample_rate = kSoundRate;
    frame_->nb_samples = static_cast<int>(frames);
    av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout);
    int err = av_frame_get_buffer(frame_, 0);
    if (err < 0) return err;
    fillFrame(frame_, pending_.data(), static_cast<int>(frames));
    pending_.erase(pending_.begin(),
                   pending_.begin() + static_cast<std::ptrdiff_t>(frames * kSoundChannels));
    frame_->pts = nextPts_;
    nextPts_ += static_cast<std::int64_t>(frames);
    err = avcodec_send_frame(codec_, frame_);
    if (err < 0) return err;
    return receivePackets(sink);
}

int FfmpegSoundEncoder::receivePackets(const PacketSink& sink) {
    for (;;) {
        int err = avcodec_receive_packet(codec_, packet_);
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return 0;
        if (err < 0) return err;
        packet_->stream_index = stream_->index;
        av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
        err = sink(packet_);
        av_packet_unref(packet_);
        if (err < 0) return err;
    }
}

}  // namespace quillfen
