#include "fuzz_pictures.h"

#include <cstdio>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/picture_fixtures.h"
#include "support/clip_maker.h"
#include "support/sound_maker.h"

namespace quillfen::fuzz {

using testing::Bytes;
using testing::writeBytes;

std::string makeFuzzPictures(const std::string& folder) {
    const std::string base = folder + "/";
    writeBytes(base + "a.jpg", testing::patternJpeg(40, 30));
    writeBytes(base + "pair.jps", testing::patternJpeg(48, 18));
    writeBytes(base + "b.png", testing::patternPng(20, 20));
    WriteBmpFile(DibCreateBlank(36, 9, 24, makeColour(200, 40, 40)), base + "c.bmp");
    Bytes cut = testing::patternJpeg(40, 30);
    cut.resize(cut.size() / 2);
    writeBytes(base + "cut.jpg", cut);
    for (int i = 1; i <= 3; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "seq/img%03d.png", i);
        writeBytes(base + name, testing::patternPng(8 + i, 8));
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
