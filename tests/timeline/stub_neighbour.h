#pragma once
// A timeline neighbour for the two-input Elements' tests: hands out solid frames of known
// colours and counts what was asked of it.

#include <cstdint>
#include <vector>

#include "timeline/source_element.h"

namespace quillfen::testing {

/// A 24-bit picture of one colour (0x00RRGGBB), or with two halves of different colours.
inline FrameImage solidPicture(int width, int height, std::uint32_t left, std::uint32_t right) {
    FrameImage image = FrameImage::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = x < width / 2 ? left : right;
            row[3 * x] = c & 0xFF;
            row[3 * x + 1] = (c >> 8) & 0xFF;
            row[3 * x + 2] = (c >> 16) & 0xFF;
        }
    }
    return image;
}
inline FrameImage solidPicture(int width, int height, std::uint32_t colour) {
    return solidPicture(width, height, colour, colour);
}

/// The colour 0x00RRGGBB of pixel (x, y), y counted from the top, of a 24- or 32-bit image.
inline std::uint32_t colourAt(const FrameImage& image, int x, int y) {
    const int bytes = image.bitCount() / 8;
    const std::uint8_t* p = image.row(image.height() - 1 - y) + bytes * x;
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

/// Frame i of a moving neighbour is the i-th colour of its list; a still one shows the first
/// colour. Halves differ when `rightColours` is given, for stereo pairs.
class StubNeighbour : public SourceElement {
  public:
    StubNeighbour(const MovieSettings& settings, ElementKind k, int width, int height,
                  std::vector<std::uint32_t> colours, std::vector<std::uint32_t> rightColours = {})
        : SourceElement(0, settings),
          width_(width),
          height_(height),
          colours_(std::move(colours)),
          rightColours_(std::move(rightColours)) {
        kind = k;
        valid = true;
        nbFrames_ = nbAVIFrames_ = static_cast<int>(colours_.size());
    }

    FrameImage nextFrame() override {
        if (nbFrames_ <= 0) return {};
        --nbFrames_;
        const std::size_t i = isStillKind(kind) ? 0 : static_cast<std::size_t>(pictures);
        ++pictures;
        const std::uint32_t left = colours_[i];
        return solidPicture(width_, height_, left, rightColours_.empty() ? left : rightColours_[i]);
    }

    int pictures = 0;  // frames handed out by nextFrame

  private:
    int width_, height_;
    std::vector<std::uint32_t> colours_, rightColours_;
};

}  // namespace quillfen::testing
