#include "scratch_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillfen::fuzz {
namespace {

class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::string pattern = (base / "quillfen-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

const std::string& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path();
}

std::string writeScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::string path = scratchFolder() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace quillfen::fuzz
