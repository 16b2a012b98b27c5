// Runs the built `quillfen build` and `quillfen frame` on generated pictures and reads the
// movie back with FFmpeg: frame count, rate, size, key frames, every frame's bytes, and
// Ctrl+C.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/picture_loader.h"
#include "support/cli_run.h"
#include "support/movie_probe.h"
#include "support/private_disk.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

using testing::TempFolder;

using testing::CliRun;
using testing::readAll;

pid_t start(const std::string& folder, const std::vector<std::string>& args) {
    return testing::startProgram(QUILLFEN_BINARY, folder, args);
}

CliRun finish(const std::string& folder, pid_t pid) {
    return testing::finishProgram(folder, pid);
}

CliRun quillfen(const std::string& folder, const std::vector<std::string>& args) {
    return finish(folder, start(folder, args));
}

long long totalFrames(const std::string& trace) {
    std::smatch match;
    static const std::regex total(R"(Total movie time: \S+  \((\d+) frames\))");
    return std::regex_search(trace, match, total) ? std::stoll(match[1]) : -1;
}

/// The size of the temporary file a build writes `name` under, or 0.
std::uintmax_t pendingMovieSize(const std::string& folder, const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with("." + name + "-")) return entry.file_size(error);
    }
    return 0;
}

class BuildCommand : public ::testing::Test {
  protected:
    void picture(const std::string& name, int width, int height, ColourValue colour) {
        FrameImage image = DibCreateBlank(width, height, 24, colour);
        // A darker block in one corner, so orientation and fitting mistakes show.
        for (int y = 0; y < height / 3; ++y)
            std::memset(image.row(y), 40, static_cast<std::size_t>(width / 3) * 3);
        std::filesystem::create_directories(
            std::filesystem::path(folder.path() + "/" + name).parent_path());
        ASSERT_TRUE(WriteBmpFile(image, folder.path() + "/" + name));
    }
    void script(const std::string& text) { folder.touch("s.txt", text); }
    std::string path(const std::string& name) const { return folder.path() + "/" + name; }

    TempFolder folder;
};

// Elements start at frames 0, 5, 8, 12 (and the caption changes nothing of that).
constexpr const char* kMixedScript =
    ">resize=160x120\n"
    ">background=#336699\n"
    "tall.bmp*0.2\n"
    ">frame=red|0.12\n"
    ">text=Hello|5,5,150,40\n"
    "wide.bmp*0.16\n"
    ">sequence=seq/n[1].bmp|0|2\n";

TEST_F(BuildCommand, EveryRawFrameEqualsWhatQuillfenFrameRenders) {
    picture("tall.bmp", 30, 90, makeColour(200, 180, 20));
    picture("wide.bmp", 120, 40, makeColour(20, 180, 200));
    for (int i = 0; i < 3; ++i)
        picture("seq/n" + std::to_string(i) + ".bmp", 40 + 10 * i, 30, makeColour(90, 30 * i, 9));
    script(kMixedScript);
    CliRun build = quillfen(folder.path(), {"build", "s.txt", "-o", "m.avi", "--codec", "raw"});
    ASSERT_EQ(build.status, 0) << build.out << build.err;
    long long total = totalFrames(build.out);
    ASSERT_EQ(total, 15);

    testing::MovieProbe probe = testing::probeMovie(path("m.avi"));
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.storedFrames(), total);
    EXPECT_EQ(probe.width, 160);
    EXPECT_EQ(probe.height, 120);
    EXPECT_EQ(probe.rateNum, 25 * probe.rateDen);
    std::vector<FrameImage> frames = testing::decodeMovieFrames(path("m.avi"));
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(total));
    for (long long i = 0; i < total; ++i) {
        CliRun frame = quillfen(folder.path(),
                                {"frame", "s.txt", "--index", std::to_string(i), "-o", "f.bmp"});
        ASSERT_EQ(frame.status, 0) << frame.err;
        FrameImage rendered = LoadPicture(path("f.bmp"));
        ASSERT_TRUE(rendered);
        const FrameImage& decoded = frames[static_cast<std::size_t>(i)];
        ASSERT_EQ(rendered.stride() * 120, decoded.stride() * 120);
        EXPECT_EQ(std::memcmp(rendered.pixels(), decoded.pixels(), rendered.stride() * 120), 0)
            << "frame " << i;
    }
}

TEST_F(BuildCommand, AScriptWrittenOnWindowsBuildsTheSameMovieAsItsLinuxTwin) {
    picture("Pics/Beach.bmp", 60, 40, makeColour(200, 120, 40));
    picture("Pics/caf\xC3\xA9.bmp", 40, 60, makeColour(40, 120, 200));
    picture("Pics/seq/IMG001.bmp", 50, 50, makeColour(10, 200, 10));
    picture("Pics/seq/img002.BMP", 50, 50, makeColour(200, 10, 200));
    // The caption has curly quotes and the euro sign, which Windows-1252 holds in one byte each.
    folder.touch("linux.txt",
                 ">resize=96x64\n>path=Pics/\nBeach.bmp*0.2\n>text=\xE2\x80\x9C"
                 "Caf\xC3\xA9\xE2\x80\x9D "
                 "5 \xE2\x82\xAC|2,2,90,30\ncaf\xC3\xA9.bmp*0.2\n>sequence=seq/IMG[3].bmp|1|2\n");
    folder.touch("windows.txt",
                 ">resize=96x64\r\n>path=pics\\\r\nBEACH.BMP. *0.2\r\n>text=\x93"
                 "Caf\xE9\x94 "
                 "5 \x80|2,2,90,30\r\nCAF\xC9.bmp*0.2\r\n>sequence=SEQ\\img[3].bmp|1\r\n");
    for (const char* twin : {"linux", "windows"}) {
        CliRun run = quillfen(folder.path(), {"build", std::string(twin) + ".txt", "-o",
                                              std::string(twin) + ".avi", "--codec", "raw"});
        ASSERT_EQ(run.status, 0) << twin << "\n" << run.out << run.err;
    }
    std::vector<FrameImage> linux = testing::decodeMovieFrames(path("linux.avi"));
    std::vector<FrameImage> windows = testing::decodeMovieFrames(path("windows.avi"));
    ASSERT_EQ(linux.size(), 12u);
    ASSERT_EQ(windows.size(), linux.size());
    for (std::size_t i = 0; i < linux.size(); ++i) {
        ASSERT_EQ(windows[i].stride(), linux[i].stride());
        EXPECT_EQ(std::memcmp(windows[i].pixels(), linux[i].pixels(), linux[i].stride() * 64), 0)
            << "frame " << i;
    }
}

TEST_F(BuildCommand, TheDefaultCodecPutsKeyFramesOnEveryElementsFirstFrame) {
    picture("tall.bmp", 30, 90, makeColour(200, 180, 20));
    picture("wide.bmp", 120, 40, makeColour(20, 180, 200));
    for (int i = 0; i < 3; ++i)
        picture("seq/n" + std::to_string(i) + ".bmp", 40, 30, makeColour(90, 30 * i, 9));
    script(std::string(kMixedScript) + ">framerate=25\n>moviefile=out/keys.avi\n");
    CliRun build = quillfen(folder.path(), {"build", "s.txt", "--keyint", "1000", "--quiet"});
    ASSERT_EQ(build.status, 0) << build.out << build.err;
    // moviefile names are read against the Script's folder; missing folders are made.
    testing::MovieProbe probe = testing::probeMovie(path("out/keys.avi"));
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.storedFrames(), 15);
    std::vector<std::int64_t> keys;
    for (int i : probe.keySamples())
        keys.push_back(probe.samples[i].frame);
    // The encoder may add key frames of its own (a scene cut), never leave one out.
    for (std::int64_t start : {0, 5, 8, 12})
        EXPECT_NE(std::find(keys.begin(), keys.end(), start), keys.end()) << "frame " << start;
    EXPECT_EQ(std::find(keys.begin(), keys.end(), 1), keys.end());
}

TEST_F(BuildCommand, MissingOrExistingMovieFilesEndTheBuildWithAClearMessage) {
    script(">resize=32x32\n>frame=red|0.2\n");
    CliRun none = quillfen(folder.path(), {"build", "s.txt"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no movie file: give -o or a moviefile command"), std::string::npos);

    folder.touch("old.avi", "old");
    CliRun kept = quillfen(folder.path(), {"build", "s.txt", "-o", "old.avi"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_NE(kept.err.find("'old.avi' already exists"), std::string::npos) << kept.err;
    EXPECT_EQ(readAll(path("old.avi")), "old");
    EXPECT_EQ(quillfen(folder.path(), {"build", "s.txt", "-o", "old.avi", "-y"}).status, 0);
    EXPECT_NE(readAll(path("old.avi")), "old");

    CliRun refused = quillfen(folder.path(), {"build", "s.txt", "-o", "x.mp4", "--codec", "raw"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("cannot hold codec 'raw'"), std::string::npos) << refused.out;
    EXPECT_FALSE(std::filesystem::exists(path("x.mp4")));

    EXPECT_EQ(quillfen(folder.path(), {"build", "s.txt", "--bogus"}).status, 2);
    EXPECT_EQ(quillfen(folder.path(), {"frame", "s.txt", "-o", "f.png"}).status, 2);
}

/// True when no temporary movie file is left in `folder`.
bool noPendingMovies(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".avi-") != std::string::npos) return false;
    return true;
}

TEST_F(BuildCommand, AnEarlierMovieIsReplacedOnlyByAFinishedOne) {
    std::filesystem::create_directory(path("folder.avi"));
    script(">resize=32x32\n>frame=red|0.2\n");
    CliRun intoFolder = quillfen(folder.path(), {"build", "s.txt", "-o", "folder.avi", "-y"});
    EXPECT_EQ(intoFolder.status, 1);
    EXPECT_NE(
        intoFolder.out.find("Error: the movie file '" + path("folder.avi") + "' is a folder."),
        std::string::npos)
        << intoFolder.out;
    EXPECT_EQ(intoFolder.out.find("Processing picture"), std::string::npos);

    // A picture that cannot be read gives no frame: the earlier movie stays as it was.
    folder.touch("old.avi", "old movie");
    folder.touch("broken.bmp", "BM not a picture");
    script(">resize=32x32\nbroken.bmp*0.2\n");
    CliRun noFrame = quillfen(folder.path(), {"build", "s.txt", "-o", "old.avi", "-y"});
    EXPECT_EQ(noFrame.status, 1) << noFrame.out;
    EXPECT_EQ(readAll(path("old.avi")), "old movie");
    EXPECT_TRUE(noPendingMovies(folder.path()));

    // The folder of a movie being written is removed: the build says so and fails.
    script(">resize=64x48\n>frame=red|4000\n");
    std::filesystem::create_directory(path("gone"));
    pid_t pid = start(folder.path(), {"build", "s.txt", "-o", "gone/m.avi", "--codec", "mjpeg"});
    while (pendingMovieSize(path("gone"), "m.avi") < 20000) {
        int raw = 0;
        ASSERT_EQ(waitpid(pid, &raw, WNOHANG), 0) << "the build ended by itself";
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::filesystem::remove_all(path("gone"));
    kill(pid, SIGINT);
    CliRun removed = finish(folder.path(), pid);
    EXPECT_EQ(removed.status, 1) << removed.out;
    EXPECT_NE(removed.out.find("the finished movie could not be renamed to '" + path("gone/m.avi") +
                               "': No such file or directory."),
              std::string::npos)
        << removed.out;
}

// In a child with a private 1 MiB disk: a build whose movie fills the disk. Exit status 0 when
// the build failed with status 1 and a message, and the movie it left decodes to its end
// without a temporary file beside it; 1-4 say which of those went wrong.
int buildOntoAFullDisk(const std::string& folder) {
    const std::string disk = folder + "/small";
    if (!testing::mountPrivateDisk(disk, "1m")) return testing::kNoPrivateDisk;
    CliRun run = quillfen(folder, {"build", "s.txt", "-o", "small/m.avi", "--codec", "raw"});
    if (run.status != 1) return 1;
    if (run.out.find("disk is full") == std::string::npos) return 2;
    std::string error;
    std::vector<FrameImage> frames = testing::decodeMovieFrames(disk + "/m.avi", -1, &error);
    if (frames.empty() || !error.empty()) return 3;
    return noPendingMovies(disk) ? 0 : 4;
}

TEST_F(BuildCommand, AFullDiskLeavesAFinishedMovieOfTheFramesWritten) {
    // Every frame differs, so the raw movie outgrows the disk quickly.
    script(">resize=64x48\n>frame=red|0.1\n>transition=Fade|20\n>frame=blue|0.1\n");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(buildOntoAFullDisk(folder.path()));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == testing::kNoPrivateDisk)
        GTEST_SKIP() << "no private tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(BuildCommand, PictureWritesTheFittedPictureAsBmpOnly) {
    picture("wide.bmp", 120, 40, makeColour(20, 180, 200));
    CliRun fitted = quillfen(
        folder.path(), {"picture", "wide.bmp", "-o", "fit.BMP", "--fit", "60x60", "--stereo", "0"});
    ASSERT_EQ(fitted.status, 0) << fitted.err;
    FrameImage result = LoadPicture(path("fit.BMP"));
    ASSERT_TRUE(result);
    EXPECT_EQ(result.width(), 60);
    EXPECT_EQ(result.height(), 60);

    // A .png name would get BMP bytes: refused before anything is written.
    CliRun png = quillfen(folder.path(), {"picture", "wide.bmp", "-o", "fit.png"});
    EXPECT_EQ(png.status, 2);
    EXPECT_NE(png.err.find("the output must be a .bmp file"), std::string::npos) << png.err;
    EXPECT_FALSE(std::filesystem::exists(path("fit.png")));

    CliRun missing = quillfen(folder.path(), {"picture", "gone.bmp", "-o", "x.bmp"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read picture 'gone.bmp': No such file or directory"),
              std::string::npos)
        << missing.err;
    EXPECT_FALSE(std::filesystem::exists(path("x.bmp")));
}

TEST_F(BuildCommand, PictureUsageErrorsSayWhatIsWrong) {
    picture("wide.bmp", 120, 40, makeColour(20, 180, 200));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"wide.bmp", "-o", "y.bmp", "--fit", "100"}, "bad value '100' for --fit"},
        {{"wide.bmp", "-o", "y.bmp", "--size", "3"}, "unknown option --size"},
        {{"wide.bmp", "-o"}, "-o needs a value"},
        {{"wide.bmp", "other.bmp", "-o", "y.bmp"}, "more than one picture given"},
        {{"wide.bmp"}, "no -o OUT.bmp given"},
    };
    for (const auto& [args, problem] : cases) {
        std::vector<std::string> line = {"picture"};
        line.insert(line.end(), args.begin(), args.end());
        CliRun run = quillfen(folder.path(), line);
        EXPECT_EQ(run.status, 2) << problem;
        EXPECT_EQ(run.err.rfind("quillfen picture: " + problem + "\nUsage: quillfen picture", 0),
                  0u)
            << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(path("y.bmp")));
}

TEST_F(BuildCommand, AMovieWithoutASingleFrameIsAFailure) {
    folder.touch("broken.bmp", "not a picture");
    for (const char* text : {"; only a comment\n", "broken.bmp*0.2\n"}) {
        script(text);
        CliRun run = quillfen(folder.path(), {"build", "s.txt", "-o", "empty.avi", "-y"});
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_NE(run.err.find("no frame was written"), std::string::npos) << run.err;
    }
}

TEST_F(BuildCommand, CtrlCTermAndHangUpFinishTheFileAndExitWith128PlusTheSignal) {
    // Far longer than the test waits: the build is always interrupted mid-way.
    script(">resize=64x48\n>frame=red|4000\n");
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        std::filesystem::remove(path("long.avi"));
        pid_t pid = start(folder.path(), {"build", "s.txt", "-o", "long.avi", "--codec", "mjpeg"});
        // The movie grows under a temporary name until it is finished.
        while (pendingMovieSize(folder.path(), "long.avi") < 20000) {
            int raw = 0;
            ASSERT_EQ(waitpid(pid, &raw, WNOHANG), 0) << "the build ended by itself";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(pid, signalNumber);
        CliRun run = finish(folder.path(), pid);
        EXPECT_EQ(run.status, 128 + signalNumber) << run.err;
        EXPECT_NE(run.out.find("Script interrupted."), std::string::npos);
        EXPECT_NE(run.out.find("Done!"), std::string::npos);
        testing::MovieProbe probe = testing::probeMovie(path("long.avi"));
        ASSERT_TRUE(probe.ok()) << probe.error;
        EXPECT_GT(probe.storedFrames(), 0);
        EXPECT_LT(probe.storedFrames(), 100000);
        std::vector<FrameImage> frames = testing::decodeMovieFrames(path("long.avi"));
        EXPECT_EQ(frames.size(), static_cast<std::size_t>(probe.storedFrames()));
    }
}

}  // namespace
}  // namespace quillfen
