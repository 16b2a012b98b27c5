#include "media/ffmpeg_sample_muxer.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include <libyuv/convert_from_argb.h>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

namespace quillfen {

namespace {

// Room kept free on disk for the container's index: a few bytes per sample plus a margin.
constexpr std::int64_t kReserveMargin = 64 * 1024;
constexpr std::int64_t kReservePerSample = 32;
constexpr std::int64_t kChunkOverhead = 1024;

std::string errorText(int err) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

WriterStatus failure(WriterFailure kind, int err, std::string reason) {
    return {kind, static_cast<std::uint32_t>(err), std::move(reason)};
}

void freeFrameBlock(void* opaque, std::uint8_t*) {
    std::unique_ptr<SharedFrame> owned(static_cast<SharedFrame*>(opaque));
}

// A packet that holds the job's block and points at its rows, without copying them.
AVPacket* packetOwning(SampleJob& job) {
    auto owner = std::make_unique<SharedFrame>(std::move(job.block));
    // The buffer is marked read-only: libavformat only reads the shared rows.
    auto* bytes = const_cast<std::uint8_t*>((*owner)->data());
    AVBufferRef* buffer = av_buffer_create(bytes, static_cast<int>((*owner)->size()),
                                           &freeFrameBlock, owner.get(), AV_BUFFER_FLAG_READONLY);
    if (!buffer) return nullptr;
    owner.release();  // the buffer's free callback owns it now
    AVPacket* packet = av_packet_alloc();
    if (!packet) {
        av_buffer_unref(&buffer);
        return nullptr;
    }
    packet->buf = buffer;
    packet->data = buffer->data + job.offset;
    packet->size = static_cast<int>(job.length);
    return packet;
}

}  // namespace

AVPacket* FfmpegSampleMuxer::packetOf24BitRows(const SampleJob& job) const {
    AVPacket* packet = av_packet_alloc();
    const int size = static_cast<int>(stride_ * static_cast<std::size_t>(height_));
    if (!packet || av_new_packet(packet, size) < 0) {
        av_packet_free(&packet);
        return nullptr;
    }
    const std::size_t stride32 = job.length / static_cast<std::size_t>(height_);
    const std::size_t used = static_cast<std::size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* out = packet->data + stride_ * static_cast<std::size_t>(y);
        libyuv::ARGBToRGB24(job.rows().data() + stride32 * static_cast<std::size_t>(y), 0, out, 0,
                            width_, 1);
        std::memset(out + used, 0, stride_ - used);  // row padding, as a 24-bit image has it
    }
    return packet;
}

FfmpegSampleMuxer::~FfmpegSampleMuxer() {
    close();
}

WriterStatus FfmpegSampleMuxer::open(const std::string& path, const CodecChoice& choice) {
    close();
    std::string refusal = checkCodecChoice(path, choice);
    if (!refusal.empty()) return failure(WriterFailure::Refused, 0, refusal);
    // Encoder chatter (libx264's statistics, ...) would bury the Trace on a terminal.
    if (av_log_get_level() == AV_LOG_INFO) av_log_set_level(AV_LOG_WARNING);

    choice_ = choice;
    codec_ = findCodec(choice.codec);
    container_ = *containerForPath(path);
    raw_ = codec_->encoder.empty();
    encoder_ = makeFrameEncoder(*codec_, choice);
    samplesWritten_ = 0;
    path_ = path;
    std::string muxer(containerMuxer(container_));
    int err = avformat_alloc_output_context2(&format_, nullptr, muxer.c_str(), nullptr);
    if (err < 0) return failure(WriterFailure::Open, err, "no " + muxer + " muxer");
    err = sink_.open(path);
    if (err < 0) {
        release();
        return failure(WriterFailure::Open, err, "cannot create '" + path + "': " + errorText(err));
    }
    format_->pb = sink_.io();
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    return WriterStatus::success();
}

WriterStatus FfmpegSampleMuxer::enableSound() {
    if (!format_ || headerWritten_ || stream_) {
        return failure(WriterFailure::Usage, 0, "sound is enabled after the stream is set up");
    }
    soundWanted_ = true;
    return WriterStatus::success();
}

WriterStatus FfmpegSampleMuxer::setUpStream(const BitmapInfoHeader& first, double frameRate) {
    if (!format_ || headerWritten_ || stream_) {
        return failure(WriterFailure::Usage, 0, "the stream is already set up or no file is open");
    }
    double milli = frameRate * 1000.0 + 0.5;
    if (!(milli >= 1.0 && milli < INT_MAX)) {
        return failure(WriterFailure::SetUp, AVERROR(EINVAL), "the frame rate is out of range");
    }
    // rate / 1000 frames per second, so one frame lasts 1000 / rate seconds.
    av_reduce(&frameTime_.num, &frameTime_.den, 1000, static_cast<std::int64_t>(milli), INT_MAX);
    stride_ = DibRowStride(first.biWidth, 24);
    width_ = first.biWidth;
    height_ = first.biHeight;
    stream_ = avformat_new_stream(format_, nullptr);
    if (!stream_) return failure(WriterFailure::SetUp, AVERROR(ENOMEM), "out of memory");
    stream_->time_base = frameTime_;
    stream_->avg_frame_rate = stream_->r_frame_rate = av_inv_q(frameTime_);

    AVCodecParameters* par = stream_->codecpar;
    AVDictionary* options = nullptr;
    if (raw_) {
        par->codec_type = AVMEDIA_TYPE_VIDEO;
        par->codec_id = AV_CODEC_ID_RAWVIDEO;
        par->codec_tag = 0;  // biCompression 0: plain RGB
        par->format = AV_PIX_FMT_BGR24;
        par->bits_per_coded_sample = 24;
        par->width = first.biWidth;
        par->height = first.biHeight;
        // Packets hold bottom-up rows, so the header keeps a positive height.
        av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    } else {
        std::string why;
        bool globalHeader = (format_->oformat->flags & AVFMT_GLOBALHEADER) != 0;
        int err = encoder_->open(*codec_, choice_, first.biWidth, first.biHeight, frameTime_,
                                 globalHeader, why);
        if (err >= 0) err = encoder_->fillParameters(par);
        if (err < 0) return failure(WriterFailure::SetUp, err, why.empty() ? errorText(err) : why);
        if (codec_->name == "xvid" && container_ == Container::Avi) {
            par->codec_tag = MKTAG('X', 'V', 'I', 'D');
        }
    }
    if (soundWanted_) {
        sound_ = std::make_unique<FfmpegSoundEncoder>();
        std::string why;
        if (int err = sound_->open(format_, container_, raw_, why); err < 0) {
            av_dict_free(&options);
            return failure(WriterFailure::SetUp, err, why.empty() ? errorText(err) : why);
        }
    }
    int err = avformat_write_header(format_, &options);
    av_dict_free(&options);
    if (err < 0) {
        return failure(WriterFailure::SetUp, err,
                       "cannot start the movie in '" + path_ + "': " + errorText(err));
    }
    headerWritten_ = true;
    return WriterStatus::success();
}

bool FfmpegSampleMuxer::sameAsPrevious(const SampleJob& job) const {
    // The previous frame's packet may still be on its way from the encoder.
    if (!reuse_ || (!previousPacket_ && !previousFrame_)) return false;
    if (!raw_ && !encoder_->packetsRepeatable()) return false;
    if (job.flags.sameAsPrevious) return true;
    // A frame written again is the same shared block.
    if (previousPacket_ && job.rows().data() == previousPacket_->data) return true;
    if (previousFrame_ == job.block) return true;
    if (raw_) {
        return job.bitsPerPixel == 24 &&
               static_cast<std::size_t>(previousPacket_->size) == job.length &&
               std::memcmp(previousPacket_->data, job.rows().data(), job.length) == 0;
    }
    return previousFrame_ && previousBits_ == job.bitsPerPixel &&
           std::memcmp(previousFrame_->data() + previousOffset_, job.rows().data(), job.length) ==
               0;
}

WriterStatus FfmpegSampleMuxer::writeSample(SampleJob& job) {
    if (!failure_.ok()) return failure_;
    if (!headerWritten_) return failure(WriterFailure::Usage, 0, "the stream is not set up");
    const std::size_t stride = job.bitsPerPixel == 32 ? DibRowStride(width_, 32) : stride_;
    if (job.index <= lastIndex_ || (job.bitsPerPixel != 24 && job.bitsPerPixel != 32) ||
        job.length != stride * static_cast<std::size_t>(height_)) {
        return failure(
            WriterFailure::Usage, 0,
            "sample " + std::to_string(job.index) + " is out of order or of a wrong size");
    }
    bool same = sameAsPrevious(job);
    WriterStatus status = raw_ ? writeRawSample(job, same) : writeEncodedSample(job, same);
    if (status.ok()) {
        lastIndex_ = job.index;
        ++samplesWritten_;
    }
    return status;
}

WriterStatus FfmpegSampleMuxer::writeRawSample(SampleJob& job, bool same) {
    if (!same) {
        AVPacket* fresh = job.bitsPerPixel == 32 ? packetOf24BitRows(job) : packetOwning(job);
        if (!fresh) return failWrite(AVERROR(ENOMEM), job.index);
        av_packet_free(&previousPacket_);
        previousPacket_ = fresh;
    }
    AVPacket* packet = av_packet_clone(previousPacket_);
    if (!packet) return failWrite(AVERROR(ENOMEM), job.index);
    // Uncompressed frames keep the key flags the caller gives, as the index shows them.
    packet->flags = job.flags.key ? AV_PKT_FLAG_KEY : 0;
    packet->pts = packet->dts = job.index;
    int err = writePacket(packet, job.index);
    av_packet_free(&packet);
    return err < 0 ? failWrite(err, job.index) : WriterStatus::success();
}

WriterStatus FfmpegSampleMuxer::writeEncodedSample(SampleJob& job, bool same) {
    const bool keep = reuse_ && encoder_->packetsRepeatable();
    auto written = [&](AVPacket* packet) {
        if (keep) {
            av_packet_free(&previousPacket_);
            previousPacket_ = av_packet_clone(packet);
        }
        return writePacket(packet, packet->dts);
    };
    int err = 0;
    if (same) {
        err = encoder_->catchUp(written);
        if (err >= 0) err = writeAgain(job.index);
    } else {
        const std::size_t stride = job.length / static_cast<std::size_t>(height_);
        // An inter codec gets the picture it already has when the frame is unchanged.
        err = reuse_ && job.flags.sameAsPrevious && encoder_->holdsPicture()
                  ? encoder_->encodeAgain(job.index, job.flags.key, written)
                  : encoder_->encode(job.rows().data(), stride, job.bitsPerPixel, job.index,
                                     job.flags.key, written);
        // Kept for comparison, and because the encoder may still be reading the rows.
        previousFrame_ = std::move(job.block);
        previousOffset_ = job.offset;
        previousBits_ = job.bitsPerPixel;
    }
    return err < 0 ? failWrite(err, job.index) : WriterStatus::success();
}

int FfmpegSampleMuxer::writeAgain(std::int64_t index) {
    if (!previousPacket_) return AVERROR(EINVAL);
    AVPacket* packet = av_packet_clone(previousPacket_);
    if (!packet) return AVERROR(ENOMEM);
    packet->pts = packet->dts = index;
    int err = writePacket(packet, index);
    av_packet_free(&packet);
    return err;
}

int FfmpegSampleMuxer::writePacket(AVPacket* packet, std::int64_t index) {
    // Encoders that reorder frames give decode timestamps that may lag the sample number.
    std::int64_t at = std::max(index, lastIndex_ + 1);
    int err = sink_.ensureSpace(packet->size + kChunkOverhead * (at - lastIndex_),
                                kReserveMargin + kReservePerSample * (at + 1));
    if (err < 0) return err;
    packet->duration = 1;
    packet->stream_index = stream_->index;
    av_packet_rescale_ts(packet, frameTime_, stream_->time_base);
    return muxPacket(packet);
}

int FfmpegSampleMuxer::writeSoundPacket(AVPacket* packet) {
    int err = sink_.ensureSpace(packet->size + kChunkOverhead,
                                kReserveMargin + kReservePerSample * (lastIndex_ + 2));
    return err < 0 ? err : muxPacket(packet);
}

int FfmpegSampleMuxer::muxPacket(AVPacket* packet) {
    // With sound the library orders the two streams' packets by time (WMV needs that).
    int err =
        sound_ ? av_interleaved_write_frame(format_, packet) : av_write_frame(format_, packet);
    if (err >= 0 && sink_.writeError() < 0) err = AVERROR(-sink_.writeError());
    return err;
}

WriterStatus FfmpegSampleMuxer::writeSound(std::span<const float> samples) {
    if (!failure_.ok()) return failure_;
    if (!sound_) return failure(WriterFailure::Usage, 0, "the movie has no sound stream");
    int err = sound_->encode(samples, [&](AVPacket* packet) { return writeSoundPacket(packet); });
    return err < 0 ? failWrite(err, lastIndex_) : WriterStatus::success();
}

WriterStatus FfmpegSampleMuxer::failWrite(int err, std::int64_t index) {
    std::string why =
        err == AVERROR(ENOSPC) || err == AVERROR(EFBIG) ? "the disk is full" : errorText(err);
    failure_ =
        failure(WriterFailure::Write, err,
                "cannot write frame " + std::to_string(index) + " to '" + path_ + "': " + why);
    return failure_;
}

WriterStatus FfmpegSampleMuxer::close() {
    if (!format_ && !sink_.isOpen()) return WriterStatus::success();
    WriterStatus result;
    if (headerWritten_) {
        int err = 0;
        if (failure_.ok() && !raw_) {
            err =
                encoder_->flush([&](AVPacket* packet) { return writePacket(packet, packet->dts); });
        }
        if (err >= 0 && failure_.ok() && sound_)
            err = sound_->flush([&](AVPacket* packet) { return writeSoundPacket(packet); });
        if (err < 0) {
            result = failure(
                WriterFailure::Close, err,
                "the last frames could not be written to '" + path_ + "': " + errorText(err));
        }
        sink_.clearWriteError();  // the reserve is there for the index even after a failure
        err = av_write_trailer(format_);
        if (err >= 0 && sink_.writeError() < 0) err = AVERROR(-sink_.writeError());
        if (err < 0 && result.ok()) {
            result = failure(WriterFailure::Close, err,
                             "cannot finish '" + path_ + "': " + errorText(err));
        }
    }
    int err = sink_.close();
    if (err < 0 && result.ok()) {
        result =
            failure(WriterFailure::Close, err, "cannot close '" + path_ + "': " + errorText(err));
    }
    release();
    return result;
}

void FfmpegSampleMuxer::release() {
    if (format_) format_->pb = nullptr;
    avformat_free_context(format_);
    format_ = nullptr;
    stream_ = nullptr;
    encoder_.reset();  // first: it may still be reading the last frame's rows
    av_packet_free(&previousPacket_);
    previousFrame_.reset();
    sound_.reset();
    soundWanted_ = false;
    headerWritten_ = false;
    lastIndex_ = -1;
    failure_ = WriterStatus::success();
}

}  // namespace quillfen
