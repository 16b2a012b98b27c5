#pragma once
// The codec choices a movie can be written with. A `CodecChoice` is what the user picked for
// one build (it stands in for the compression dialog): the codec's name with its quality,
// key-frame interval and data rate. The catalogue knows which containers each codec suits;
// the linked FFmpeg decides which of them are really available.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

/// The containers a movie file may be, chosen by the file name's extension.
enum class Container { Avi, Mov, Wmv, Mp4, Mkv };

/// The container that the name's extension asks for (case-insensitive), or none.
std::optional<Container> containerForPath(std::string_view path);
/// "AVI", "MOV", ... for messages.
std::string_view containerName(Container container);
/// The libavformat muxer that writes the container ("avi", "mov", "asf", "mp4", "matroska").
std::string_view containerMuxer(Container container);

/// How a codec's quality is given to its encoder.
enum class QualityScale { None, QScale, Crf51, Crf63 };

struct CodecInfo {
    std::string_view name;         // what the user types: "raw", "mjpeg", ...
    std::string_view encoder;      // libavcodec encoder name; empty for `raw`
    std::string_view description;  // one line for `quillfen codecs`
    std::span<const Container> intendedContainers;
    bool intraOnly = false;  // every frame stands alone, so identical frames give identical packets
    QualityScale qualityScale = QualityScale::None;
    int defaultQuality = 0;           // 0..100
    int defaultKeyFrameInterval = 0;  // frames; 0 = the encoder's own choice
    int defaultDataRateKbps = 0;      // 0 = driven by quality
};

/// The user's codec choice for one build.
struct CodecChoice {
    std::string codec;
    int quality = 0;           // 0 (smallest) .. 100 (best)
    int keyFrameInterval = 0;  // a key frame at least every N frames; 0 = encoder's choice
    int dataRateKbps = 0;      // target data rate; 0 = constant quality
};

/// Every codec the catalogue knows, available or not, in listing order.
std::span<const CodecInfo> codecCatalogue();
/// The catalogue entry of that name, or nullptr.
const CodecInfo* findCodec(std::string_view name);
/// True when the linked FFmpeg has the encoder this codec needs.
bool codecAvailable(const CodecInfo& codec);
/// The containers of `intendedContainers` that the linked libavformat can write and that
/// can hold this codec; empty when the codec is not available.
std::vector<Container> containersFor(const CodecInfo& codec);

/// The codec a container gets when the user names none: AVI -> xvid, MP4/MKV/MOV -> h264,
/// WMV -> wmv2.
std::string_view defaultCodecName(Container container);
/// The named codec with its default quality, key-frame interval and data rate. An unknown
/// name keeps only the name (checkCodecChoice then refuses it).
CodecChoice defaultCodecChoice(std::string_view codecName);

/// One line per catalogue codec for `quillfen codecs`: its name, the containers it suits
/// (or that the linked FFmpeg lacks it), what it is, its defaults and where it is the
/// default codec.
std::vector<std::string> codecListing();

/// Checks, before anything is written, that `choice` can be written into the movie file
/// `path`: a known container, a known and available codec the container can hold, values in
/// range. Returns an empty string when it can, else a message for the user.
std::string checkCodecChoice(std::string_view path, const CodecChoice& choice);

}  // namespace quillfen
