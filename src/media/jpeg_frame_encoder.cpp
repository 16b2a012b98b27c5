#include "media/jpeg_frame_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "base/helper_threads.h"
#include "imaging/jpeg_error_jump.h"

namespace quillfen {

namespace {

// The pictures grow in one vector (the struct's client_data), whose room is kept from frame
// to frame.
std::vector<std::uint8_t>& bytesOf(j_compress_ptr info) {
    return *static_cast<std::vector<std::uint8_t>*>(info->client_data);
}

void startBytes(j_compress_ptr info) {
    std::vector<std::uint8_t>& bytes = bytesOf(info);
    bytes.resize(std::max<std::size_t>(bytes.capacity(), 1 << 16));
    info->dest->next_output_byte = bytes.data();
    info->dest->free_in_buffer = bytes.size();
}

boolean moreBytes(j_compress_ptr info) {
    std::vector<std::uint8_t>& bytes = bytesOf(info);
    std::size_t full = bytes.size();
    bytes.resize(2 * full);
    info->dest->next_output_byte = bytes.data() + full;
    info->dest->free_in_buffer = bytes.size() - full;
    return TRUE;
}

void endBytes(j_compress_ptr info) {
    std::vector<std::uint8_t>& bytes = bytesOf(info);
    bytes.resize(bytes.size() - info->dest->free_in_buffer);
}

}  // namespace

// Everything the long jump may leave behind lives outside the function that sets it.
struct JpegFrameEncoder::Compressor {
    jpeg_compress_struct info{};
    JpegErrorJump errors{};
    jpeg_destination_mgr destination{};
    std::vector<JSAMPROW> rows;
    std::vector<std::uint8_t> bytes;  // the last picture; its room is kept for the next
    int width = 0;
    int quality = 0;
    bool created = false;

    ~Compressor() {
        if (created) jpeg_destroy_compress(&info);
    }

    // False when the library refuses.
    bool create(int frameWidth, int frameHeight, int libjpegQuality) {
        info.err = quietJpegErrors(errors);
        if (setjmp(errors.jump)) return false;
        jpeg_create_compress(&info);
        created = true;
        destination.init_destination = startBytes;
        destination.empty_output_buffer = moreBytes;
        destination.term_destination = endBytes;
        info.dest = &destination;
        info.client_data = &bytes;
        rows.resize(static_cast<std::size_t>(frameHeight));
        width = frameWidth;
        quality = libjpegQuality;
        return true;
    }

    // Compresses the frame into `bytes`; false on a library error.
    bool compress(const std::uint8_t* frame, std::size_t stride, int bitsPerPixel) {
        if (setjmp(errors.jump)) {
            jpeg_abort_compress(&info);
            return false;
        }
        const auto height = rows.size();
        info.image_width = static_cast<JDIMENSION>(width);
        info.image_height = static_cast<JDIMENSION>(height);
        info.input_components = bitsPerPixel / 8;
        info.in_color_space = bitsPerPixel == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        // Bottom-up rows, handed over top row first.
        for (std::size_t y = 0; y < height; ++y)
            rows[y] = const_cast<JSAMPROW>(frame + stride * (height - 1 - y));
        jpeg_start_compress(&info, TRUE);
        jpeg_write_scanlines(&info, rows.data(), static_cast<JDIMENSION>(height));
        jpeg_finish_compress(&info);
        return true;
    }
};

JpegFrameEncoder::JpegFrameEncoder() {
    for (Slot& slot : slots_)
        slot.compressor = std::make_unique<Compressor>();
}

JpegFrameEncoder::~JpegFrameEncoder() {
    // A frame still on its way reads rows and writes into its compressor.
    for (Slot& slot : slots_)
        if (slot.done.valid()) slot.done.wait();
    av_packet_free(&packet_);
}

int JpegFrameEncoder::libjpegQuality(int quality) {
    // Measured on a photo at 1920x1080: these settings give the same PSNR as FFmpeg's mjpeg
    // at the Script's quality (its quantiser 1 + 30 * (100 - quality) / 100); linear between.
    constexpr std::array<std::pair<int, int>, 5> kEqualPsnr{
        {{0, 22}, {50, 34}, {80, 63}, {95, 85}, {100, 93}}};
    quality = std::clamp(quality, 0, 100);
    for (std::size_t i = 1; i < kEqualPsnr.size(); ++i) {
        auto [q1, j1] = kEqualPsnr[i];
        if (quality > q1) continue;
        auto [q0, j0] = kEqualPsnr[i - 1];
        return j0 + ((quality - q0) * (j1 - j0) + (q1 - q0) / 2) / (q1 - q0);
    }
    return kEqualPsnr.back().second;
}

int JpegFrameEncoder::open(const CodecInfo&, const CodecChoice& choice, int width, int height,
                           AVRational, bool, std::string& why) {
    packet_ = av_packet_alloc();
    if (!packet_) {
        why = "out of memory";
        return AVERROR(ENOMEM);
    }
    width_ = width;
    height_ = height;
    for (Slot& slot : slots_) {
        if (!slot.compressor->create(width, height, libjpegQuality(choice.quality))) {
            why = "the JPEG encoder refused " + std::to_string(width) + "x" +
                  std::to_string(height) + " frames";
            return AVERROR_EXTERNAL;
        }
    }
    return 0;
}

int JpegFrameEncoder::fillParameters(AVCodecParameters* parameters) const {
    parameters->codec_type = AVMEDIA_TYPE_VIDEO;
    parameters->codec_id = AV_CODEC_ID_MJPEG;
    parameters->format = AV_PIX_FMT_YUVJ420P;
    parameters->color_range = AVCOL_RANGE_JPEG;
    parameters->width = width_;
    parameters->height = height_;
    parameters->sample_aspect_ratio = AVRational{1, 1};
    return 0;
}

int JpegFrameEncoder::encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel,
                             std::int64_t pts, bool, const PacketSink& sink) {
    if (!packet_ || (bitsPerPixel != 24 && bitsPerPixel != 32)) return AVERROR(EINVAL);
    // The other slot's frame, if any, was given out by the previous call.
    Slot& slot = slots_[1 - latest_];
    slot.pts = pts;
    Compressor* compressor = slot.compressor.get();
    // Without a thread to be had, the frame is compressed when its packet is asked for.
    slot.done = std::async(std::launch::async | std::launch::deferred, [=] {
        nameThread("quillfen-encode");
        return compressor->compress(rows, stride, bitsPerPixel);
    });
    int err = collect(slots_[latest_], sink);
    latest_ = 1 - latest_;
    return err;
}

int JpegFrameEncoder::catchUp(const PacketSink& sink) {
    return collect(slots_[latest_], sink);
}

int JpegFrameEncoder::collect(Slot& slot, const PacketSink& sink) {
    if (!slot.done.valid()) return 0;
    if (!slot.done.get()) return AVERROR_EXTERNAL;
    const std::vector<std::uint8_t>& bytes = slot.compressor->bytes;
    int err = av_new_packet(packet_, static_cast<int>(bytes.size()));
    if (err < 0) return err;
    std::memcpy(packet_->data, bytes.data(), bytes.size());
    packet_->pts = packet_->dts = slot.pts;
    packet_->flags |= AV_PKT_FLAG_KEY;
    err = sink(packet_);
    av_packet_unref(packet_);
    return err;
}

}  // namespace quillfen
