#include "output/pending_movie_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

/// The mode a new file gets (mkstemps makes it private), or the one of the movie it replaces.
mode_t modeFor(const fs::path& finalPath) {
    struct stat existing {};
    if (::stat(finalPath.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

/// ".NAME-XXXXXX.EXT" beside NAME: hidden, and ending in the movie's extension, because the
/// container is chosen by it.
std::optional<std::string> makeTemporaryFile(const fs::path& finalPath, int& savedErrno) {
    const std::string extension = finalPath.extension().string();
    fs::path folder = finalPath.parent_path();
    std::string pattern =
        (folder / ("." + finalPath.filename().string() + "-XXXXXX" + extension)).string();
    const int fd = ::mkstemps(pattern.data(), static_cast<int>(extension.size()));
    if (fd < 0) {
        savedErrno = errno;
        return std::nullopt;
    }
    ::fchmod(fd, modeFor(finalPath));
    ::close(fd);
    return pattern;
}

std::string folderText(const fs::path& finalPath) {
    const fs::path folder = finalPath.parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

}  // namespace

std::optional<PendingMovieFile> PendingMovieFile::prepare(const std::string& finalPath,
                                                          std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(finalPath, ec);
    if (fs::is_directory(status)) {
        error = "the movie file '" + finalPath + "' is a folder.";
        return std::nullopt;
    }
    if (fs::exists(status) && !fs::is_regular_file(status))
        return PendingMovieFile(finalPath, finalPath);
    int savedErrno = 0;
    std::optional<std::string> temporary = makeTemporaryFile(finalPath, savedErrno);
    if (!temporary) {
        error = "cannot write a movie file in '" + folderText(finalPath) +
                "': " + std::strerror(savedErrno) + ".";
        return std::nullopt;
    }
    return PendingMovieFile(finalPath, std::move(*temporary));
}

PendingMovieFile::PendingMovieFile(PendingMovieFile&& other) noexcept
    : finalPath_(std::move(other.finalPath_)),
      writePath_(std::move(other.writePath_)),
      settled_(other.settled_) {
    other.settled_ = true;
}

PendingMovieFile::~PendingMovieFile() {
    if (!settled_) discard();
}

bool PendingMovieFile::commit(std::string& error) {
    settled_ = true;
    if (direct()) return true;
    if (std::rename(writePath_.c_str(), finalPath_.c_str()) == 0) return true;
    const int savedErrno = errno;
    std::error_code ec;
    const bool kept = fs::exists(writePath_, ec);
    error = "the finished movie could not be renamed to '" + finalPath_ +
            "': " + std::strerror(savedErrno) +
            (kept ? "; it is kept as '" + writePath_ + "'." : ".");
    return false;
}

void PendingMovieFile::discard() {
    settled_ = true;
    if (direct()) return;
    std::error_code ignored;
    fs::remove(writePath_, ignored);
}

}  // namespace quillfen
