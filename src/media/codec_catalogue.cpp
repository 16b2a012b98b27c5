#include "media/codec_catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace quillfen {

namespace {

using C = Container;
// Bottom-up rows with a plain BITMAPINFOHEADER are an AVI convention only.
constexpr std::array kRawContainers{C::Avi};
constexpr std::array kMjpegContainers{C::Avi, C::Mov, C::Mkv};
constexpr std::array kXvidContainers{C::Avi, C::Mp4, C::Mkv, C::Mov};
// H.264 and later use B-frames, which AVI (decode order only) stores badly.
constexpr std::array kModernContainers{C::Mp4, C::Mkv, C::Mov};
constexpr std::array kVp9Containers{C::Mkv, C::Mp4};
constexpr std::array kWmvContainers{C::Wmv, C::Avi};
constexpr std::array kLosslessContainers{C::Avi, C::Mkv};

constexpr std::array<CodecInfo, 9> kCatalogue{{
    {"raw", "", "uncompressed 24-bit bottom-up frames, as classic AVI players read them",
     kRawContainers, true, QualityScale::None, 100, 1, 0},
    {"mjpeg", "mjpeg", "Motion JPEG: every frame a JPEG picture", kMjpegContainers, true,
     QualityScale::QScale, 95, 1, 0},
    {"xvid", "mpeg4", "MPEG-4 ASP tagged XVID, no B-frames, widely playable", kXvidContainers,
     false, QualityScale::QScale, 95, 250, 0},
    {"h264", "libx264", "H.264 (libx264), closed GOP", kModernContainers, false,
     QualityScale::Crf51, 65, 250, 0},
    {"hevc", "libx265", "H.265/HEVC (libx265), closed GOP", kModernContainers, false,
     QualityScale::Crf51, 55, 250, 0},
    {"vp9", "libvpx-vp9", "VP9 (libvpx)", kVp9Containers, false, QualityScale::Crf63, 50, 250, 0},
    {"wmv2", "wmv2", "Windows Media Video 8", kWmvContainers, false, QualityScale::QScale, 95, 250,
     0},
    {"ffv1", "ffv1", "FFV1 lossless RGB", kLosslessContainers, true, QualityScale::None, 100, 1, 0},
    {"huffyuv", "huffyuv", "HuffYUV lossless RGB", kLosslessContainers, true, QualityScale::None,
     100, 1, 0},
}};

std::string lowerExtension(std::string_view path) {
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

AVCodecID codecId(const CodecInfo& codec) {
    if (codec.encoder.empty()) return AV_CODEC_ID_RAWVIDEO;
    const AVCodec* encoder = avcodec_find_encoder_by_name(std::string(codec.encoder).c_str());
    return encoder ? encoder->id : AV_CODEC_ID_NONE;
}

bool containerHolds(Container container, AVCodecID id) {
    const AVOutputFormat* format =
        av_guess_format(std::string(containerMuxer(container)).c_str(), nullptr, nullptr);
    return format && avformat_query_codec(format, id, FF_COMPLIANCE_NORMAL) == 1;
}

std::string listContainers(const std::vector<Container>& containers) {
    std::string text;
    for (Container c : containers) {
        if (!text.empty()) text += ", ";
        text += containerName(c);
    }
    return text.empty() ? "none" : text;
}

}  // namespace

std::optional<Container> containerForPath(std::string_view path) {
    std::string ext = lowerExtension(path);
    if (ext == "avi") return C::Avi;
    if (ext == "mov") return C::Mov;
    if (ext == "wmv") return C::Wmv;
    if (ext == "mp4") return C::Mp4;
    if (ext == "mkv") return C::Mkv;
    return std::nullopt;
}

std::string_view containerName(Container container) {
    switch (container) {
        case C::Avi:
            return "AVI";
        case C::Mov:
            return "MOV";
        case C::Wmv:
            return "WMV";
        case C::Mp4:
            return "MP4";
        case C::Mkv:
            return "MKV";
    }
    return "?";
}

std::string_view containerMuxer(Container container) {
    switch (container) {
        case C::Avi:
            return "avi";
        case C::Mov:
            return "mov";
        case C::Wmv:
            return "asf";
        case C::Mp4:
            return "mp4";
        case C::Mkv:
            return "matroska";
    }
    return "";
}

std::span<const CodecInfo> codecCatalogue() {
    return kCatalogue;
}

const CodecInfo* findCodec(std::string_view name) {
    for (const CodecInfo& codec : kCatalogue) {
        if (codec.name == name) return &codec;
    }
    return nullptr;
}

bool codecAvailable(const CodecInfo& codec) {
    return codecId(codec) != AV_CODEC_ID_NONE;
}

std::vector<Container> containersFor(const CodecInfo& codec) {
    std::vector<Container> result;
    AVCodecID id = codecId(codec);
    if (id == AV_CODEC_ID_NONE) return result;
    for (Container c : codec.intendedContainers) {
        if (containerHolds(c, id)) result.push_back(c);
    }
    return result;
}

std::string_view defaultCodecName(Container container) {
    switch (container) {
        case C::Avi:
            return "xvid";
        case C::Wmv:
            return "wmv2";
        case C::Mov:
        case C::Mp4:
        case C::Mkv:
            return "h264";
    }
    return "";
}

CodecChoice defaultCodecChoice(std::string_view codecName) {
    CodecChoice choice;
    choice.codec = std::string(codecName);
    if (const CodecInfo* codec = findCodec(codecName)) {
        choice.quality = codec->defaultQuality;
        choice.keyFrameInterval = codec->defaultKeyFrameInterval;
        choice.dataRateKbps = codec->defaultDataRateKbps;
    }
    return choice;
}

std::vector<std::string> codecListing() {
    std::vector<std::string> lines;
    for (const CodecInfo& codec : kCatalogue) {
        std::string line(codec.name);
        line.resize(std::max<std::size_t>(line.size(), 9), ' ');
        std::vector<Container> suits = containersFor(codec);
        std::string where = codecAvailable(codec) ? listContainers(suits) : "not in this FFmpeg";
        where.resize(std::max<std::size_t>(where.size(), 20), ' ');
        line += where + std::string(codec.description);
        if (codec.qualityScale != QualityScale::None) {
            line += "; quality " + std::to_string(codec.defaultQuality);
        }
        if (codec.defaultKeyFrameInterval > 1) {
            line += ", key frame every " + std::to_string(codec.defaultKeyFrameInterval);
        }
        std::vector<Container> defaultFor;
        for (Container c : suits) {
            if (defaultCodecName(c) == codec.name) defaultFor.push_back(c);
        }
        if (!defaultFor.empty()) line += " (default for " + listContainers(defaultFor) + ")";
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string checkCodecChoice(std::string_view path, const CodecChoice& choice) {
    std::optional<Container> container = containerForPath(path);
    if (!container) {
        return "the movie file name must end in .avi, .mov, .wmv, .mp4 or .mkv: '" +
               std::string(path) + "'";
    }
    const CodecInfo* codec = findCodec(choice.codec);
    if (!codec) {
        return "unknown codec '" + choice.codec + "' ('quillfen codecs' lists the choices)";
    }
    if (!codecAvailable(*codec)) {
        return "codec '" + choice.codec + "' is not available: the linked FFmpeg has no '" +
               std::string(codec->encoder) + "' encoder";
    }
    std::vector<Container> suits = containersFor(*codec);
    if (std::find(suits.begin(), suits.end(), *container) == suits.end()) {
        return "a " + std::string(containerName(*container)) + " file cannot hold codec '" +
               choice.codec + "' (it suits: " + listContainers(suits) + ")";
    }
    if (choice.quality < 0 || choice.quality > 100) return "the quality must be 0 to 100";
    if (choice.keyFrameInterval < 0) return "the key-frame interval must be 0 or more";
    if (choice.dataRateKbps < 0 || choice.dataRateKbps > 2000000) {
        return "the data rate must be 0 to 2000000 kbit/s";
    }
    return {};
}

}  // namespace quillfen
