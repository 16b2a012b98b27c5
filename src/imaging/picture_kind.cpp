#include "imaging/picture_kind.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace quillfen {

PictureKind PictureKindFromName(std::string_view fileName) {
    // Windows drops blanks and dots at the end of a name, so Scripts from there may have them.
    while (!fileName.empty() && (fileName.back() == ' ' || fileName.back() == '.'))
        fileName.remove_suffix(1);
    std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return PictureKind::none;
    std::string ext(fileName.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".bmp") return PictureKind::BMP;
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jps") return PictureKind::JPEG;
    if (ext == ".png") return PictureKind::PNG;
    return PictureKind::none;
}

}  // namespace quillfen
