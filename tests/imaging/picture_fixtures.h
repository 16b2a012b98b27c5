#pragma once
// Pictures made in code for the imaging tests: raw bytes, and JPEG and PNG files written with
// the libraries' own encoders, in a scratch folder removed at the end of each test.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/frame_image.h"

namespace quillfen::testing {

using Bytes = std::vector<std::uint8_t>;

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const { return (root_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const;

  private:
    std::filesystem::path root_;
};

void put16(Bytes& b, unsigned v);
void put32(Bytes& b, std::uint32_t v);

/// Writes a JPEG of `components` (1 or 3) from top-down interleaved samples.
Bytes encodeJpeg(int width, int height, int components, const Bytes& samples, int quality = 95);

/// Writes a PNG of the given colour type and depth from top-down packed rows (as libpng takes
/// them); `extra` chunks (bKGD, gAMA, PLTE) are set by the callback.
struct PngExtras {
    std::vector<std::uint8_t> palette;  // r, g, b triples
    bool hasBackground = false;
    std::uint16_t background[4] = {};  // red, green, blue, grey (or palette index in red)
    double gamma = 0;                  // 0: no gAMA
    bool interlaced = false;
};
Bytes encodePng(int width, int height, int colourType, int depth, const std::vector<Bytes>& rows,
                const PngExtras& extras = {});

/// Writes `bytes` to `path`, making its folder first.
void writeBytes(const std::string& path, const Bytes& bytes);
/// A small 24-bit JPEG and PNG of a fixed byte pattern, for tests that need any valid picture.
Bytes patternJpeg(int width, int height);
Bytes patternPng(int width, int height);

/// Byte of pixel x (whole-byte depths) of picture row y (counted from the top).
const std::uint8_t* pixelAt(const FrameImage& image, int x, int y);

}  // namespace quillfen::testing
