#include "media/ffmpeg_file_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace quillfen {

namespace {
constexpr int kBufferSize = 256 * 1024;
}

FfmpegFileSink::~FfmpegFileSink() {
    close();
}

int FfmpegFileSink::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) return -errno;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer) {
        io_ = avio_alloc_context(buffer, kBufferSize, 1, this, nullptr, &writeCallback,
                                 &seekCallback);
    }
    if (!io_) {
        av_free(buffer);
        ::close(fd_);
        fd_ = -1;
        return -ENOMEM;
    }
    position_ = end_ = reservedEnd_ = 0;
    canReserve_ = true;
    writeError_ = 0;
    return 0;
}

int FfmpegFileSink::writeAll(const std::uint8_t* buf, int size) {
    std::int64_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(fd_, buf + done, static_cast<std::size_t>(size - done),
                             static_cast<off_t>(position_ + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? -errno : -EIO;
        done += n;
    }
    position_ += size;
    end_ = std::max(end_, position_);
    return size;
}

int FfmpegFileSink::writeCallback(void* opaque, std::uint8_t* buf, int size) {
    auto* self = static_cast<FfmpegFileSink*>(opaque);
    int result = self->writeAll(buf, size);
    if (result < 0 && self->writeError_ == 0) self->writeError_ = result;
    return result < 0 ? AVERROR(-result) : result;
}

std::int64_t FfmpegFileSink::seekCallback(void* opaque, std::int64_t offset, int whence) {
    auto* self = static_cast<FfmpegFileSink*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return self->end_;
        case SEEK_SET:
            self->position_ = offset;
            break;
        case SEEK_CUR:
            self->position_ += offset;
            break;
        case SEEK_END:
            self->position_ = self->end_ + offset;
            break;
        default:
            return AVERROR(EINVAL);
    }
    return self->position_;
}

int FfmpegFileSink::ensureSpace(std::int64_t upcoming, std::int64_t reserve) {
    if (fd_ < 0) return -EBADF;
    if (!canReserve_) return 0;
    std::int64_t base = std::max(end_, avio_tell(io_));
    std::int64_t wanted = base + upcoming + reserve;
    if (wanted <= reservedEnd_) return 0;
    std::int64_t from = std::max(base, reservedEnd_);
    if (::fallocate(fd_, FALLOC_FL_KEEP_SIZE, from, wanted - from) != 0) {
        int err = errno;
        // ENODEV and ESPIPE: a device or a pipe (not a regular file) has no space to reserve.
        if (err == EOPNOTSUPP || err == ENOSYS || err == EINVAL || err == ENODEV || err == ESPIPE) {
            canReserve_ = false;  // no reservations on this file system: just write
            return 0;
        }
        return -err;
    }
    reservedEnd_ = wanted;
    return 0;
}

void FfmpegFileSink::clearWriteError() {
    writeError_ = 0;
    if (io_) io_->error = 0;
}

int FfmpegFileSink::close() {
    if (fd_ < 0) return 0;
    int result = 0;
    if (io_) {
        avio_flush(io_);
        if (io_->error < 0) result = io_->error;
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
    if (result == 0 && writeError_ < 0) result = AVERROR(-writeError_);
    if (reservedEnd_ > end_) {
        // Give the unused reserve back; a failure here only wastes space.
        ::fallocate(fd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, end_, reservedEnd_ - end_);
    }
    if (::close(fd_) != 0 && result == 0) result = AVERROR(errno);
    fd_ = -1;
    return result;
}

}  // namespace quillfen
