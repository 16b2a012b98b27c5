#include "media/jpeg_frame_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

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
    bool created = false;

    ~Compressor() {
        if (created) jpeg_destroy_compress(&info);
    }
};

JpegFrameEncoder::JpegFrameEncoder() : compressor_(std::make_unique<Compressor>()) {}

JpegFrameEncoder::~JpegFrameEncoder() {
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
    quality_ = libjpegQuality(choice.quality);
    Compressor& c = *compressor_;
    c.info.err = quietJpegErrors(c.errors);
    if (setjmp(c.errors.jump)) {
        why = "the JPEG encoder refused " + std::to_string(width) + "x" + std::to_string(height) +
              " frames";
        return AVERROR_EXTERNAL;
    }
    jpeg_create_compress(&c.info);
    c.created = true;
    c.destination.init_destination = startBytes;
    c.destination.empty_output_buffer = moreBytes;
    c.destination.term_destination = endBytes;
    c.info.dest = &c.destination;
    c.info.client_data = &bytes_;
    c.rows.resize(static_cast<std::size_t>(height));
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

bool JpegFrameEncoder::compress(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel) {
    Compressor& c = *compressor_;
    if (setjmp(c.errors.jump)) {
        jpeg_abort_compress(&c.info);
        return false;
    }
    c.info.image_width = static_cast<JDIMENSION>(width_);
    c.info.image_height = static_cast<JDIMENSION>(height_);
    c.info.input_components = bitsPerPixel / 8;
    c.info.in_color_space = bitsPerPixel == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality_, TRUE);
    // Bottom-up rows, handed over top row first.
    for (int y = 0; y < height_; ++y)
        c.rows[static_cast<std::size_t>(y)] =
            const_cast<JSAMPROW>(rows + stride * static_cast<std::size_t>(height_ - 1 - y));
    jpeg_start_compress(&c.info, TRUE);
    jpeg_write_scanlines(&c.info, c.rows.data(), static_cast<JDIMENSION>(height_));
    jpeg_finish_compress(&c.info);
    return true;
}

int JpegFrameEncoder::encode(const std::uint8_t* rows, std::size_t stride, int bitsPerPixel,
                             std::int64_t pts, bool, const PacketSink& sink) {
    if (!compressor_->created || (bitsPerPixel != 24 && bitsPerPixel != 32)) return AVERROR(EINVAL);
    if (!compress(rows, stride, bitsPerPixel)) return AVERROR_EXTERNAL;
    int err = av_new_packet(packet_, static_cast<int>(bytes_.size()));
    if (err < 0) return err;
    std::memcpy(packet_->data, bytes_.data(), bytes_.size());
    packet_->pts = packet_->dts = pts;
    packet_->flags |= AV_PKT_FLAG_KEY;
    err = sink(packet_);
    av_packet_unref(packet_);
    return err;
}

}  // namespace quillfen
