// The reader's hand-over, gap filling, thinning and tear-down, first over a scripted source
// (exact sample times, stalls on demand), then over clips made with FFmpeg's encoders.
#include "timeline/video_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "imaging/frame_image.h"

namespace quillfen {
namespace {

constexpr int kWidth = 4;
constexpr int kHeight = 2;

/// Hands out frames tagged with their index in the first two pixel bytes, at given times.
class ScriptedSource final : public VideoSampleSource {
  public:
    enum class AtEnd { End, Fail, Stall };

    ScriptedSource(std::vector<double> times, double rate = 25.0, AtEnd atEnd = AtEnd::End)
        : times_(std::move(times)), atEnd_(atEnd) {
        info_.width = kWidth;
        info_.height = kHeight;
        info_.frameRate = rate;
        info_.averageFrameTime = std::llround(1e7 / rate);
        info_.clipFrameCount = static_cast<std::int32_t>(times_.size());
    }

    const VideoClipInfo& info() const override { return info_; }

    VideoReadStatus read(VideoSample& sample) override {
        std::unique_lock lock(mutex_);
        if (next_ < times_.size()) {
            sample.time = times_[next_];
            sample.imageBytes = DibRowStride(kWidth, 24) * kHeight;
            sample.pixels.assign(sample.imageBytes, 0);
            sample.pixels[0] = static_cast<std::uint8_t>(next_ & 0xff);
            sample.pixels[1] = static_cast<std::uint8_t>(next_ >> 8);
            ++next_;
            return VideoReadStatus::Frame;
        }
        if (atEnd_ == AtEnd::End) return VideoReadStatus::EndOfClip;
        if (atEnd_ == AtEnd::Fail) return VideoReadStatus::Failed;
        wake_.wait(lock, [this] { return interrupted_; });
        return VideoReadStatus::Interrupted;
    }

    void interrupt() override {
        {
            std::lock_guard lock(mutex_);
            interrupted_ = true;
        }
        wake_.notify_all();
    }

    std::string failure() const override {
        return atEnd_ == AtEnd::Fail ? "decoding the clip: invalid data" : "";
    }

  private:
    VideoClipInfo info_;
    std::vector<double> times_;
    AtEnd atEnd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::size_t next_ = 0;
    bool interrupted_ = false;
};

int tagOf(const FrameImage& frame) {
    return frame.pixels()[0] | (frame.pixels()[1] << 8);
}

std::vector<double> evenTimes(int count, double step, double start = 0.0) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i)
        times.push_back(start + i * step);
    return times;
}

/// Every frame the reader gives until it gives none.
std::vector<int> drainTags(VideoReader& reader) {
    std::vector<int> tags;
    while (FrameImage frame = reader.nextFrame())
        tags.push_back(tagOf(frame));
    return tags;
}

VideoReader readerOver(std::unique_ptr<VideoSampleSource> source) {
    VideoReader reader;
    reader.open(std::move(source));
    return reader;
}

TEST(VideoReaderHandOver, FramesAre24BitBottomUpImagesOfTheClipSize) {
    VideoReader reader = readerOver(std::make_unique<ScriptedSource>(evenTimes(1, 0.04)));
    const FrameImage frame = reader.nextFrame();
    ASSERT_TRUE(frame);
    const BitmapInfoHeader header = frame.header();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, kWidth);
    EXPECT_EQ(header.biHeight, kHeight);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(frame.size(), 40 + DibRowStride(kWidth, 24) * kHeight);
    EXPECT_TRUE(frame.rowsFit());
}

TEST(VideoReaderHandOver, GapRepeatsThePreviousFrameButNeverPrecedesTheFirst) {
    // 25 fps; the first sample comes late, the third three frame durations after the second.
    VideoReader reader =
        readerOver(std::make_unique<ScriptedSource>(std::vector<double>{0.4, 0.44, 0.56, 0.6}));
    EXPECT_EQ(drainTags(reader), (std::vector<int>{0, 1, 1, 1, 2, 3}));
    EXPECT_EQ(reader.repeatedFrames(), 2);
    EXPECT_EQ(reader.endReason(), VideoEnd::EndOfClip);
}

TEST(VideoReaderHandOver, BackwardsOrRepeatedTimesRepeatNothing) {
    VideoReader reader =
        readerOver(std::make_unique<ScriptedSource>(std::vector<double>{1.0, 0.2, 0.2, 1e12}));
    reader.setMovieFrameRate(25.0);
    std::vector<int> tags;
    for (int i = 0; i < 5; ++i)
        tags.push_back(tagOf(reader.nextFrame()));
    // The absurd jump to the last sample repeats frame 2 until the Element stops asking.
    EXPECT_EQ(tags, (std::vector<int>{0, 1, 2, 2, 2}));
    reader.close();
}

TEST(VideoReaderHandOver, ThinningDropsTheLastFrameOfEverySix) {
    VideoReader reader =
        readerOver(std::make_unique<ScriptedSource>(evenTimes(12, 1.0 / 30), 30.0));
    EXPECT_EQ(reader.setMovieFrameRate(25.0), 10);
    EXPECT_EQ(reader.keepCycle(), 6);
    EXPECT_EQ(reader.keepCount(), 5);
    EXPECT_EQ(drainTags(reader), (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10}));
    EXPECT_EQ(reader.handledSamples(), 12);
}

TEST(VideoReaderEnd, ShortClipEndsAtOnceWithItsReason) {
    // With the full wait limit in force, an end reported as EndOfClip or Failed (not Stalled)
    // shows that the reader did not sit out the wait.
    auto shortSource = std::make_unique<ScriptedSource>(evenTimes(3, 0.04));
    VideoReader reader = readerOver(std::move(shortSource));
    EXPECT_EQ(drainTags(reader).size(), 3u);
    EXPECT_EQ(reader.endReason(), VideoEnd::EndOfClip);
    EXPECT_FALSE(reader.nextFrame());  // stays ended

    VideoReader broken = readerOver(
        std::make_unique<ScriptedSource>(evenTimes(2, 0.04), 25.0, ScriptedSource::AtEnd::Fail));
    EXPECT_EQ(drainTags(broken).size(), 2u);
    EXPECT_EQ(broken.endReason(), VideoEnd::Failed);
    EXPECT_EQ(broken.failureText(), "decoding the clip: invalid data");
}

TEST(VideoReaderEnd, StalledDecoderGivesNoFrameAfterTheWaitLimit) {
    VideoReader reader = readerOver(
        std::make_unique<ScriptedSource>(evenTimes(2, 0.04), 25.0, ScriptedSource::AtEnd::Stall));
    reader.setWaitLimit(std::chrono::milliseconds(20));
    EXPECT_EQ(drainTags(reader).size(), 2u);
    EXPECT_EQ(reader.endReason(), VideoEnd::Stalled);
    reader.close();  // must not hang on the blocked decoder thread
    EXPECT_FALSE(reader.isOpen());
}

TEST(VideoReaderTearDown, ClosingOrDestroyingMidClipNeverBlocks) {
    {
        VideoReader reader = readerOver(std::make_unique<ScriptedSource>(evenTimes(50, 0.04)));
        ASSERT_TRUE(reader.nextFrame());
        ASSERT_TRUE(reader.nextFrame());
        reader.close();
        EXPECT_FALSE(reader.nextFrame());
        EXPECT_EQ(reader.endReason(), VideoEnd::Closed);
        reader.close();
    }
    {
        // Destroyed while the decoder waits in the hand-over, and while it is not started.
        VideoReader started = readerOver(std::make_unique<ScriptedSource>(evenTimes(50, 0.04)));
        ASSERT_TRUE(started.nextFrame());
        VideoReader idle = readerOver(std::make_unique<ScriptedSource>(evenTimes(50, 0.04)));
    }
}

TEST(VideoReaderTearDown, MovedReaderKeepsItsClipPosition) {
    VideoReader first = readerOver(std::make_unique<ScriptedSource>(evenTimes(4, 0.04)));
    EXPECT_EQ(tagOf(first.nextFrame()), 0);
    VideoReader second = std::move(first);
    EXPECT_EQ(drainTags(second), (std::vector<int>{1, 2, 3}));
    VideoReader never;
    EXPECT_FALSE(never.isOpen());
    EXPECT_FALSE(never.nextFrame());
    EXPECT_EQ(never.endReason(), VideoEnd::Closed);
}

}  // namespace
}  // namespace quillfen
