#pragma once
// Frame image: every picture, intermediate result and movie frame travels as one contiguous
// block laid out byte for byte as a packed device-independent bitmap: a 40-byte header, the
// colour table (or bit masks), then the pixel rows bottom-up. The owner is move-only; an
// empty FrameImage means "none". No pointer into the block outlives an operation.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

namespace quillfen {

struct BitmapInfoHeader {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

/// Colour-table entries decided by the bit count alone: 1 -> 2, 4 -> 16, 8 -> 256, else 0.
int DibColorCount(const BitmapInfoHeader& header);
/// Bytes of colour table or masks after the header (12 for bit fields; 3-byte entries for a
/// 12-byte core header).
std::size_t DibPaletteSize(const BitmapInfoHeader& header);
/// Bytes per pixel row, padded to 4 bytes. Negative or absurd inputs give 0.
std::size_t DibRowStride(std::int64_t width, int bits);

class FrameImage {
  public:
    FrameImage() = default;
    // A moved-from image is empty ("none"), not a size without a block.
    FrameImage(FrameImage&& other) noexcept
        : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}
    FrameImage& operator=(FrameImage&& other) noexcept {
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }
    FrameImage(const FrameImage&) = delete;
    FrameImage& operator=(const FrameImage&) = delete;

    /// A zero-filled block of `bytes`, or an empty image when it cannot be had.
    static FrameImage allocate(std::size_t bytes);
    /// A block whose contents the caller overwrites entirely.
    static FrameImage allocateForOverwrite(std::size_t bytes);
    /// A zero-filled 40-byte-header image of w x h at `bits` with a colour table of
    /// DibColorCount entries; pixels start right after the table.
    static FrameImage create(int width, int height, int bits);

    explicit operator bool() const { return size_ != 0; }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    std::uint8_t* data() { return bytes_.get(); }
    const std::uint8_t* data() const { return bytes_.get(); }

    /// Grows or shrinks the block, keeping its bytes and zero-filling growth. False on failure
    /// (the block is then unchanged).
    bool resize(std::size_t bytes);
    void reset() { *this = FrameImage{}; }

    BitmapInfoHeader header() const;
    void setHeader(const BitmapInfoHeader& header);

    int width() const { return header().biWidth; }
    int height() const { return header().biHeight; }
    int bitCount() const { return header().biBitCount; }
    std::size_t stride() const;
    /// Offset of the pixel rows: header size + colour table size.
    std::size_t pixelOffset() const;
    /// True when the block holds a valid header and every row of the header's geometry, so
    /// that row() may be used for every row index.
    bool rowsFit() const;
    std::uint8_t* pixels() { return data() + pixelOffset(); }
    const std::uint8_t* pixels() const { return data() + pixelOffset(); }
    /// Row `memoryRow` counted from the first row in memory (the bottom row of the picture).
    std::uint8_t* row(int memoryRow) {
        return pixels() + stride() * static_cast<std::size_t>(memoryRow);
    }
    const std::uint8_t* row(int memoryRow) const {
        return pixels() + stride() * static_cast<std::size_t>(memoryRow);
    }
    /// The colour table, DibPaletteSize bytes after the header.
    std::uint8_t* colourTable() { return data() + header().biSize; }
    const std::uint8_t* colourTable() const { return data() + header().biSize; }

  private:
    struct FreeDeleter {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t[], FreeDeleter> bytes_;
    std::size_t size_ = 0;
};

/// A finished frame that several holders read and none changes: a repeated frame is the same
/// block again, never a copy.
using SharedFrame = std::shared_ptr<const FrameImage>;

/// `frame` as a shared, immutable frame; none for an empty image.
inline SharedFrame shareFrame(FrameImage frame) {
    return frame ? std::make_shared<const FrameImage>(std::move(frame)) : SharedFrame{};
}

/// A new image of identical bytes; empty for an empty input or a failed allocation.
FrameImage DibCopy(const FrameImage& image);

/// Frame blocks come from malloc. Left to itself the C library maps frame-size blocks fresh
/// and gives their pages back when they are freed, so every changing frame of a build pays
/// for page faults again; this asks it to keep freed blocks for the next frames instead.
/// Peak memory stays the same. Call once at start-up, before other threads exist.
void ReuseFrameBlocks();

}  // namespace quillfen
