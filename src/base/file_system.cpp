#include "base/file_system.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace quillfen {
namespace {

bool isDriveRoot(std::string_view path) {
    if (path.size() == 2) return path[1] == ':';
    if (path.size() == 3) return path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return false;
}

// No file name holds a NUL byte: the system would stop reading the name there and answer for
// a shorter one (a name "./\0x" would be the current folder).
bool namesNothing(std::string_view name) {
    return name.empty() || name.find('\0') != std::string_view::npos;
}

}  // namespace

bool FileExists(std::string_view name) {
    if (namesNothing(name)) return false;
    std::error_code error;
    // symlink_status: a dangling link is still an entry by that name.
    return std::filesystem::exists(
        std::filesystem::symlink_status(std::filesystem::path(name), error));
}

bool DirectoryExists(std::string_view path) {
    if (isDriveRoot(path)) return true;
    if (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
    if (namesNothing(path)) return false;
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

std::optional<FileStamp> ReadFileStamp(std::string_view name) {
    if (namesNothing(name)) return std::nullopt;
    const std::filesystem::path path(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    auto modified = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    stamp.modified = modified.time_since_epoch().count();
    return stamp;
}

bool CreateDirectoryPath(std::string_view path, bool namesFile) {
    std::string folder(path);
    if (namesFile) {
        std::size_t slash = folder.find_last_of('/');
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    }
    // A file without a folder lives in the current directory, which exists.
    if (folder.empty() || DirectoryExists(folder)) return true;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder), error);
    return DirectoryExists(folder);
}

}  // namespace quillfen
