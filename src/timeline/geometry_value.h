#pragma once
// A position or size of an element command: pixels, or a percentage of a basis (a width or a
// height) that is known only once the frame size is.

#include <string_view>

namespace quillfen {

struct GeometryValue {
    double number = 0.0;  // as written
    int pixels = 0;
    bool percent = false;

    /// A value as written: with "%" anywhere it is a percentage whose pixels hold the
    /// placeholder trunc(number / 100 + 0.5) until `layout`; otherwise trunc(number) pixels.
    static GeometryValue read(std::string_view text);
    static GeometryValue ofPixels(int pixels) {
        return {static_cast<double>(pixels), pixels, false};
    }

    /// Gives a percentage its pixels of `basis`: trunc(number x basis / 100 + 0.5). Pixel
    /// values are left alone.
    void layout(int basis);
};

}  // namespace quillfen
