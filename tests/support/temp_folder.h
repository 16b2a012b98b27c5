#pragma once
// A fresh folder under the system's temporary directory, removed with everything in it.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace quillfen::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillfen-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    /// Creates (or replaces) `name` inside the folder with `content`; returns its full path.
    std::string touch(const std::string& name, const std::string& content = "") const {
        std::filesystem::path file = std::filesystem::path(path_) / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }

  private:
    std::string path_;
};

}  // namespace quillfen::testing
