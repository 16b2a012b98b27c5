#pragma once
// A caption drawn over every frame from its place in the timeline on, until a Text "0".

#include <string>
#include <string_view>
#include <vector>

#include "base/colour.h"
#include "imaging/font_colour_text.h"
#include "imaging/raster/text_drawing.h"
#include "timeline/caption_tail.h"
#include "timeline/geometry_value.h"
#include "timeline/source_element.h"

namespace quillfen {

/// Single-line drawing, the default format flags.
inline constexpr int kSingleLineFlag = 32;

class TextElement : public SourceElement {
  public:
    /// Parameters "caption|x,y,width,height,shift,shadow|font|flags,colour,back,shadow", or
    /// "0" to remove the captions. A text without "|" borrows the remembered tail; one with
    /// "|" replaces it. Always valid; produces no frames.
    TextElement(int lineIndex, const MovieSettings& settings, std::string_view parameters,
                CaptionTail& tail);

    void reset() override;
    /// Percentages of x, width, shift and shadow against the view width (half the frame in
    /// stereo), of y and height against the frame height.
    void layout(int width, int height) override;
    std::string describe() const override;

    /// True for the removal form "0".
    bool removesCaptions() const { return file == "0"; }
    /// Joins `overlays`, or, for "0", removes every caption of its own kind from them.
    bool applyToOverlays(OverlayList& overlays) override;

    /// The first time only: lays the geometry out for a frame of width x height, scales the
    /// font by height / 768 and turns each "\n" of the caption into a line break.
    void prepareForDrawing(int frameWidth, int frameHeight);
    /// What the caption paints, in order: the background of each view's copy, the shadows,
    /// then the texts (the right view's copy w / 2 + shift further right in stereo).
    std::vector<TextDrawing> drawings(int frameWidth) const;
    /// Draws the caption over a 24 or 32-bit frame in place. The text is rendered once per
    /// frame size and blended over every frame. False, with the frame untouched, when the
    /// frame is of another kind.
    bool drawOnto(FrameImage& frame);

    std::string caption;
    std::string fontText;
    GeometryValue x;
    GeometryValue y;
    GeometryValue shift;
    GeometryValue width;
    GeometryValue height;
    GeometryValue shadowOffset = GeometryValue::ofPixels(2);
    LogFont font;
    ColourValue textColour = 0;
    ColourValue backColour = kNoColour;
    ColourValue shadowColour = kNoColour;
    int formatFlags = kSingleLineFlag;

  private:
    void readPosition(std::string_view text);
    void readStyle(std::string_view text);

    // The rendered caption and the frame size it was rendered for.
    TextLayer layer_;
    int layerWidth_ = 0;
    int layerHeight_ = 0;
};

}  // namespace quillfen
