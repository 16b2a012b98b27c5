// Fuzz targets of the picture readers and of picture loading as a build does it.

#include <array>

#include "fuzz_targets.h"
#include "imaging/bmp_reader.h"
#include "imaging/jpeg_reader.h"
#include "imaging/picture_loader.h"
#include "imaging/png_reader.h"
#include "imaging/resize.h"
#include "imaging/stereo.h"
#include "scratch_file.h"
#include "timeline/fit_settings.h"

namespace quillfen::fuzz {

int bmpReader(const std::uint8_t* data, std::size_t size) {
    LoadBmpFile(writeScratchFile("in.bmp", data, size));
    return 0;
}

int pngReader(const std::uint8_t* data, std::size_t size) {
    LoadPngFile(writeScratchFile("in.png", data, size));
    return 0;
}

int jpegReader(const std::uint8_t* data, std::size_t size) {
    LoadJpegFile(writeScratchFile("in.jpg", data, size));
    return 0;
}

int pictureLoading(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kChoices = 4;
    if (size < kChoices) return 0;
    constexpr std::array<const char*, 4> kNames = {"in.bmp", "in.jpg", "in.png", "in.jps"};
    // Every convert mode the Script may give, and some it may not.
    constexpr std::array<int, 10> kConverts = {-1, 0, 1, 5, 10, 12, 15, 16, 19, 20};
    MovieSettings settings;
    settings.resizeWidth = 1 + data[1] % 48;
    settings.resizeHeight = 1 + data[1] / 48 % 40;
    settings.imageOptions.resizeMode = data[2] % 4;
    settings.imageOptions.crop = "0BCD"[data[2] / 4 % 4];
    settings.imageOptions.transpose = data[2] / 16 % 2;
    settings.imageOptions.background = data[2] & 0x80 ? 0x204060 : kNoColour;
    settings.convert = kConverts[data[3] % kConverts.size()];
    settings.stereo = data[3] / 16 % 2;
    FrameImage image = LoadPicture(
        writeScratchFile(kNames[data[0] % kNames.size()], data + kChoices, size - kChoices));
    if (!image) return 0;
    FitFrame(image, fitOptionsFor(settings));
    ConvertStereoFrame(image, stereoOptionsFor(settings));
    return 0;
}

}  // namespace quillfen::fuzz
