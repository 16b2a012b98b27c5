#include "editor/atomic_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

std::string reason(const std::string& what, const fs::path& where) {
    return what + " '" + where.string() + "': " + std::strerror(errno);
}

// The file that is really replaced: the end of a symbolic link, else the name itself.
fs::path resolveTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    fs::path real = fs::weakly_canonical(target, ec);
    return ec ? target : real;
}

// Closes the descriptor and removes the temporary file unless the rename has taken it over.
class TemporaryFile {
  public:
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        closeFile();
        if (!committed_) ::unlink(path_.c_str());
    }

    /// Creates a new file beside `target`; nullopt-like `fd() < 0` with errno set on failure.
    static std::optional<TemporaryFile> createBeside(const fs::path& target) {
        static std::atomic<unsigned> counter{0};
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = ".CRE" + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter.fetch_add(1)) + ".tmp";
            const fs::path path = folder / name;
            // 0666 so that a new target gets the usual umask-derived permissions.
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) return TemporaryFile(path, fd);
            if (errno != EEXIST) return std::nullopt;
        }
        return std::nullopt;
    }

    TemporaryFile(TemporaryFile&& other) noexcept
        : path_(std::move(other.path_)), fd_(other.fd_), committed_(other.committed_) {
        other.fd_ = -1;
        other.committed_ = true;
    }

    int fd() const { return fd_; }
    const fs::path& path() const { return path_; }
    bool closeFile() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }
    void commit() { committed_ = true; }

  private:
    TemporaryFile(fs::path path, int fd) : path_(std::move(path)), fd_(fd) {}

    fs::path path_;
    int fd_ = -1;
    bool committed_ = false;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Gives the temporary file the mode (and owner, when we may) of the file it replaces.
bool copyPermissions(int fd, const fs::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return errno == ENOENT;
    if (::fchmod(fd, st.st_mode & 07777) != 0) return false;
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
        // Only root may hand a file to another owner; others keep their own, as an editor would.
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
    }
    return true;
}

void syncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself has already succeeded
    ::close(fd);
}

}  // namespace

bool writeFileAtomically(const fs::path& requested, std::string_view bytes, std::string& error) {
    const fs::path target = resolveTarget(requested);
    auto temp = TemporaryFile::createBeside(target);
    if (!temp) {
        error = reason("cannot create a temporary file beside", target);
        return false;
    }
    if (!copyPermissions(temp->fd(), target)) {
        error = reason("cannot copy the permissions of", target);
        return false;
    }
    if (!writeAll(temp->fd(), bytes) || ::fsync(temp->fd()) != 0 || !temp->closeFile()) {
        error = reason("cannot write", temp->path());
        return false;
    }
    if (::rename(temp->path().c_str(), target.c_str()) != 0) {
        error = reason("cannot replace", target);
        return false;
    }
    temp->commit();
    syncFolder(target);
    return true;
}

}  // namespace quillfen
