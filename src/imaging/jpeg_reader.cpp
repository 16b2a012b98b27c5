#include "imaging/jpeg_reader.h"

#include <memory>

#include "imaging/jpeg_error_jump.h"
#include "imaging/picture_file.h"

namespace quillfen {
namespace {

int readByte(j_decompress_ptr info) {
    jpeg_source_mgr* src = info->src;
    if (src->bytes_in_buffer == 0 && !src->fill_input_buffer(info)) return 0;
    --src->bytes_in_buffer;
    return *src->next_input_byte++;
}

// APP1 segments (camera metadata) are passed over without being kept.
boolean skipApp1(j_decompress_ptr info) {
    int high = readByte(info), low = readByte(info);
    long length = (high << 8 | low) - 2;
    if (length > 0) info->src->skip_input_data(info, length);
    return TRUE;
}

// Leaves the file at the start-of-image marker when at most 1000 zero bytes precede it;
// otherwise at `start`, for the library to judge.
void findStartOfImage(PictureFile& file, long start) {
    std::uint8_t head[1002];
    std::size_t got = file.read(head, sizeof head);
    std::size_t zeros = 0;
    while (zeros < got && head[zeros] == 0)
        ++zeros;
    bool found = zeros <= 1000 && zeros + 1 < got && head[zeros] == 0xFF && head[zeros + 1] == 0xD8;
    file.seek(start + (found ? static_cast<long>(zeros) : 0));
}

// A row the library could not give in the picture's order: four components (their fourth
// byte cleared) or a colour space it cannot turn into blue-green-red.
void storeRow(const JSAMPLE* src, std::uint8_t* dst, int width, int components) {
    for (int x = 0; x < width; ++x, src += components, dst += components) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        if (components == 4) dst[3] = 0;
    }
}

FrameImage allocateFor(int width, int height, int components) {
    std::size_t stride = DibRowStride(width, components * 8);
    // The block keeps room for a 256-entry table whatever the depth (and a second one's worth
    // of slack for grey pictures), as pictures from this reader always have.
    std::size_t extra = components == 1 ? 2088 : 1064;
    FrameImage image = FrameImage::allocate(stride * static_cast<std::size_t>(height) + extra);
    if (!image) return {};
    BitmapInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<std::uint16_t>(components * 8);
    h.biSizeImage = 0;
    image.setHeader(h);
    if (components == 1) {
        std::uint8_t* table = image.colourTable();
        for (int i = 0; i < 256; ++i)
            table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = i;
    }
    return image;
}

// A Huffman-coded scan spends at least one bit on every 8x8 block, so a whole picture never
// holds more than 512 pixels per byte of file. One claiming thousands of times more is all but
// missing its data, and decoding it would only cost time for a grey page.
constexpr std::int64_t kMostPixelsPerByte = 4096;

bool tooLargeForItsData(const jpeg_decompress_struct& info, std::uint64_t bytes) {
    std::int64_t pixels = std::int64_t{info.image_width} * info.image_height;
    if (pixels <= 0 || pixels > kMaxPicturePixels) return true;
    // `bytes` is 0 when the file's size is unknown.
    return !info.arith_code && bytes != 0 &&
           static_cast<std::uint64_t>(pixels) > kMostPixelsPerByte * bytes;
}

// Everything the long jump may leave behind lives outside the function that sets it.
struct Decoding {
    jpeg_decompress_struct info;
    JpegErrorJump errors;
    FrameImage image;
    bool created = false;
};

bool decode(Decoding& d, std::FILE* file, std::uint64_t bytes) {
    // Library messages never reach the terminal: a damaged file is simply not a picture.
    d.info.err = quietJpegErrors(d.errors);
    if (setjmp(d.errors.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_stdio_src(&d.info, file);
    jpeg_set_marker_processor(&d.info, JPEG_APP0 + 1, skipApp1);
    jpeg_read_header(&d.info, TRUE);
    int components = d.info.num_components;
    if (components != 1 && components != 3 && components != 4) return false;
    if (tooLargeForItsData(d.info, bytes)) return false;
    // Colour rows come out blue-green-red, as the picture keeps them: no reordering pass.
    if (d.info.out_color_space == JCS_RGB) d.info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d.info);
    int width = static_cast<int>(d.info.output_width),
        height = static_cast<int>(d.info.output_height);
    int outComponents = d.info.output_components;
    if (outComponents != components) return false;
    d.image = allocateFor(width, height, components);
    if (!d.image) return false;
    const bool direct = components == 1 || d.info.out_color_space == JCS_EXT_BGR;
    JSAMPARRAY buffer =
        d.info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&d.info), JPOOL_IMAGE,
                                 static_cast<JDIMENSION>(width * components), 1);
    while (d.info.output_scanline < d.info.output_height) {
        int row = height - 1 - static_cast<int>(d.info.output_scanline);
        if (direct) {
            JSAMPROW into = d.image.row(row);
            jpeg_read_scanlines(&d.info, &into, 1);
            continue;
        }
        jpeg_read_scanlines(&d.info, buffer, 1);
        storeRow(buffer[0], d.image.row(row), width, components);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

}  // namespace

FrameImage LoadJpegFile(const std::string& path, long start) {
    PictureFile file(path, start);
    if (!file) {
        std::fprintf(stderr, "can't open %s\n", path.c_str());
        return {};
    }
    findStartOfImage(file, start);
    auto d = std::make_unique<Decoding>();
    bool ok = decode(*d, file.get(), file.remaining());
    if (d->created) jpeg_destroy_decompress(&d->info);
    if (!ok) return {};
    return std::move(d->image);
}

}  // namespace quillfen
