#pragma once
// The few file-system questions the parser, the Elements and the build driver ask. All take
// native paths ("/" separators); callers turn Script names into native paths first.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillfen {

/// True when anything (a file or a directory) exists under `name`. An empty name, or one
/// holding a NUL byte, is false.
bool FileExists(std::string_view name);

/// True when `path` names an existing directory. A drive root written as a letter and ":"
/// (optionally followed by one "\" or "/") counts as existing without a look at the disk,
/// so Scripts written for another system keep parsing. One trailing "\" or "/" is ignored.
bool DirectoryExists(std::string_view path);

/// What tells one version of a file from another without reading it.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // the file clock's ticks
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// The stamp of the regular file `name`; none when it is not one or cannot be asked.
std::optional<FileStamp> ReadFileStamp(std::string_view name);

/// Creates every missing directory of `path`; when `namesFile` is true the last component is
/// a file name and is left out. True when every directory exists afterwards; on failure the
/// directories made so far stay.
bool CreateDirectoryPath(std::string_view path, bool namesFile);

}  // namespace quillfen
