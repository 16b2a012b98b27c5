#pragma once
// The movie file under libavformat: our own file descriptor behind a custom AVIOContext, so
// that the writer can keep disk space in reserve for the index. A container's index goes at
// the end of the file; if the disk fills up while frames are written, the reserve still lets
// the file be finished and stay playable. Internal to the FFmpeg movie writer.

#include <cstdint>
#include <string>

struct AVIOContext;

namespace quillfen {

class FfmpegFileSink {
  public:
    FfmpegFileSink() = default;
    FfmpegFileSink(const FfmpegFileSink&) = delete;
    FfmpegFileSink& operator=(const FfmpegFileSink&) = delete;
    ~FfmpegFileSink();

    /// Creates or truncates `path`. Returns 0 or a negative errno value.
    int open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    /// The I/O context to hand to libavformat; owned by the sink.
    AVIOContext* io() const { return io_; }

    /// Makes sure that `upcoming` more bytes plus a reserve of `reserve` bytes are allocated
    /// on disk past the current end, so that writing them cannot fail for lack of space.
    /// Returns 0, or a negative errno value (ENOSPC, EFBIG) when the disk cannot give them;
    /// then nothing more should be written but the trailer. File systems that cannot
    /// reserve space are taken as having it.
    int ensureSpace(std::int64_t upcoming, std::int64_t reserve);

    /// Flushes, gives back the unused reserve and closes the file. Returns 0 or the first
    /// negative error of writing, flushing or closing.
    int close();

    /// The first negative errno value a write met, or 0.
    int writeError() const { return writeError_; }
    /// Clears the write error so that the trailer may still be written after a failure.
    void clearWriteError();

  private:
    static int writeCallback(void* opaque, std::uint8_t* buf, int size);
    static std::int64_t seekCallback(void* opaque, std::int64_t offset, int whence);
    int writeAll(const std::uint8_t* buf, int size);

    int fd_ = -1;
    AVIOContext* io_ = nullptr;
    std::int64_t position_ = 0;  // where the next write lands
    std::int64_t end_ = 0;       // bytes in the file
    std::int64_t reservedEnd_ = 0;
    bool canReserve_ = true;
    int writeError_ = 0;
};

}  // namespace quillfen
