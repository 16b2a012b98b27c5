// The soundtrack command end to end: the real program builds movies from generated tones and
// clicks, and their sound is decoded again and measured.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/cli_run.h"
#include "support/movie_probe.h"
#include "support/sound_maker.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

using testing::CliRun;

// Three two-second pictures at 25 fps; a 440 Hz tone from the start, 880 Hz from 4 s.
constexpr const char* kToneScript =
    ">resize=64x48\n"
    ">soundtrack=tone440.wav\n"
    ">frame=red|2\n"
    ">frame=green|2\n"
    ">soundtrack=tone880.wav||0.5\n"
    ">frame=blue|2\n";

class Soundtrack : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testing::writeWav(path("tone440.wav"), 7, testing::sine(440)));
        ASSERT_TRUE(testing::writeWav(path("tone880.wav"), 7, testing::sine(880), 48000, 2));
    }
    std::string path(const std::string& name) const { return folder.path() + "/" + name; }
    CliRun build(const std::string& script, const std::vector<std::string>& options) {
        folder.touch("s.txt", script);
        std::vector<std::string> args = {"build", "s.txt", "-y", "--quiet"};
        args.insert(args.end(), options.begin(), options.end());
        return testing::finishProgram(folder.path(),
                                      testing::startProgram(QUILLFEN_BINARY, folder.path(), args));
    }

    testing::TempFolder folder;
};

TEST_F(Soundtrack, TonesChangeWhereTheScriptSaysInEveryContainer) {
    const std::vector<std::vector<std::string>> movies = {{"-o", "m.avi"},
                                                          {"-o", "raw.avi", "--codec", "raw"},
                                                          {"-o", "m.mp4"},
                                                          {"-o", "m.mkv"},
                                                          {"-o", "m.wmv"}};
    for (const std::vector<std::string>& options : movies) {
        SCOPED_TRACE(options[1]);
        CliRun run = build(kToneScript, options);
        ASSERT_EQ(run.status, 0) << run.out << run.err;
        std::vector<float> sound = testing::decodeLeftChannel(path(options[1]));
        // As long as the video, to within one audio frame.
        EXPECT_NEAR(static_cast<double>(sound.size()) / 48000, 6.0, 0.05) << sound.size();
        EXPECT_GT(testing::toneStrength(sound, 440, 0.2, 1.8), 0.9);
        EXPECT_LT(testing::toneStrength(sound, 880, 0.2, 1.8), 0.1);
        EXPECT_GT(testing::toneStrength(sound, 880, 4.2, 5.8), 0.9);
        // The first tone has faded out over its second by then.
        EXPECT_LT(testing::toneStrength(sound, 440, 5.1, 5.8), 0.1);
    }
}

TEST_F(Soundtrack, VolumeFadesAndLoops) {
    auto level = [&](const std::string& line, double from, double to) {
        CliRun run =
            build(">resize=64x48\n" + line + "\n>frame=red|6\n", {"-o", "v.avi", "--codec", "raw"});
        EXPECT_EQ(run.status, 0) << run.out;
        return testing::rmsBetween(testing::decodeLeftChannel(path("v.avi")), from, to);
    };
    const double full = level(">soundtrack=tone440.wav||0", 2, 4);
    const double half = level(">soundtrack=tone440.wav|50|0", 2, 4);
    EXPECT_NEAR(20 * std::log10(half / full), -6.0, 1.0);

    // Fading in over two seconds and out over the last two.
    CliRun run = build(">resize=64x48\n>soundtrack=tone440.wav||2\n>frame=red|6\n",
                       {"-o", "f.avi", "--codec", "raw"});
    ASSERT_EQ(run.status, 0);
    std::vector<float> faded = testing::decodeLeftChannel(path("f.avi"));
    EXPECT_LT(testing::rmsBetween(faded, 0.0, 0.5), testing::rmsBetween(faded, 1.0, 1.5));
    EXPECT_LT(testing::rmsBetween(faded, 1.0, 1.5), testing::rmsBetween(faded, 2.5, 3.5));
    EXPECT_LT(testing::rmsBetween(faded, 5.5, 6.0), testing::rmsBetween(faded, 4.5, 5.0));

    // A one-second tone: looped it fills the movie, else silence follows it.
    ASSERT_TRUE(testing::writeWav(path("short.wav"), 1, testing::sine(440)));
    EXPECT_GT(level(">soundtrack=short.wav||0|1", 4.5, 5.5), 0.3);
    EXPECT_EQ(level(">soundtrack=short.wav||0|0", 1.5, 5.5), 0.0);
}

TEST_F(Soundtrack, ACrossFadeKeepsTheLevelSmooth) {
    CliRun run = build(
        ">resize=64x48\n>soundtrack=tone440.wav||1\n>frame=red|3\n"
        ">soundtrack=tone880.wav||1\n>frame=blue|3\n",
        {"-o", "x.avi", "--codec", "raw"});
    ASSERT_EQ(run.status, 0) << run.out;
    std::vector<float> sound = testing::decodeLeftChannel(path("x.avi"));
    // Through the second of the cross-fade both tones sound, and no stretch falls silent.
    EXPECT_GT(testing::toneStrength(sound, 440, 3.1, 3.4), 0.3);
    EXPECT_GT(testing::toneStrength(sound, 880, 3.1, 3.4), 0.3);
    for (double t = 2.5; t < 4.5; t += 0.1)
        EXPECT_GT(testing::rmsBetween(sound, t, t + 0.1), 0.15) << "at " << t;
}

TEST_F(Soundtrack, ClicksAtPictureChangesStayWithTheirFrames) {
    // Clicks at the Script's own picture changes: frames 50 and 100 at 25 fps.
    ASSERT_TRUE(testing::writeWav(path("clicks.wav"), 6, [](double t) {
        return (std::fabs(t - 2.0) < 0.001 || std::fabs(t - 4.0) < 0.001) ? 0.9 : 0.0;
    }));
    const std::string script =
        ">resize=64x48\n>soundtrack=clicks.wav||0\n>frame=red|2\n>frame=green|2\n>frame=blue|2\n";
    for (const char* movie : {"c.avi", "c.mp4", "c.mkv", "c.wmv"}) {
        SCOPED_TRACE(movie);
        ASSERT_EQ(build(script, {"-o", movie}).status, 0);
        std::vector<float> sound = testing::decodeLeftChannel(path(movie));
        for (double change : {2.0, 4.0}) {
            std::size_t loudest = static_cast<std::size_t>((change - 0.2) * 48000);
            for (std::size_t i = loudest; i < static_cast<std::size_t>((change + 0.2) * 48000); ++i)
                if (std::fabs(sound[i]) > std::fabs(sound[loudest])) loudest = i;
            EXPECT_NEAR(static_cast<double>(loudest) / 48000, change, 1.0 / 25);
        }
    }
}

TEST_F(Soundtrack, CheckListsEachLineWithTheTimeItsTrackStarts) {
    folder.touch("s.txt",
                 std::string(kToneScript) + ">soundtrack=0\n>soundtrack=tone440.wav|50|2|1\n");
    CliRun run = testing::finishProgram(
        folder.path(), testing::startProgram(QUILLFEN_BINARY, folder.path(), {"check", "s.txt"}));
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"\n00:00.00  Soundtrack  lineNum:1  file:tone440.wav  volume:100  fade:1.00  loop:0\n",
          "\n00:04.00  Soundtrack  lineNum:4  file:tone880.wav  volume:100  fade:0.50  loop:0\n",
          "\n00:06.00  Soundtrack  lineNum:6  file:0  volume:100  fade:1.00  loop:0\n",
          "\n00:06.00  Soundtrack  lineNum:7  file:tone440.wav  volume:50  fade:2.00  loop:1\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    EXPECT_NE(run.out.find("Total movie time: 00:06.00  (150 frames)"), std::string::npos);
}

TEST_F(Soundtrack, BadSoundLinesAreErrorsAndWriteNothing) {
    folder.touch("picture.mp3", "\x89PNG\r\n\x1a\nnot a sound at all");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {">soundtrack=missing.mp3", "Error: sound file 'missing.mp3' doesn't exist."},
        {">soundtrack=picture.mp3", "Error: no sound in 'picture.mp3'."},
        {">soundtrack=tone440.wav|500",
         "Error: invalid soundtrack parameters (FILE|VOLUME|FADE|LOOP)."},
        {">soundtrack=tone440.wav||x",
         "Error: invalid soundtrack parameters (FILE|VOLUME|FADE|LOOP)."},
        {">soundtrack=tone440.wav|||2",
         "Error: invalid soundtrack parameters (FILE|VOLUME|FADE|LOOP)."}};
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        CliRun run =
            build(">resize=64x48\n>frame=red|1\n" + line + "\n>frame=blue|1\n", {"-o", "e.avi"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find(message), std::string::npos) << run.out;
        EXPECT_NE(run.err.find("s.txt:3: " + message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(path("e.avi")));
    }
}

TEST_F(Soundtrack, MuteAndStopKeepSoundAndVideoTogether) {
    ASSERT_EQ(build(kToneScript, {"-o", "mute.mp4", "--mute"}).status, 0);
    EXPECT_TRUE(testing::decodeLeftChannel(path("mute.mp4")).empty());

    folder.touch("s.txt", ">resize=64x48\n>soundtrack=tone440.wav||0|1\n>frame=red|4000\n");
    pid_t pid = testing::startProgram(QUILLFEN_BINARY, folder.path(),
                                      {"build", "s.txt", "-o", "stop.avi", "--codec", "mjpeg"});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(pid, SIGINT);
    CliRun stopped = testing::finishProgram(folder.path(), pid);
    EXPECT_EQ(stopped.status, 130) << stopped.out;
    testing::MovieProbe probe = testing::probeMovie(path("stop.avi"));
    ASSERT_TRUE(probe.ok()) << probe.error;
    const double videoSeconds = static_cast<double>(probe.storedFrames()) / 25;
    const double soundSeconds =
        static_cast<double>(testing::decodeLeftChannel(path("stop.avi")).size()) / 48000;
    EXPECT_GT(videoSeconds, 0);
    EXPECT_NEAR(soundSeconds, videoSeconds, 0.05);
}

TEST_F(Soundtrack, ASoundFileDamagedBeforeTheBuildOnlyWarns) {
    // Parsing reads the file's start; the build then meets a file cut short and garbled.
    std::vector<std::string> lines = {">resize=64x48", ">soundtrack=tone440.wav", ">frame=red|3"};
    folder.touch("s.txt", lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n");
    std::filesystem::resize_file(path("tone440.wav"), 20000);
    CliRun run = testing::finishProgram(
        folder.path(), testing::startProgram(QUILLFEN_BINARY, folder.path(),
                                             {"build", "s.txt", "-y", "-o", "d.mp4"}));
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    std::vector<float> sound = testing::decodeLeftChannel(path("d.mp4"));
    EXPECT_NEAR(static_cast<double>(sound.size()) / 48000, 3.0, 0.05);
    EXPECT_EQ(testing::rmsBetween(sound, 1.0, 3.0), 0.0);
}

}  // namespace
}  // namespace quillfen
