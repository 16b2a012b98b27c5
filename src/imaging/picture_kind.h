#pragma once
// The kind of a picture file, decided by its extension alone.

#include <string_view>

namespace quillfen {

enum class PictureKind { none = 0, BMP = 1, JPEG = 2, PNG = 4 };

/// The kind named by the text from the last "." of `fileName` to its end, compared without
/// regard to letter case: ".bmp" BMP; ".jpg", ".jpeg", ".jpe", ".jps" JPEG; ".png" PNG;
/// anything else, or no dot, none.
PictureKind PictureKindFromName(std::string_view fileName);

}  // namespace quillfen
