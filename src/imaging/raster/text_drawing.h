#pragma once
// Text over Frame images with the platform's text-drawing format flags. A text is rendered
// once into a transparent layer and then laid over as many frames as wanted, so a caption
// that does not change costs one blend per frame.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/colour.h"
#include "imaging/font_colour_text.h"
#include "imaging/frame_image.h"

namespace quillfen {

/// Format flags as Scripts write them (their sum).
namespace text_format {
inline constexpr int kCenter = 1;       // centre each line horizontally
inline constexpr int kRight = 2;        // align each line right
inline constexpr int kVCenter = 4;      // centre vertically (single line only)
inline constexpr int kBottom = 8;       // align to the bottom (single line only)
inline constexpr int kWordBreak = 16;   // break lines between words that pass the right edge
inline constexpr int kSingleLine = 32;  // one line: carriage returns and line feeds do not break
inline constexpr int kExpandTabs = 64;  // tabs go to the next stop (8 average characters)
inline constexpr int kNoClip = 256;     // draw outside the rectangle too
inline constexpr int kCalcRect = 1024;  // only compute the rectangle, draw nothing
inline constexpr int kNoPrefix = 2048;  // "&" is an ordinary character
}  // namespace text_format

/// A rectangle by its edges, in frame pixels counted from the top-left corner; right and
/// bottom are outside it.
struct TextRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    TextRect moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const TextRect&, const TextRect&) = default;
};

/// One drawing of a text. The background, when not kNoColour, fills the rectangle (and, with
/// kNoClip, the cells of lines that reach outside it) before the text; a colour of kNoColour
/// draws the background alone.
struct TextDrawing {
    std::string text;
    TextRect rect;
    int format = text_format::kSingleLine;
    ColourValue colour = 0;
    ColourValue background = kNoColour;
};

/// Premultiplied blue-green-red-alpha pixels (0xAARRGGBB words) placed at (x, y) of a frame,
/// top row first; each row keeps only the span between its first and last visible pixel.
class TextLayer {
  public:
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<std::uint32_t> pixels;          // width x height
    std::vector<std::pair<int, int>> rowSpans;  // per row: [first, last + 1) visible columns

    bool empty() const { return pixels.empty(); }
    /// Blends the layer over an uncompressed 24- or 32-bit frame in place (parts outside the
    /// frame are skipped). False, with the frame untouched, for other frames.
    bool compositeOnto(FrameImage& frame) const;
};

/// Renders `drawings`, in order, as they would fall on a frame of width x height, with
/// `font` (none: the default font). Antialiased. Empty when nothing is visible or fonts are
/// unavailable. The font is created once for all drawings.
TextLayer RenderTextLayer(int width, int height, const std::optional<LogFont>& font,
                          std::span<const TextDrawing> drawings);

/// The rectangle that `text` needs when drawn into `rect` with `format` (the kCalcRect
/// answer): left and top kept, right and bottom moved to fit the lines. `rect` itself when
/// fonts are unavailable.
TextRect CalcTextRect(std::string_view text, const TextRect& rect,
                      const std::optional<LogFont>& font, int format);

/// Draws `text` into `rect` of `image` with the font text `fontText` (empty: the default
/// font), `colour`, an opaque `background` unless it is kNoColour, and `format`. Returns the
/// drawn image: the same depth for 24 and 32-bit images, 32 bits for other depths. With
/// kCalcRect, or when the image cannot be drawn on, the input comes back unchanged.
FrameImage DibDrawText(FrameImage image, std::string_view text, const TextRect& rect,
                       std::string_view fontText, ColourValue colour, ColourValue background,
                       int format);

}  // namespace quillfen
