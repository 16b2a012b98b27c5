#include "imaging/picture_loader.h"

#include "imaging/bmp_reader.h"
#include "imaging/jpeg_reader.h"
#include "imaging/picture_kind.h"
#include "imaging/png_reader.h"

namespace quillfen {

FrameImage LoadPicture(const std::string& nativePath) {
    switch (PictureKindFromName(nativePath)) {
        case PictureKind::BMP:
            return LoadBmpFile(nativePath, 0);
        case PictureKind::JPEG:
            return LoadJpegFile(nativePath, 0);
        case PictureKind::PNG:
            return LoadPngFile(nativePath, 0);
        case PictureKind::none:
            break;
    }
    return {};
}

}  // namespace quillfen
