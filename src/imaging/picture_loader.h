#pragma once
// Loading a picture file of any supported kind.

#include <string>

#include "imaging/frame_image.h"

namespace quillfen {

/// The picture in the file at `nativePath` (a path as the file system spells it), read by the
/// reader its extension names (PictureKindFromName). Empty for any other extension, without
/// opening the file, and when the reader fails.
FrameImage LoadPicture(const std::string& nativePath);

}  // namespace quillfen
