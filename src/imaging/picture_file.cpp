#include "imaging/picture_file.h"

namespace quillfen {

PictureFile::PictureFile(const std::string& path, long start)
    : file_(std::fopen(path.c_str(), "rb")) {
    if (!file_) return;
    if (std::fseek(file_.get(), 0, SEEK_END) == 0) {
        long end = std::ftell(file_.get());
        if (end > 0) size_ = static_cast<std::uint64_t>(end);
    }
    if (!seek(start < 0 ? 0 : start)) file_.reset();
}

std::uint64_t PictureFile::remaining() const {
    long at = tell();
    if (at < 0 || static_cast<std::uint64_t>(at) >= size_) return 0;
    return size_ - static_cast<std::uint64_t>(at);
}

}  // namespace quillfen
