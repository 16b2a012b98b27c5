// make-fuzz-corpus FOLDER EXAMPLES: the seed inputs of every fuzz target, one folder each under
// FOLDER, made from our own encoders and the example Scripts in EXAMPLES. Nothing is downloaded.

#include <png.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_pictures.h"
#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/picture_fixtures.h"
#include "support/clip_maker.h"

namespace {

namespace fs = std::filesystem;
using quillfen::testing::Bytes;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeSeed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

/// The picture files of the seeds: each kind the readers know, in several layouts.
std::vector<std::pair<std::string, std::string>> pictureSeeds(const fs::path& work) {
    quillfen::fuzz::makeFuzzPictures(work.string());
    std::vector<std::pair<std::string, std::string>> seeds;
    for (const char* name : {"a.jpg", "pair.jps", "b.png", "c.bmp", "cut.jpg"})
        seeds.emplace_back(name, readText(work / name));
    for (int bits : {8, 16, 32}) {
        const std::string name = "depth" + std::to_string(bits) + ".bmp";
        quillfen::WriteBmpFile(
            quillfen::DibCreateBlank(7, 5, bits, quillfen::makeColour(9, 99, 199)),
            (work / name).string());
        seeds.emplace_back(name, readText(work / name));
    }
    Bytes gray(6 * 4, 0x80);
    Bytes jpeg = quillfen::testing::encodeJpeg(6, 4, 1, gray, 50);
    seeds.emplace_back("gray.jpg", std::string(jpeg.begin(), jpeg.end()));
    std::vector<Bytes> rows(3, Bytes(5 * 4, 0x40));
    Bytes png = quillfen::testing::encodePng(5, 3, PNG_COLOR_TYPE_RGBA, 8, rows);
    seeds.emplace_back("rgba.png", std::string(png.begin(), png.end()));
    return seeds;
}

bool endsWith(const std::string& name, const std::string& tail) {
    return name.size() >= tail.size() &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

void writePictureSeeds(const fs::path& out, const fs::path& work) {
    int index = 0;
    for (const auto& [name, bytes] : pictureSeeds(work)) {
        if (endsWith(name, ".bmp")) writeSeed(out / "bmp_reader", name, bytes);
        if (endsWith(name, ".png")) writeSeed(out / "png_reader", name, bytes);
        if (endsWith(name, ".jpg") || endsWith(name, ".jps"))
            writeSeed(out / "jpeg_reader", name, bytes);
        // The choice bytes: kind (matching the file), size, resize options, conversion.
        const char kind = endsWith(name, ".bmp")   ? 0
                          : endsWith(name, ".png") ? 2
                          : endsWith(name, ".jps") ? 3
                                                   : 1;
        const std::string choices = {kind, static_cast<char>(17 + index * 53),
                                     static_cast<char>(index * 37), static_cast<char>(index * 29)};
        writeSeed(out / "picture_loading", name, choices + bytes);
        ++index;
    }
}

/// Scripts that name the fuzz pictures, then the examples.
std::vector<std::pair<std::string, std::string>> scriptSeeds(const fs::path& examples) {
    std::vector<std::pair<std::string, std::string>> seeds = {
        {"all.txt",
         ">resize=64x48\n>framerate=10\na.jpg*1\n>transition=Wipe|0.5\nb.png*1\n"
         ">text=Hello|0|1|Arial|12|red\n>pip=c.bmp|0.5|10|10|30|20\n>kbe=a.jpg|1|0,0,40,30|10,10,"
         "20,15\n"
         ">sequence=seq/"
         "img[3].png|1\n>video=clip.avi\n>soundtrack=tone.wav|80|0.2|1\n>frame=blue|0.5\n"
         ">stereo=1\n>convert=12\npair.jps*1\n>soundtrack=0\n"},
        {"windows.txt",
         ">path=.\\\r\n>resizemode=2\r\nA.JPG*1\r\n>crop=C\r\n>background=#102030\r\nb.png\r\n"},
        {"errors.txt", ">resize=x\n>transition=Nope|-1\ncut.jpg\nmissing.jpg\n>skip=2\n>stop\n"},
    };
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(examples, error))
        if (entry.path().extension() == ".txt")
            seeds.emplace_back(entry.path().filename().string(), readText(entry.path()));
    return seeds;
}

void writeScriptSeeds(const fs::path& out, const fs::path& examples) {
    for (const auto& [name, text] : scriptSeeds(examples)) {
        writeSeed(out / "script_parser", name, text);
        writeSeed(out / "script_colouring", name, text);
        writeSeed(out / "text_buffer", name, text);
    }
    // Windows-1252 with curly quotes and the euro sign, and a UTF-8 byte order mark.
    writeSeed(out / "text_buffer", "cp1252.txt",
              ">text=\x93"
              "Caf\xe9\x94 \x80 5\r\na.jpg\r\n");
    writeSeed(out / "text_buffer", "bom.txt", "\xef\xbb\xbf>resize=64x48\na.jpg\n");
}

void writeClipSeeds(const fs::path& out, const fs::path& work) {
    quillfen::testing::ClipOptions clip;
    clip.frames = 6;
    clip.width = 32;
    clip.height = 24;
    clip.gapAfter = 2;
    clip.gapFrames = 2;
    for (const char* name : {"mpeg4.avi", "h264.mp4"}) {
        clip.codec = endsWith(name, ".mp4") ? quillfen::testing::ClipCodec::H264
                                            : quillfen::testing::ClipCodec::Mpeg4;
        const std::string error = quillfen::testing::makeClip((work / name).string(), clip);
        if (!error.empty()) std::cerr << "make-fuzz-corpus: " << name << ": " << error << "\n";
        writeSeed(out / "video_reader", name, readText(work / name));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: make-fuzz-corpus FOLDER EXAMPLES\n";
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path work = out / ".work";
    fs::create_directories(work);
    writePictureSeeds(out, work);
    writeScriptSeeds(out, argv[2]);
    writeClipSeeds(out, work);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
