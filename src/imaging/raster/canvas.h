#pragma once
// The drawing surface of the imaging layer: a 32-bit canvas that pictures are stretched onto,
// filled, drawn on with a painter (inside imaging only) and read back as a Frame image.

#include <memory>

#include "base/colour.h"
#include "imaging/frame_image.h"
#include "imaging/stretch.h"

class QImage;

namespace quillfen {

class Canvas {
  public:
    Canvas();
    ~Canvas();
    Canvas(Canvas&&) noexcept;
    Canvas& operator=(Canvas&&) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    /// A black canvas of width x height, or an empty one (false) when it cannot be had.
    static Canvas create(int width, int height);

    explicit operator bool() const;
    int width() const;
    int height() const;

    /// Fills the whole canvas, or the part of `rect` inside it, with `colour` (0x00BBGGRR).
    void fill(ColourValue colour);
    void fill(const PixelRect& rect, ColourValue colour);

    /// Stretches `window` of `source` into `dest` (see StretchInto for the coordinates and
    /// what is left untouched). False, with nothing drawn, when the source cannot be read.
    bool stretch(const FrameImage& source, const SourceWindow& window, const PixelRect& dest,
                 StretchMode mode);

    /// The pixels for painters inside the imaging layer (never null on a valid canvas).
    QImage* image() { return image_.get(); }
    const QImage* image() const { return image_.get(); }

  private:
    std::unique_ptr<QImage> image_;
};

/// Reads a canvas back as a new 32-bit Frame image (40-byte header, biSizeImage set, rows
/// bottom-up, 4th byte 0). Empty for an empty canvas or a failed allocation.
FrameImage DibFromBitmap(const Canvas& canvas);

}  // namespace quillfen
