#include "media/sound_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace quillfen {
namespace {

std::string errorText(int err) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct ResamplerCloser {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

}  // namespace

class SoundReader::Impl {
  public:
    std::string open(const std::string& path) {
        path_ = path;
        AVFormatContext* raw = nullptr;
        if (int r = avformat_open_input(&raw, path.c_str(), nullptr, nullptr); r < 0)
            return errorText(r);
        format_.reset(raw);
        if (int r = avformat_find_stream_info(raw, nullptr); r < 0) return errorText(r);
        const AVCodec* codec = nullptr;
        stream_ = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
        if (stream_ < 0 || !codec) return "no sound stream";
        decoder_.reset(avcodec_alloc_context3(codec));
        if (!decoder_) return "out of memory";
        avcodec_parameters_to_context(decoder_.get(), raw->streams[stream_]->codecpar);
        if (int r = avcodec_open2(decoder_.get(), codec, nullptr); r < 0) return errorText(r);
        frame_.reset(av_frame_alloc());
        packet_.reset(av_packet_alloc());
        if (!frame_ || !packet_) return "out of memory";
        ended_ = false;
        return {};
    }

    std::size_t read(std::size_t frames, std::vector<float>& out) {
        std::size_t got = takePending(frames, out);
        while (got < frames && !ended_) {
            if (!decodeSome()) break;
            got += takePending(frames - got, out);
        }
        return got;
    }

    bool rewind() {
        pending_.clear();
        pendingStart_ = 0;
        ended_ = false;
        failure_.clear();
        if (av_seek_frame(format_.get(), stream_, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
            avformat_seek_file(format_.get(), -1, INT64_MIN, 0, INT64_MAX, 0) < 0) {
            // A stream that cannot seek is read again from the start.
            std::string why = open(path_);
            if (!why.empty()) failure_ = why;
            return why.empty();
        }
        avcodec_flush_buffers(decoder_.get());
        resampler_.reset();
        return true;
    }

    bool isOpen() const { return decoder_ != nullptr; }
    const std::string& failure() const { return failure_; }

  private:
    std::size_t takePending(std::size_t frames, std::vector<float>& out) {
        std::size_t available = (pending_.size() - pendingStart_) / kSoundChannels;
        std::size_t n = std::min(frames, available);
        auto first = pending_.begin() + static_cast<std::ptrdiff_t>(pendingStart_);
        out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(n * kSoundChannels));
        pendingStart_ += n * kSoundChannels;
        if (pendingStart_ == pending_.size()) {
            pending_.clear();
            pendingStart_ = 0;
        }
        return n;
    }

    // Decodes until some samples are pending, the sound ends or it fails.
    bool decodeSome() {
        for (;;) {
            int r = avcodec_receive_frame(decoder_.get(), frame_.get());
            if (r >= 0) {
                bool ok = convert(frame_.get());
                av_frame_unref(frame_.get());
                if (!ok) return false;
                if (!pending_.empty()) return true;
                continue;
            }
            if (r == AVERROR_EOF) return finish();
            if (r != AVERROR(EAGAIN)) return fail("decoding", r);
            if (!feedDecoder()) return false;
        }
    }

    bool feedDecoder() {
        for (;;) {
            int r = av_read_frame(format_.get(), packet_.get());
            if (r == AVERROR_EOF) {
                avcodec_send_packet(decoder_.get(), nullptr);
                return true;
            }
            if (r < 0) return fail("reading", r);
            bool ours = packet_->stream_index == stream_;
            if (ours) r = avcodec_send_packet(decoder_.get(), packet_.get());
            av_packet_unref(packet_.get());
            // A damaged packet is skipped, as players do; only reading errors end the sound.
            if (ours && r != AVERROR_INVALIDDATA && r < 0 && r != AVERROR(EAGAIN))
                return fail("decoding", r);
            if (ours) return true;
        }
    }

    bool convert(const AVFrame* frame) {
        if (!resampler_ && !makeResampler(frame)) return false;
        int room = swr_get_out_samples(resampler_.get(), frame->nb_samples);
        if (room <= 0) return true;
        std::vector<float> block(static_cast<std::size_t>(room) * kSoundChannels);
        auto* target = reinterpret_cast<std::uint8_t*>(block.data());
        int n =
            swr_convert(resampler_.get(), &target, room,
                        const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
        if (n < 0) return fail("resampling", n);
        pending_.insert(pending_.end(), block.begin(), block.begin() + n * kSoundChannels);
        return true;
    }

    bool makeResampler(const AVFrame* frame) {
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        AVChannelLayout input{};
        if (frame->ch_layout.nb_channels > 0) {
            av_channel_layout_copy(&input, &frame->ch_layout);
        } else {
            av_channel_layout_default(&input, 1);
        }
        // A layout without order (some WAV files) is taken as the default for its count.
        if (input.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&input, input.nb_channels);
        SwrContext* raw = nullptr;
        int r = swr_alloc_set_opts2(&raw, &stereo, AV_SAMPLE_FMT_FLT, kSoundRate, &input,
                                    static_cast<AVSampleFormat>(frame->format), frame->sample_rate,
                                    0, nullptr);
        const bool mono = input.nb_channels == 1;
        av_channel_layout_uninit(&input);
        resampler_.reset(raw);
        // A mono track plays at full level on both sides, not 3 dB lower as a centre would.
        const double both[2] = {1.0, 1.0};
        if (r >= 0 && mono) r = swr_set_matrix(raw, both, 1);
        if (r < 0 || (r = swr_init(raw)) < 0) {
            resampler_.reset();
            return fail("resampling", r);
        }
        return true;
    }

    bool finish() {
        if (resampler_) {
            // What the resampler still holds (a few samples of filter delay).
            int room = swr_get_out_samples(resampler_.get(), 0);
            if (room > 0) {
                std::vector<float> block(static_cast<std::size_t>(room) * kSoundChannels);
                auto* target = reinterpret_cast<std::uint8_t*>(block.data());
                int n = swr_convert(resampler_.get(), &target, room, nullptr, 0);
                if (n > 0)
                    pending_.insert(pending_.end(), block.begin(),
                                    block.begin() + n * kSoundChannels);
            }
        }
        ended_ = true;
        return !pending_.empty();
    }

    bool fail(const char* what, int err) {
        failure_ = std::string(what) + " failed: " + errorText(err);
        ended_ = true;
        return false;
    }

    std::string path_;
    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    std::unique_ptr<AVCodecContext, CodecCloser> decoder_;
    std::unique_ptr<SwrContext, ResamplerCloser> resampler_;
    std::unique_ptr<AVFrame, FrameCloser> frame_;
    std::unique_ptr<AVPacket, PacketCloser> packet_;
    int stream_ = -1;
    std::vector<float> pending_;
    std::size_t pendingStart_ = 0;
    bool ended_ = true;
    std::string failure_;
};

SoundReader::SoundReader() = default;
SoundReader::~SoundReader() = default;
SoundReader::SoundReader(SoundReader&&) noexcept = default;
SoundReader& SoundReader::operator=(SoundReader&&) noexcept = default;

std::string SoundReader::open(const std::string& path) {
    impl_ = std::make_unique<Impl>();
    std::string why = impl_->open(path);
    if (!why.empty()) impl_.reset();
    return why;
}

bool SoundReader::isOpen() const {
    return impl_ && impl_->isOpen();
}

std::size_t SoundReader::read(std::size_t frames, std::vector<float>& out) {
    return impl_ ? impl_->read(frames, out) : 0;
}

bool SoundReader::rewind() {
    return impl_ && impl_->rewind();
}

std::string SoundReader::failure() const {
    return impl_ ? impl_->failure() : std::string();
}

std::string probeSound(const std::string& path) {
    SoundReader reader;
    std::string why = reader.open(path);
    if (!why.empty()) return why;
    // Opening finds the stream; one block shows that it decodes.
    std::vector<float> block;
    if (reader.read(1024, block) == 0)
        return reader.failure().empty() ? "no sound" : reader.failure();
    return {};
}

}  // namespace quillfen
