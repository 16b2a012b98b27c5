// The soundtrack mixer on files that go missing or are damaged after the Script was checked:
// silence follows, one warning names the file, and nothing crashes or leaks.

#include "output/soundtrack_mixer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/ffmpeg_movie_writer.h"
#include "output/movie_writer_test_support.h"
#include "support/sound_maker.h"

namespace quillfen {
namespace {

SoundtrackList oneCue(const std::string& path) {
    SoundtrackCue cue;
    cue.file = "song";
    cue.nativePath = path;
    cue.fadeSeconds = 0;
    cue.startFrame = 0;
    return {cue};
}

/// An MKV of 50 frames with 2 s of a 440 Hz tone, written by our own writer.
void writeMovieWithSound(const std::string& path) {
    auto writer = makeFfmpegMovieWriter();
    ASSERT_TRUE(writer->open(path, defaultCodecChoice("mjpeg")).ok());
    ASSERT_TRUE(writer->enableSound().ok());
    ASSERT_TRUE(writer->setUpStream(testing::patternFrame(32, 24, 0).header(), 25).ok());
    auto tone = testing::sine(440);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(writer->writeSample(i, testing::patternFrame(32, 24, i), {i == 0}).ok());
        std::vector<float> sound;
        for (int s = i * 1920; s < (i + 1) * 1920; ++s) {
            sound.push_back(static_cast<float>(tone(s / 48000.0)));
            sound.push_back(sound.back());
        }
        ASSERT_TRUE(writer->writeSound(std::move(sound)).ok());
    }
    ASSERT_TRUE(writer->close().ok());
}

TEST(SoundtrackMixer, AFileGoneBeforeItsTurnWarnsOnceAndGivesSilence) {
    testing::TempFolder folder;
    const std::string path = folder.path() + "/song.wav";
    ASSERT_TRUE(testing::writeWav(path, 2, testing::sine(440)));
    SoundtrackList cues = oneCue(path);
    SoundtrackMixer mixer(cues, 25, 50);
    std::filesystem::remove(path);
    std::vector<float> sound = mixer.soundUntilFrame(25);
    EXPECT_EQ(sound.size(), 48000u * 2);
    EXPECT_EQ(testing::rmsBetween(sound, 0, 0.5), 0.0);
    std::vector<std::string> warnings = mixer.takeWarnings();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("Warning: sound file 'song' ends early: ", 0), 0u) << warnings[0];
    EXPECT_EQ(mixer.soundUntilFrame(50).size(), 48000u * 2);  // the second second
    EXPECT_TRUE(mixer.takeWarnings().empty());
}

TEST(SoundtrackMixer, DamagedAndTruncatedSoundIsReadWithoutFault) {
    testing::TempFolder folder;
    const std::string path = folder.path() + "/movie.mkv";
    writeMovieWithSound(path);
    EXPECT_GT(testing::toneStrength(testing::decodeLeftChannel(path), 440, 0.2, 1.8), 0.9);
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (std::size_t cut : {bytes.size() / 3, bytes.size() * 2 / 3}) {
        std::string damaged = bytes.substr(0, cut);
        for (std::size_t i = damaged.size() / 4; i < damaged.size(); i += 97)
            damaged[i] ^= 0x5A;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
        SoundtrackList cues = oneCue(path);
        SoundtrackMixer mixer(cues, 25, 50);
        std::vector<float> sound = mixer.soundUntilFrame(50);
        EXPECT_EQ(sound.size(), 96000u * 2);
        for (float v : sound)
            ASSERT_TRUE(v >= -1.0f && v <= 1.0f);
        mixer.takeWarnings();
    }
}

}  // namespace
}  // namespace quillfen
