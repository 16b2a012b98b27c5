// Every frame of every example Script and of mixed Scripts (stills, every transition, PIP,
// pan-and-zoom, captions, a clip, a sequence, stereo, a Script whose every frame moves)
// built with the raw codec, compared
// with checksums recorded from an earlier build. Work on speed must not change one byte.
//
// To record the checksums again after an intended change of pixels:
//   QUILLFEN_RECORD_CHECKSUMS=1 frame_checksums_e2e_test
// rewrites tests/e2e/frame_checksums.txt in the source tree.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/movie_probe.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

namespace fs = std::filesystem;

const char* const kMixedMono = R"(>resize=320x240
>framerate=25
>stereo=0
>background=#203040
>path=pictures/
>text=Mixed|10%,70%,80%,20%,0,2|Arial,96,0,700|37,white,none,black
>frame=navy|0.4
>transition=Fade|0.4
landscape.jpg*0.4
>transition=Wipe|0.4
portrait.jpg*0.4
>transition=Slide|0.4
square.png*0.4
>transition=Push|0.4
banner.bmp*0.4
>transition=Barn|-0.4
landscape.jpg*0.4
>transition=Blinds|0.4
portrait.jpg*0.4
>transition=Checkerboard|0.4
square.png*0.4
>text=0
>transition=Iris|0.4
banner.bmp*0.4
>transition=Inset|0.4
landscape.jpg*0.4
>text=Boxed|5%,5%,50%,15%,0,0|Courier New,48,0,400|0,yellow,#400000,none
>transition=Pixelate|0.4
portrait.jpg*0.4
>transition=Radial Wipe|0.4
square.png*0.4
>transition=Random Bars|0.4
banner.bmp*0.4
>transition=Random Dissolve|0.4
landscape.jpg*0.4
>transition=Spiral|0.4
portrait.jpg*0.4
>transition=Stretch|0.4
square.png*0.4
>transition=Strips|0.4
banner.bmp*0.4
>transition=Zigzag|0.4
landscape.jpg*0.4
>transition=Wheel|0.4
portrait.jpg*0.4
>transition=Gradient Wipe|0.4
square.png*0.6
>pip=5%,5%,33%|0|0.8
landscape.jpg*0.4
>text=0
>transition=Fade|0.2
>kbe=landscape.jpg|0,0,0,0,0.2|40%,30%,30%,0,0.2|1
>transition=Fade|0.2
>video=clip.avi
>transition=Wipe|0.2
>sequence=seq/shot[3].png|0|23
>frame=#804020|0.2
)";

const char* const kMixedStereo = R"(>resize=640x240
>framerate=25
>convert=2
>path=pictures/
>text=Depth|10%,10%,80%,20%,6,2|Arial,96,0,700|37,white,none,black
pair.jps*0.4
>transition=Fade|0.4
>kbe=pair.jps|0,0,0,0,0.2|35%,330,50%,-30,0.2|0.8
>pip=5%,5%,33%,8|0|0.6
pair.jps*0.4
>text=0
>transition=Iris|0.4
>video=clip.avi
)";

const char* const kStereoViews = R"(>resize=640x240
>framerate=25
>transpose=1
>mirror=0,1
>flipv=1
>background=#102030
>path=pictures/
pair.jps*0.4
>transition=Wipe|0.4
>text=Views|10%,10%,80%,20%,6,2|Arial,96,0,700|37,white,none,black
landscape.jpg*0.4
>pip=55%,5%,33%,8|0|0.4
pair.jps*0.4
)";

// Every frame differs from the one before: nothing may be taken for a repeat.
const char* const kAllKbe = R"(>resize=320x240
>framerate=25
>stereo=0
>path=pictures/
>text=Moving|10%,75%,80%,15%,0,2|Arial,64,0,700|37,white,none,black
>kbe=landscape.jpg|0,0,0,0,0|30%,20%,40%,0,0|1
>transition=Fade|0.3
>kbe=portrait.jpg|10%,10%,50%,0,0|0,0,0,0,0|1
>transition=Wipe|0.3
>kbe=square.png|0,0,0,0,0|50%,50%,25%,0,0|0.8
)";

const char* const kScripts[] = {"all_kbe",    "captions",     "demo",        "kbe",
                                "kbe_stereo", "pip",          "transitions", "video",
                                "mixed_mono", "mixed_stereo", "stereo_views"};

int run(const std::string& command) {
    int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

/// One folder for the whole suite: the example pictures, a raw clip, and every Script.
class ChecksumFolder {
  public:
    ChecksumFolder() {
        const std::string pictures = folder_.path() + "/pictures";
        ok_ = run(quoted(QUILLFEN_MAKE_PICTURES) + " " + quoted(pictures) + " >/dev/null") == 0 &&
              run(quoted(QUILLFEN_MAKE_CLIP) + " " + quoted(pictures + "/clip.avi") + " raw") == 0;
        for (const auto& entry : fs::directory_iterator(QUILLFEN_EXAMPLES)) {
            if (entry.path().extension() == ".txt")
                fs::copy_file(entry.path(), fs::path(folder_.path()) / entry.path().filename());
        }
        folder_.touch("mixed_mono.txt", kMixedMono);
        folder_.touch("mixed_stereo.txt", kMixedStereo);
        folder_.touch("stereo_views.txt", kStereoViews);
        folder_.touch("all_kbe.txt", kAllKbe);
    }
    bool ok() const { return ok_; }
    const std::string& path() const { return folder_.path(); }

  private:
    testing::TempFolder folder_;
    bool ok_ = false;
};

ChecksumFolder& sharedFolder() {
    static ChecksumFolder folder;
    return folder;
}

/// The checksums as runs: "hash*count" separated by spaces.
std::string runLengths(const std::vector<std::uint64_t>& sums) {
    std::ostringstream out;
    for (std::size_t i = 0; i < sums.size();) {
        std::size_t j = i;
        while (j < sums.size() && sums[j] == sums[i])
            ++j;
        out << (i ? " " : "") << std::hex << sums[i] << std::dec << "*" << (j - i);
        i = j;
    }
    return out.str();
}

std::vector<std::string> expanded(const std::string& runs) {
    std::vector<std::string> frames;
    std::istringstream in(runs);
    std::string run;
    while (in >> run) {
        auto star = run.find('*');
        frames.insert(frames.end(), std::stoul(run.substr(star + 1)), run.substr(0, star));
    }
    return frames;
}

const fs::path kRecordFile = fs::path(QUILLFEN_SOURCE_DIR) / "tests/e2e/frame_checksums.txt";

std::map<std::string, std::string> recorded() {
    std::map<std::string, std::string> table;
    std::ifstream in(kRecordFile);
    std::string line;
    while (std::getline(in, line)) {
        auto space = line.find(' ');
        if (!line.empty() && line[0] != '#' && space != std::string::npos)
            table[line.substr(0, space)] = line.substr(space + 1);
    }
    return table;
}

std::map<std::string, std::string> measured;

class FrameChecksums : public ::testing::TestWithParam<const char*> {};

TEST_P(FrameChecksums, RawFramesMatchTheRecordedOnes) {
    ChecksumFolder& folder = sharedFolder();
    ASSERT_TRUE(folder.ok()) << "the example pictures or the clip could not be made";
    const std::string name = GetParam();
    const std::string movie = folder.path() + "/" + name + ".avi";
    ASSERT_EQ(run("cd " + quoted(folder.path()) + " && " + quoted(QUILLFEN_BINARY) + " build " +
                  name + ".txt -o " + quoted(movie) + " --codec raw -y --quiet >/dev/null"),
              0);
    std::string error;
    std::vector<std::uint64_t> sums = testing::sampleChecksums(movie, &error);
    fs::remove(movie);
    ASSERT_FALSE(sums.empty()) << error;
    measured[name] = runLengths(sums);

    if (std::getenv("QUILLFEN_RECORD_CHECKSUMS")) GTEST_SKIP() << "recording";
    auto table = recorded();
    ASSERT_TRUE(table.contains(name)) << "no checksums recorded for " << name;
    std::vector<std::string> want = expanded(table[name]);
    std::vector<std::string> got = expanded(measured[name]);
    ASSERT_EQ(got.size(), want.size()) << "frame count";
    for (std::size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << name << ": frame " << i << " differs";
}

INSTANTIATE_TEST_SUITE_P(Scripts, FrameChecksums, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param); });

// Writes the table when recording was asked for and every Script was measured.
class RecordOnExit : public ::testing::Environment {
  public:
    void TearDown() override {
        if (!std::getenv("QUILLFEN_RECORD_CHECKSUMS") || measured.size() != std::size(kScripts))
            return;
        std::ofstream out(kRecordFile);
        out << "# Raw frame checksums (FNV-1a 64 of each sample, as hash*run) per Script;\n"
               "# written by frame_checksums_e2e_test with QUILLFEN_RECORD_CHECKSUMS=1.\n";
        for (const auto& [name, runs] : measured)
            out << name << " " << runs << "\n";
    }
};

const auto* const kRecorder = ::testing::AddGlobalTestEnvironment(new RecordOnExit);

}  // namespace
}  // namespace quillfen
