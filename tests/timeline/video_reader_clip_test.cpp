// The reader over real clips made with FFmpeg's encoders: counts per container, thinning,
// clip order, upright frames, gaps in sample times, tear-down and opening errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/clip_maker.h"
#include "support/temp_folder.h"
#include "timeline/video_reader.h"

namespace quillfen {
namespace {

using testing::ClipCodec;
using testing::ClipOptions;
using testing::makeClip;
using testing::readFrameNumber;

class VideoClips : public ::testing::Test {
  protected:
    // ctest runs each test in its own process, side by side, so every process needs a folder
    // of its own: one that another process removes mid-test loses its clips.
    static void SetUpTestSuite() { folder_.emplace(); }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string clip(const std::string& name, const ClipOptions& options) {
        const std::string path = folder_->path() + "/" + name;
        if (!std::filesystem::exists(path)) {
            const std::string error = makeClip(path, options);
            EXPECT_EQ(error, "") << name;
        }
        return path;
    }

    /// Frame numbers of every frame the reader gives up to `count` (-1 for a frame that is
    /// not an upright clip frame).
    static std::vector<int> readNumbers(VideoReader& reader, int count) {
        std::vector<int> numbers;
        for (int i = 0; i < count; ++i) {
            const FrameImage frame = reader.nextFrame();
            if (!frame) break;
            numbers.push_back(readFrameNumber(frame));
        }
        return numbers;
    }

    static inline std::optional<testing::TempFolder> folder_;
};

/// A tenth of a second of 8 kHz mono silence.
void writeSilentWave(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const std::uint32_t samples = 800;
    out << "RIFF";
    u32(36 + samples * 2);
    out << "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    out << "data";
    u32(samples * 2);
    out << std::string(samples * 2, '\0');
}

std::vector<int> keptFrames(int clipFrames, int cycle, int keep, int limit) {
    std::vector<int> kept;
    for (int i = 0; i < clipFrames && static_cast<int>(kept.size()) < limit; ++i)
        if (i % cycle < keep) kept.push_back(i);
    return kept;
}

ClipOptions thirtyFps(ClipCodec codec) {
    ClipOptions options;
    options.codec = codec;
    options.frames = 300;
    options.rateNum = 30;
    return options;
}

TEST_F(VideoClips, ThirtyFpsInATwentyFiveFpsMovieInEveryContainer) {
    const std::vector<std::pair<std::string, ClipCodec>> clips{{"thirty.avi", ClipCodec::Mpeg4},
                                                               {"thirty.mp4", ClipCodec::H264},
                                                               {"thirty.mkv", ClipCodec::H264},
                                                               {"thirty.mov", ClipCodec::Mpeg4}};
    for (const auto& [name, codec] : clips) {
        SCOPED_TRACE(name);
        VideoReader reader;
        ASSERT_EQ(reader.open(clip(name, thirtyFps(codec))), 0u);
        EXPECT_EQ(reader.info().clipFrameCount, 300);
        EXPECT_EQ(reader.info().averageFrameTime, 333'333);
        EXPECT_EQ(reader.info().width, 96);
        EXPECT_EQ(reader.info().height, 64);
        const int frames = reader.setMovieFrameRate(25.0);
        EXPECT_EQ(frames, 250);
        EXPECT_EQ(readNumbers(reader, frames), keptFrames(300, 6, 5, 250));
        EXPECT_EQ(reader.repeatedFrames(), 0);
    }
}

TEST_F(VideoClips, NtscClipKeeps25Of29) {
    ClipOptions options;
    options.frames = 1000;
    options.rateNum = 30000;
    options.rateDen = 1001;
    VideoReader reader;
    ASSERT_EQ(reader.open(clip("ntsc.avi", options)), 0u);
    EXPECT_EQ(reader.info().clipFrameCount, 1000);
    const int frames = reader.setMovieFrameRate(25.0);
    EXPECT_EQ(frames, 834);
    EXPECT_EQ(reader.keepCycle(), 29);
    EXPECT_EQ(reader.keepCount(), 25);
    EXPECT_EQ(readNumbers(reader, frames), keptFrames(1000, 29, 25, 834));
}

TEST_F(VideoClips, NearOrSlowerClipRatesGiveEveryClipFrame) {
    ClipOptions nearRate;
    nearRate.frames = 40;
    nearRate.rateNum = 501;
    nearRate.rateDen = 20;  // 25.05
    ClipOptions slower;
    slower.codec = ClipCodec::H264;
    slower.frames = 40;
    for (const auto& [path, movieRate] :
         {std::pair{clip("near.mkv", nearRate), 25.0}, {clip("slower.mp4", slower), 30.0}}) {
        SCOPED_TRACE(path);
        VideoReader reader;
        ASSERT_EQ(reader.open(path), 0u);
        EXPECT_EQ(reader.setMovieFrameRate(movieRate), 40);
        EXPECT_EQ(readNumbers(reader, 40), keptFrames(40, 1, 1, 40));
    }
}

TEST_F(VideoClips, GapInSampleTimesRepeatsThePreviousFrame) {
    ClipOptions options;
    options.codec = ClipCodec::H264;
    options.frames = 10;
    options.firstPts = 3;  // a late first sample is not preceded by repeats
    options.gapAfter = 4;
    options.gapFrames = 2;
    for (const std::string name : {"gap.mkv", "gap.mp4"}) {
        SCOPED_TRACE(name);
        VideoReader reader;
        ASSERT_EQ(reader.open(clip(name, options)), 0u);
        reader.setMovieFrameRate(25.0);
        EXPECT_EQ(readNumbers(reader, 100), (std::vector<int>{0, 1, 2, 3, 4, 4, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(reader.repeatedFrames(), 2);
        EXPECT_EQ(reader.endReason(), VideoEnd::EndOfClip);
    }
}

TEST_F(VideoClips, CloseMidClipStopsTheDecoder) {
    VideoReader reader;
    ASSERT_EQ(reader.open(clip("thirty.mkv", thirtyFps(ClipCodec::H264))), 0u);
    EXPECT_EQ(readNumbers(reader, 5), keptFrames(5, 1, 1, 5));
    reader.close();
    EXPECT_FALSE(reader.nextFrame());
    VideoReader abandoned;
    ASSERT_EQ(abandoned.open(clip("thirty.avi", thirtyFps(ClipCodec::Mpeg4))), 0u);
    EXPECT_TRUE(abandoned.nextFrame());
}

TEST_F(VideoClips, FilesThatAreNotVideoGiveFfmpegsErrorCode) {
    VideoReader reader;
    const std::uint32_t missing = reader.open(folder_->path() + "/absent.avi");
    EXPECT_NE(missing, 0u);
    EXPECT_FALSE(reader.isOpen());

    const std::string text = folder_->touch("notes.avi", "this is not a movie\n");
    const std::uint32_t invalid = reader.open(text);
    EXPECT_NE(invalid, 0u);
    EXPECT_GE(invalid, 0x80000000u);  // FFmpeg's codes are negative
    EXPECT_FALSE(reader.nextFrame());
    EXPECT_EQ(reader.endReason(), VideoEnd::Closed);

    // A sound file opens as media but has no video stream: FFmpeg's "stream not found".
    const std::string wave = folder_->path() + "/tone.wav";
    writeSilentWave(wave);
    constexpr std::uint32_t kStreamNotFound =
        ~std::uint32_t{'R' << 24 | 'T' << 16 | 'S' << 8 | 0xF8} + 1;
    EXPECT_EQ(reader.open(wave), kStreamNotFound);
}

}  // namespace
}  // namespace quillfen
