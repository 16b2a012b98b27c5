#include "imaging/frame_image.h"

#include <malloc.h>

#include <cstring>
#include <limits>

namespace quillfen {

int DibColorCount(const BitmapInfoHeader& h) {
    int bits = h.biBitCount;
    if (h.biSize == 12) {
        // A 12-byte core header keeps its bit count at bytes 10..11.
        std::uint16_t coreBits = 0;
        std::memcpy(&coreBits, reinterpret_cast<const std::uint8_t*>(&h) + 10, 2);
        bits = coreBits;
    }
    switch (bits) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

std::size_t DibPaletteSize(const BitmapInfoHeader& h) {
    if (h.biCompression == kBiBitfields) return 12;
    std::size_t entry = h.biSize == 12 ? 3 : 4;
    return static_cast<std::size_t>(DibColorCount(h)) * entry;
}

std::size_t DibRowStride(std::int64_t width, int bits) {
    if (width <= 0 || bits <= 0 || width > (std::int64_t{1} << 31)) return 0;
    return static_cast<std::size_t>((width * bits + 31) / 32) * 4;
}

FrameImage FrameImage::allocate(std::size_t bytes) {
    FrameImage image;
    if (bytes == 0) return image;
    image.bytes_.reset(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
    if (image.bytes_) image.size_ = bytes;
    return image;
}

FrameImage FrameImage::allocateForOverwrite(std::size_t bytes) {
    FrameImage image;
    if (bytes == 0) return image;
    image.bytes_.reset(static_cast<std::uint8_t*>(std::malloc(bytes)));
    if (image.bytes_) image.size_ = bytes;
    return image;
}

FrameImage FrameImage::create(int width, int height, int bits) {
    std::size_t stride = DibRowStride(width, bits);
    if (stride == 0 || height <= 0) return {};
    BitmapInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<std::uint16_t>(bits);
    h.biSizeImage = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height));
    FrameImage image =
        allocate(h.biSize + DibPaletteSize(h) + stride * static_cast<std::size_t>(height));
    if (image) image.setHeader(h);
    return image;
}

bool FrameImage::resize(std::size_t bytes) {
    if (bytes == 0) return false;
    auto* grown = static_cast<std::uint8_t*>(std::realloc(bytes_.get(), bytes));
    if (!grown) return false;
    (void)bytes_.release();
    bytes_.reset(grown);
    if (bytes > size_) std::memset(grown + size_, 0, bytes - size_);
    size_ = bytes;
    return true;
}

BitmapInfoHeader FrameImage::header() const {
    BitmapInfoHeader h;
    if (size_ >= sizeof h)
        std::memcpy(&h, bytes_.get(), sizeof h);
    else
        h = BitmapInfoHeader{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    return h;
}

void FrameImage::setHeader(const BitmapInfoHeader& h) {
    if (size_ >= sizeof h) std::memcpy(bytes_.get(), &h, sizeof h);
}

std::size_t FrameImage::stride() const {
    BitmapInfoHeader h = header();
    return DibRowStride(h.biWidth, h.biBitCount);
}

std::size_t FrameImage::pixelOffset() const {
    BitmapInfoHeader h = header();
    return h.biSize + DibPaletteSize(h);
}

bool FrameImage::rowsFit() const {
    BitmapInfoHeader h = header();
    if (size_ < sizeof h || h.biSize != 40 || h.biWidth <= 0 || h.biHeight <= 0) return false;
    std::size_t stride = DibRowStride(h.biWidth, h.biBitCount);
    if (stride == 0) return false;
    std::size_t offset = h.biSize + DibPaletteSize(h);
    if (offset > size_) return false;
    return static_cast<std::size_t>(h.biHeight) <= (size_ - offset) / stride;
}

FrameImage DibCopy(const FrameImage& image) {
    if (!image) return {};
    FrameImage copy = FrameImage::allocateForOverwrite(image.size());
    if (copy) std::memcpy(copy.data(), image.data(), image.size());
    return copy;
}

void ReuseFrameBlocks() {
    // Blocks up to 64 MB (a 4000 x 4000 picture at 32 bits) come from the heap, and up to
    // 256 MB of freed heap stays mapped for reuse. One heap for every thread: a frame freed by
    // the writer's thread is reused by the next one rendered, where a heap for each thread
    // would keep both (a build makes few, large allocations, so sharing costs no speed).
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_ARENA_MAX, 1);
}

}  // namespace quillfen
