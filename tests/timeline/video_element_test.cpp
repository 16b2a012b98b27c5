// The Video element over clips made with FFmpeg's encoders: its messages, its frame count,
// the frames it lends a Transition, the warning of a clip that gives out early, and the
// background frames of a clip changed during the build.
#include "timeline/video_element.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "support/clip_maker.h"
#include "support/temp_folder.h"
#include "timeline/element_list.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

using testing::ClipOptions;
using testing::makeClip;
using testing::readFrameNumber;

class VideoElementTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_.emplace();
        ClipOptions options;
        options.frames = 60;
        options.rateNum = 30;
        ASSERT_EQ(makeClip(folder_->path() + "/clip.mkv", options), "");
        folder_->touch("still.bmp", "BM");
        folder_->touch("notes.mp4", "not a movie");
    }
    static void TearDownTestSuite() { folder_.reset(); }

    void SetUp() override { settings.scriptFolder = folder_->path(); }

    MovieSettings settings;
    static inline std::optional<testing::TempFolder> folder_;
};

TEST_F(VideoElementTest, MissingOrUnreadableClipsGiveTheirErrors) {
    VideoElement missing(2, settings, "absent.avi|ignored");
    EXPECT_FALSE(missing.valid);
    EXPECT_EQ(missing.message, "Error: picture 'absent.avi' doesn't exist.");

    VideoElement text(3, settings, "notes.mp4");
    EXPECT_FALSE(text.valid);
    // FFmpeg's "invalid data", -0x41444E49, as eight hexadecimal digits.
    EXPECT_EQ(text.message,
              "Error: error encountered while reading the video file  (error code = bebbb1b7).");
}

TEST_F(VideoElementTest, ThinnedCountAndDumpLine) {
    VideoElement video(4, settings, "clip.mkv");
    ASSERT_TRUE(video.valid) << video.message;
    EXPECT_EQ(video.kind, ElementKind::Video);
    EXPECT_EQ(video.nbFrames(), 50);
    EXPECT_EQ(video.nbAVIFrames(), 50);
    EXPECT_EQ(video.describe(),
              "00:00.00  Video\t\tlineNum:4  nbFrames:50  nbAVIFrames:50  file:clip.mkv");
}

TEST_F(VideoElementTest, TransitionTakesTheClipsLastFrames) {
    settings.frameRate = 30.0;
    EffectCatalogue catalogue(std::vector<TransitionEffect>{});
    ElementList elements;
    elements.push_back(std::make_unique<VideoElement>(0, settings, "clip.mkv"));
    elements.push_back(std::make_unique<TransitionElement>(1, settings, "Fade|0.5", catalogue));
    elements.push_back(std::make_unique<SourceElement>(2, settings, "still.bmp", 30));
    ASSERT_FALSE(linkElements(elements));
    SourceElement& video = *elements[0];
    ASSERT_EQ(video.nbAVIFrames(), 45);

    std::vector<int> driverFrames;
    while (FrameImage frame = video.nextMovieFrame())
        driverFrames.push_back(readFrameNumber(frame));
    std::vector<int> transitionFrames;
    while (FrameImage frame = video.nextFrame())
        transitionFrames.push_back(readFrameNumber(frame));
    ASSERT_EQ(driverFrames.size(), 45u);
    EXPECT_EQ(driverFrames.back(), 44);
    EXPECT_EQ(transitionFrames,
              (std::vector<int>{45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59}));
    EXPECT_TRUE(video.message.empty());
}

TEST_F(VideoElementTest, ClipThatGivesOutEarlyWarnsOnceAndStopsTheDecoder) {
    settings.frameRate = 30.0;
    VideoElement video(5, settings, "clip.mkv");
    ASSERT_EQ(video.nbFrames(), 60);
    video.setFrameCount(64);  // as if the container promised more
    int frames = 0;
    while (video.nextMovieFrame())
        ++frames;
    EXPECT_EQ(frames, 60);
    EXPECT_EQ(video.message,
              "Warning: video 'clip.mkv' gave 60 of its 64 frames: the clip has no more frames.");
    EXPECT_FALSE(video.reader().isOpen());
    EXPECT_FALSE(video.nextFrame());
}

TEST_F(VideoElementTest, ClipChangedDuringTheBuildKeepsItsLengthInBackgroundFrames) {
    const std::string path = folder_->path() + "/changed.mkv";
    std::filesystem::copy_file(folder_->path() + "/clip.mkv", path,
                               std::filesystem::copy_options::overwrite_existing);
    settings.frameRate = 30.0;
    settings.resizeWidth = 96;
    settings.resizeHeight = 64;
    VideoElement video(5, settings, "changed.mkv");
    video.setFrameCount(64);  // the clip gives out after 60
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) + std::chrono::hours(1));
    std::vector<FrameImage> frames;
    while (FrameImage frame = video.nextMovieFrame())
        frames.push_back(std::move(frame));
    ASSERT_EQ(frames.size(), 64u);
    EXPECT_EQ(video.standInPicture(), "changed.mkv");
    EXPECT_EQ(video.message, "");
    EXPECT_EQ(frames[59].bitCount(), 24);  // the clip's last frame
    EXPECT_EQ(frames[60].bitCount(), 32);  // the background, fitted as a picture would be
    EXPECT_EQ(frames[63].width(), 96);
}

}  // namespace
}  // namespace quillfen
