// Mutated Scripts through the parser and "Check script", and a few through a short Run build
// into a raw movie, over small generated pictures (good, truncated and corrupt). Whatever the
// Script says, a build must end with "Done!", never crash, hang or leak (the sanitizers watch
// that), and never write nonsense such as negative frame counts. The seed is fixed, so a
// failure names a case that can be replayed.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/effects/effect_catalogue.h"
#include "imaging/effects/effect_registry.h"
#include "imaging/picture_fixtures.h"
#include "media/codec_catalogue.h"
#include "output/build_driver.h"
#include "support/clip_maker.h"
#include "support/quiet_build_host.h"
#include "support/script_text.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

using testing::Bytes;

class FuzzHost : public testing::QuietBuildHost {
  public:
    void addTrace(const TraceEntry& e) override { trace.push_back(e.text); }
    void clearTrace() override { trace.clear(); }
    OverwriteAnswer askOverwrite(std::string_view, std::string_view) override {
        return OverwriteAnswer::Yes;
    }
    std::optional<std::string> chooseMovieFile(std::string_view) override { return movie; }
    std::optional<CodecChoice> chooseCompression(std::string_view) override {
        return defaultCodecChoice("raw");
    }
    void showFrame(const FrameImage& frame) override {
        ++shown;
        EXPECT_TRUE(frame);
    }
    bool pumpEvents() override { return shown >= frameLimit; }

    std::vector<std::string> trace;
    std::string movie;
    int shown = 0;
    int frameLimit = 6;
};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Bytes damaged(Bytes bytes, std::size_t cut, std::size_t flipFrom) {
    for (std::size_t i = flipFrom; i < bytes.size(); i += 5)
        bytes[i] ^= 0x5A;
    bytes.resize(std::min(bytes.size(), cut));
    return bytes;
}

/// The pictures the examples name (much smaller), a short clip, and damaged pictures.
void makePictures(const std::string& root) {
    const std::string pictures = root + "/pictures/";
    testing::writeBytes(pictures + "landscape.jpg", testing::patternJpeg(40, 30));
    testing::writeBytes(pictures + "portrait.jpg", testing::patternJpeg(18, 30));
    testing::writeBytes(pictures + "pair.jps", testing::patternJpeg(48, 18));
    testing::writeBytes(pictures + "square.png", testing::patternPng(20, 20));
    ASSERT_TRUE(
        WriteBmpFile(DibCreateBlank(36, 9, 24, makeColour(200, 40, 40)), pictures + "banner.bmp"));
    for (int i = 0; i < 24; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "seq/shot%03d.png", i);
        testing::writeBytes(pictures + name, testing::patternPng(8 + i % 3, 8));
    }
    testing::ClipOptions clip;
    clip.frames = 6;
    clip.width = 32;
    clip.height = 24;
    ASSERT_EQ(testing::makeClip(pictures + "clip.avi", clip), "");

    Bytes bmp;
    {
        std::string path = pictures + "banner.bmp";
        std::string text = fileText(path);
        bmp.assign(text.begin(), text.end());
    }
    Bytes jpg = testing::patternJpeg(40, 30);
    Bytes png = testing::patternPng(20, 20);
    testing::writeBytes(pictures + "cut.bmp", damaged(bmp, bmp.size() / 2, bmp.size()));
    testing::writeBytes(pictures + "cut.jpg", damaged(jpg, jpg.size() / 2, jpg.size()));
    testing::writeBytes(pictures + "cut.png", damaged(png, png.size() / 2, png.size()));
    testing::writeBytes(pictures + "bad.bmp", damaged(bmp, bmp.size(), 10));
    testing::writeBytes(pictures + "bad.jpg", damaged(jpg, jpg.size(), 30));
    testing::writeBytes(pictures + "bad.png", damaged(png, png.size(), 20));
    testing::writeBytes(pictures + "empty.png", {});
    testing::writeBytes(pictures + "text.jpg", Bytes{'h', 'e', 'l', 'l', 'o'});
    testing::writeBytes(pictures + "bad.avi", damaged(Bytes(400, 7), 400, 0));
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// Every command and line kind with sensible values: the material mutations start from.
const std::vector<std::string> kSeedLines = {
    ">resize=64x48",
    ">resizemode=2",
    ">crop=C",
    ">background=#102030",
    ">framerate=25",
    ">moviefile=out/m.avi",
    ">path=pictures/",
    ">stereo=0",
    ">convert=12",
    ">transpose=1",
    ">mirror=1,0",
    ">flipv=1",
    ">debug=XT",
    ">skip=0",
    ">mergeframes=1",
    ">logo=x",
    "landscape.jpg*0.2",
    ">transition=Wipe|0.2",
    "square.png",
    ">pip=10%,5%,50%,2|0,0,0|0.2",
    "banner.bmp*0.1",
    ">transition=Random Dissolve|-0.2",
    ">sequence=seq/shot[3].png|2|5",
    ">text=Hi\\nthere|10%,10%,80%,30%,2,2|Arial,36,0,700,1,1,1,10,10|37,white,#000080,black",
    ">frame=navy|0.2",
    ">kbe=landscape.jpg|0,0,50%,0,0.1|25%,25%,20%,3,0.1|0.2|1,2",
    ">text=Again",
    ">video=clip.avi",
    ">text=0",
    ">stop=here",
};

const std::vector<std::string> kOddValues = {
    "0",           "-1",          "1e308",      "-1e308",     "nan",
    "inf",         "-inf",        "1e-320",     "NaN",        "99999999999999999999",
    "2147483647",  "-2147483648", "2147483648", "4294967296", "0x7fffffff",
    "1e9",         "-1e9",        "100%",       "-100%",      "1e6%",
    "%",           "%%5",         "",           " ",          ".",
    "-",           "+",           "e5",         "1e",         "1.5.5",
    "\xff\xfe",    "\xc3\xa9",    "#",          "#FFFFFFFF",  "#12",
    "none",        "3x",          "x",          "1x0",        "0x1",
    "65536x65536", "-5x-5",       "[3]",        "[0]",        "[99]",
    "[",           "]",           "*",          "**",         "|",
    ",",           "\t",          "\\",         "..",         "/",
    "C:",          "\\\\x",
};

const std::vector<std::string> kCommands = {
    "resize",    "resizemode", "crop",     "background",  "framerate",  "path",
    "moviefile", "stereo",     "convert",  "transpose",   "mirror",     "flipv",
    "debug",     "skip",       "sequence", "frame",       "transition", "pip",
    "kbe",       "video",      "text",     "mergeframes", "logo",       "stop"};

const std::vector<std::string> kNames = {"landscape.jpg",
                                         "cut.jpg",
                                         "bad.jpg",
                                         "cut.png",
                                         "bad.png",
                                         "cut.bmp",
                                         "bad.bmp",
                                         "empty.png",
                                         "text.jpg",
                                         "pair.jps",
                                         "clip.avi",
                                         "bad.avi",
                                         "missing.png",
                                         "seq/shot[3].png",
                                         "seq/shot[1].png",
                                         "seq/shot[0].png",
                                         "seq/shot[12].png",
                                         "Fade",
                                         "Wipe",
                                         "Iris",
                                         "Pixelate",
                                         "Zigzag",
                                         "Radial Wipe",
                                         "Gradient Wipe",
                                         "Checkerboard",
                                         "Spiral",
                                         "Nope"};

class Mutator {
  public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}

    int below(std::size_t n) { return static_cast<int>(random_() % std::max<std::size_t>(n, 1)); }
    template <class T>
    const T& pick(const std::vector<T>& from) {
        return from[static_cast<std::size_t>(below(from.size()))];
    }

    std::string value() {
        switch (below(4)) {
            case 0:
                return pick(kOddValues);
            case 1:
                return pick(kNames);
            case 2:
                return std::to_string(below(200) - 50);
            default:
                return std::to_string(below(100) * 0.05 - 1.0).substr(0, 5);
        }
    }

    /// A command with 0..6 groups of 0..6 values, each value odd or ordinary.
    std::string command() {
        std::string line = ">" + pick(kCommands) + "=";
        const int groups = below(7);
        for (int g = 0; g < groups; ++g) {
            if (g > 0) line += '|';
            const int values = below(7);
            for (int v = 0; v < values; ++v) {
                if (v > 0) line += ',';
                line += value();
            }
        }
        if (groups == 0 && below(2) == 0) line += value();
        return line;
    }

    /// One change to one line.
    std::string mutate(std::string line) {
        switch (below(10)) {
            case 0:
                return command();
            case 1:  // replace a run of digits with an odd value
                return replaceNumber(line);
            case 2:
                return insertAt(
                    line, pick(std::vector<std::string>{"|", ",", "||", "%", "*", "\xff", "\x01",
                                                        "=", "[", "]", std::string(1, '\0')}));
            case 3:
                return eraseOne(line, below(2) ? '|' : ',');
            case 4:
                return line.substr(0, static_cast<std::size_t>(below(line.size() + 1)));
            case 5:
                return line + "|" + value();
            case 6:
                return insertAt(line, std::string(static_cast<std::size_t>(2000 + below(30000)),
                                                  "a9%|,"[below(5)]));
            case 7:
                return replaceNumber(replaceNumber(line));
            case 8:
                return pick(kNames) + (below(2) ? "*" + value() : "");
            default:
                return insertAt(line, value());
        }
    }

    std::vector<std::string> script(std::vector<std::string> lines) {
        const int changes = 1 + below(4);
        for (int c = 0; c < changes; ++c) {
            switch (below(6)) {
                case 0:
                    lines.insert(lines.begin() + below(lines.size() + 1), command());
                    break;
                case 1:
                    if (!lines.empty()) lines.erase(lines.begin() + below(lines.size()));
                    break;
                case 2:
                    if (!lines.empty()) lines.push_back(pick(lines));
                    break;
                default:
                    if (!lines.empty()) {
                        std::string& line = lines[static_cast<std::size_t>(below(lines.size()))];
                        line = mutate(line);
                    }
            }
        }
        return lines;
    }

  private:
    std::string insertAt(const std::string& line, const std::string& piece) {
        std::size_t at = static_cast<std::size_t>(below(line.size() + 1));
        return line.substr(0, at) + piece + line.substr(at);
    }
    std::string eraseOne(std::string line, char c) {
        std::size_t at = line.find(c, static_cast<std::size_t>(below(line.size() + 1)));
        if (at != std::string::npos) line.erase(at, 1);
        return line;
    }
    std::string replaceNumber(const std::string& line) {
        std::size_t start =
            line.find_first_of("0123456789", static_cast<std::size_t>(below(line.size() + 1)));
        if (start == std::string::npos) start = line.find_first_of("0123456789");
        if (start == std::string::npos) return line;
        std::size_t end = line.find_first_not_of("0123456789.", start);
        if (end == std::string::npos) end = line.size();
        return line.substr(0, start) + value() + line.substr(end);
    }

    std::mt19937 random_;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (line.size() > 200
                     ? line.substr(0, 200) + "...(" + std::to_string(line.size()) + " chars)"
                     : line) +
                "\n";
    return text;
}

/// What a finished build's Trace must never show, whatever the Script.
void expectSoundTrace(const FuzzHost& host, const BuildOutcome& outcome,
                      const std::vector<std::string>& lines) {
    ASSERT_FALSE(host.trace.empty()) << joined(lines);
    EXPECT_EQ(host.trace.back(), "Done!") << joined(lines);
    EXPECT_GE(outcome.totalFrames, 0) << joined(lines);
    // Times and frame counts are the numbers a Script's odd values could spoil.
    for (const std::string& text : host.trace) {
        const bool dump = text.find("lineNum:") != std::string::npos;
        const bool total = text.rfind("Total movie time", 0) == 0;
        std::string numbers = dump ? text.substr(0, text.find("lineNum:")) : total ? text : "";
        if (std::size_t from = text.find("nbFrames:"); dump && from != std::string::npos) {
            std::size_t avi = text.find("nbAVIFrames:", from);
            numbers += text.substr(from, text.find_first_of(" \t", avi) - from);
        }
        for (std::string_view bad : {"-", "nan", "inf"}) {
            EXPECT_EQ(numbers.find(bad), std::string::npos) << "trace \"" << text << "\" from\n"
                                                            << joined(lines);
        }
    }
}

/// A number from the environment for a longer run by hand (QUILLFEN_FUZZ_SEED,
/// QUILLFEN_FUZZ_CASES), else `fallback`: the suite itself always runs the same cases.
unsigned fromEnvironment(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

class ScriptFuzz : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new testing::TempFolder;
        makePictures(folder_->path());
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    /// The example Scripts, with their picture folder the generated one.
    static std::vector<std::vector<std::string>> corpus() {
        std::vector<std::vector<std::string>> scripts{kSeedLines};
        for (const auto& entry : std::filesystem::directory_iterator(QUILLFEN_EXAMPLES)) {
            if (entry.path().extension() == ".txt")
                scripts.push_back(splitLines(fileText(entry.path().string())));
        }
        return scripts;
    }

    BuildOutcome build(FuzzHost& host, const std::vector<std::string>& lines, BuildMode mode) {
        BuildDriver driver(host, catalogue_, tail_, [] { return std::time_t{0}; });
        driver.settings().scriptFolder = folder_->path();
        host.movie = folder_->path() + "/run.avi";
        driver.forceOutputFile(host.movie);
        testing::ScriptText script(lines);
        return driver.runBuild(script, mode);
    }

    static testing::TempFolder* folder_;
    const EffectCatalogue& catalogue_ = builtinEffectCatalogue();
    CaptionTail tail_;
};

testing::TempFolder* ScriptFuzz::folder_ = nullptr;

TEST_F(ScriptFuzz, UnmutatedScriptsCheckCleanly) {
    for (const std::vector<std::string>& lines : corpus()) {
        FuzzHost host;
        BuildOutcome outcome = build(host, lines, BuildMode::Check);
        expectSoundTrace(host, outcome, lines);
        EXPECT_TRUE(outcome.succeeded) << host.trace[host.trace.size() - 3];
    }
}

TEST_F(ScriptFuzz, MutatedScriptsCheckWithoutFault) {
    Mutator mutator(fromEnvironment("QUILLFEN_FUZZ_SEED", 20240611));
    const auto scripts = corpus();
    const unsigned cases = fromEnvironment("QUILLFEN_FUZZ_CASES", 2000);
    for (unsigned n = 0; n < cases; ++n) {
        std::vector<std::string> lines = mutator.script(scripts[n % scripts.size()]);
        FuzzHost host;
        BuildOutcome outcome = build(host, lines, BuildMode::Check);
        expectSoundTrace(host, outcome, lines);
        if (HasFailure()) return;
    }
}

TEST_F(ScriptFuzz, MutatedScriptsRunAFewFramesWithoutFault) {
    Mutator mutator(fromEnvironment("QUILLFEN_FUZZ_SEED", 7));
    const auto scripts = corpus();
    const unsigned cases = fromEnvironment("QUILLFEN_FUZZ_CASES", 2000) / 10;
    for (unsigned n = 0; n < cases; ++n) {
        std::vector<std::string> lines = mutator.script(scripts[n % scripts.size()]);
        // Small frames keep the build quick; the Script's own resize is then a repeat.
        lines.insert(lines.begin(), ">resize=48x36");
        FuzzHost host;
        BuildOutcome outcome = build(host, lines, BuildMode::Run);
        expectSoundTrace(host, outcome, lines);
        if (outcome.movie == MovieEnd::Completed || outcome.movie == MovieEnd::Stopped) {
            EXPECT_EQ(outcome.framesWritten, host.shown) << joined(lines);
        }
        if (HasFailure()) return;
    }
}

TEST_F(ScriptFuzz, HostileLinesRunWithoutFault) {
    const std::vector<std::vector<std::string>> scripts = {
        {">path=pictures/", ">text=Hi|0,0,40,30|Arial,2000000000|37,white", "square.png*1"},
        {">path=pictures/", ">text=Hi|0,0,40,30|Arial,-2147483648|37,white", "square.png*1"},
        {">path=pictures/", ">text=Hi|0,0,40,30|Arial,20,2000000000|37,white", "square.png*1"},
        {">path=pictures/",
         ">text=Hi|0,0,40,30|Arial,20,-2147483648,-5,9,9,9,2147483647,-2147483648|37,white",
         "square.png*1"},
        {">path=pictures/",
         ">text=Hi|2147483647,2147483647,2147483647,2147483647,2147483647,2147483647|Arial,20|37,"
         "white,red,blue",
         "square.png*1"},
        {">path=pictures/",
         ">text=Hi|-2147483648,-2147483648,-2147483648,-2147483648,-2147483648,-2147483648|Arial,"
         "20|293,white,red,blue",
         "square.png*1"},
        {">path=pictures/", ">stereo=1",
         ">text=Hi|1e300%,1e300%,1e300%,1e300%,1e300%,1e300%|Arial,20|2147483647,white,red,blue",
         "square.png*1"},
        {">path=pictures/",
         ">text=Hi|-1e300%,-1e300%,1e300%,1e300%,-1e300%,-1e300%|Arial,20|-1,white,red,blue",
         "square.png*1"},
        {">path=pictures/",
         ">kbe=landscape.jpg|2147483647,2147483647,2147483647,2147483647,1|-2147483648,-2147483648,"
         "-2147483648,-2147483648,1|1"},
        {">path=pictures/",
         ">kbe=landscape.jpg|1e300%,1e300%,1e300%,1e300%,1e300|-1e300%,-1e300%,1e-300%,-1e300%,-1|"
         "1e300"},
        {">path=pictures/", ">kbe=landscape.jpg|0,0,1,0,0|0,0,1,0,0|1"},
        {">path=pictures/", ">kbe=landscape.jpg|0,0,-1,0,0|0,0,-100,0,0|1"},
        {">path=pictures/", "square.png*1", ">pip=2147483647,2147483647,2147483647,2147483647|0|1",
         "landscape.jpg*1"},
        {">path=pictures/", "square.png*1", ">pip=-1e300%,1e300%,1e300%,-1e300%|0|1",
         "landscape.jpg*1"},
        {">path=pictures/", "square.png*1", ">transition=Iris|1e300", "landscape.jpg*1"},
        {">path=pictures/", "square.png*1", ">transition=Spiral|-1e300", "landscape.jpg*1"},
        {">path=pictures/", "square.png*1e300", ">transition=Fade|1", "landscape.jpg*-1e300"},
        {">path=pictures/", "cut.jpg*1", ">transition=Fade|1", "bad.png*1", ">pip=1,1,10|0|1",
         "cut.bmp*1", "bad.jpg", "empty.png", "text.jpg", "bad.bmp*1"},
        {">path=pictures/", ">sequence=seq/shot[3].png|2147483647|2147483647"},
        {">path=pictures/", ">sequence=seq/shot[3].png|-5|-2147483648"},
        {">path=pictures/", ">sequence=seq/shot[3].png|0|2147483647"},
        {">path=pictures/", ">video=bad.avi"},
        {">path=pictures/", ">video=square.png"},
        {">path=pictures/", ">video=clip.avi", ">transition=Fade|100", ">video=clip.avi"},
        {">path=pictures/", ">framerate=1e-300", "square.png*1"},
        {">path=pictures/", ">framerate=1e300", "square.png*1"},
        {">path=pictures/", ">resizemode=3", "banner.bmp*1", "portrait.jpg*1", ">transition=Fade|1",
         "landscape.jpg*1"},
        {">path=pictures/", ">crop=B", ">stereo=1", ">convert=20", ">mirror=1,1", ">flipv=1",
         ">transpose=1", "pair.jps*1", ">debug=X"},
        {">path=pictures/", ">convert=-2147483648", ">stereo=1", "banner.bmp*1"},
        {">frame=none|1e300"},
        {">frame=#12345|-1"},
    };
    for (std::vector<std::string> lines : scripts) {
        lines.insert(lines.begin(), ">resize=48x36");
        FuzzHost host;
        host.frameLimit = 60;
        BuildOutcome outcome = build(host, lines, BuildMode::Run);
        expectSoundTrace(host, outcome, lines);
    }
}

}  // namespace
}  // namespace quillfen
