#pragma once
// A read-only picture file for the readers: RAII over a C stream, with its size known so
// that no header can make a reader allocate more than the file could fill.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace quillfen {

class PictureFile {
  public:
    /// Opens `path` for binary reading and seeks to `start`; check with operator bool.
    PictureFile(const std::string& path, long start);

    explicit operator bool() const { return file_ != nullptr; }
    std::FILE* get() const { return file_.get(); }
    /// Bytes from the current position to the end of the file (0 when unknown).
    std::uint64_t remaining() const;
    /// Reads up to `n` bytes; returns how many were read.
    std::size_t read(void* out, std::size_t n) { return std::fread(out, 1, n, file_.get()); }
    bool seek(long offset) { return std::fseek(file_.get(), offset, SEEK_SET) == 0; }
    bool skip(long bytes) { return std::fseek(file_.get(), bytes, SEEK_CUR) == 0; }
    long tell() const { return std::ftell(file_.get()); }

  private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::uint64_t size_ = 0;
};

/// The most pixels a reader accepts in one picture.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

}  // namespace quillfen
