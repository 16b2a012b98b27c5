#include "fuzz_pictures.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/picture_fixtures.h"
#include "support/clip_maker.h"
#include "support/sound_maker.h"

namespace quillfen::fuzz {
namespace {

using testing::Bytes;

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes jpegBytes(int width, int height) {
    Bytes samples(static_cast<std::size_t>(width * height * 3));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 13);
    return testing::encodeJpeg(width, height, 3, samples);
}

Bytes pngBytes(int width, int height) {
    std::vector<Bytes> rows(static_cast<std::size_t>(height),
                            Bytes(static_cast<std::size_t>(width * 3)));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t i = 0; i < rows[y].size(); ++i)
            rows[y][i] = static_cast<std::uint8_t>(i * 7 + y * 3);
    return testing::encodePng(width, height, PNG_COLOR_TYPE_RGB, 8, rows);
}

}  // namespace

std::string makeFuzzPictures(const std::string& folder) {
    const std::string base = folder + "/";
    writeBytes(base + "a.jpg", jpegBytes(40, 30));
    writeBytes(base + "pair.jps", jpegBytes(48, 18));
    writeBytes(base + "b.png", pngBytes(20, 20));
    WriteBmpFile(DibCreateBlank(36, 9, 24, makeColour(200, 40, 40)), base + "c.bmp");
    Bytes cut = jpegBytes(40, 30);
    cut.resize(cut.size() / 2);
    writeBytes(base + "cut.jpg", cut);
    for (int i = 1; i <= 3; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "seq/img%03d.png", i);
        writeBytes(base + name, pngBytes(8 + i, 8));
    }
    testing::ClipOptions clip;
    clip.frames = 4;
    clip.width = 32;
    clip.height = 24;
    testing::makeClip(base + "clip.avi", clip);
    testing::writeWav(base + "tone.wav", 0.5, testing::sine(440), 8000);
    return folder;
}

}  // namespace quillfen::fuzz
