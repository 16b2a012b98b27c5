// Frames of the Source, Sequence and Frame kinds, and the counters that the driver and
// neighbouring Transitions move through nextMovieFrame, dropFrame and repeatMovieFrame.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "support/temp_folder.h"
#include "timeline/frame_element.h"
#include "timeline/sequence_element.h"
#include "timeline/source_element.h"

namespace quillfen {
namespace {

using testing::TempFolder;

std::string writePicture(const TempFolder& folder, const std::string& name, int width, int height,
                         ColourValue colour) {
    std::string path = folder.path() + "/" + name;
    EXPECT_TRUE(WriteBmpFile(DibCreateBlank(width, height, 24, colour), path));
    return path;
}

bool sameBytes(const FrameImage& a, const FrameImage& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
}

TEST(SourceFrames, EveryFrameIsACopyOfThePictureAndTheCacheGoesWithTheLast) {
    TempFolder folder;
    std::string path = writePicture(folder, "a.bmp", 8, 6, makeColour(10, 20, 30));
    MovieSettings settings;
    SourceElement source(0, settings, path, 3);
    ASSERT_TRUE(source.valid);
    FrameImage reference = LoadBmpFile(path, 14);

    FrameImage first = source.nextMovieFrame();
    EXPECT_TRUE(sameBytes(first, reference));
    EXPECT_FALSE(source.firstFrame());
    EXPECT_TRUE(source.pictureInHand());
    // Frames are independent copies: changing one leaves the next untouched.
    first.pixels()[0] ^= 0xFF;
    EXPECT_TRUE(sameBytes(source.nextMovieFrame(), reference));
    EXPECT_TRUE(sameBytes(source.nextMovieFrame(), reference));
    EXPECT_FALSE(source.pictureInHand());
    EXPECT_FALSE(source.nextMovieFrame());
    EXPECT_EQ(source.nbFrames(), 0);
    EXPECT_EQ(source.nbAVIFrames(), 0);
}

TEST(SourceFrames, BorrowedFramesKeepThePictureUntilTheNeighbourDropsTheLast) {
    TempFolder folder;
    MovieSettings settings;
    SourceElement source(0, settings, writePicture(folder, "a.bmp", 4, 4, 0), 2);
    source.lendFrames(2);  // as linking does for a following Transition of 2 frames
    ASSERT_TRUE(source.nextMovieFrame());
    ASSERT_TRUE(source.nextMovieFrame());
    EXPECT_FALSE(source.nextMovieFrame());  // the driver's share is spent...
    EXPECT_TRUE(source.pictureInHand());    // ...but the Transition still needs the picture
    ASSERT_TRUE(source.nextFrame());
    source.dropFrame();
    EXPECT_EQ(source.nbFrames(), 0);
    EXPECT_FALSE(source.pictureInHand());
}

TEST(SourceFrames, RepeatedFramesMoveTheCountersLikeRealOnes) {
    TempFolder folder;
    MovieSettings settings;
    SourceElement source(0, settings, writePicture(folder, "a.bmp", 4, 4, 0), 3);
    EXPECT_FALSE(source.nextMovieFrameRepeats());  // nothing shown yet
    ASSERT_TRUE(source.nextMovieFrame());
    ASSERT_TRUE(source.nextMovieFrameRepeats());
    source.repeatMovieFrame();
    ASSERT_TRUE(source.nextMovieFrameRepeats());
    source.repeatMovieFrame();
    EXPECT_EQ(source.nbFrames(), 0);
    EXPECT_EQ(source.nbAVIFrames(), 0);
    EXPECT_FALSE(source.pictureInHand());
    EXPECT_FALSE(source.nextMovieFrameRepeats());
}

TEST(SourceFrames, AnUnreadablePictureGivesNoFramesAndIsNamed) {
    TempFolder folder;
    std::string path = folder.touch("broken.png", "not a png");
    MovieSettings settings;
    SourceElement source(3, settings, path, 4);
    ASSERT_TRUE(source.valid);  // it exists, so the parser accepts it
    EXPECT_FALSE(source.nextMovieFrame());
    EXPECT_EQ(source.unreadablePicture(), path);
    EXPECT_FALSE(source.nextMovieFrameRepeats());
    EXPECT_EQ(source.nbAVIFrames(), 3);
}

// Reading ahead changes nothing: the same frame, and a file changed after it was read ahead
// is read again when its frame comes, so the background colour stands in as it would have.
TEST(SourceFrames, APictureReadAheadGivesTheSameFramesAndNoticesLaterChanges) {
    TempFolder folder;
    std::string path = writePicture(folder, "a.bmp", 8, 6, makeColour(10, 20, 30));
    MovieSettings settings;
    settings.resizeWidth = 8;
    settings.resizeHeight = 6;
    SourceElement plain(0, settings, path, 2), ahead(0, settings, path, 2);
    EXPECT_TRUE(ahead.prefetchPicture());
    EXPECT_TRUE(ahead.prefetchPicture());  // once on its way, not started again
    EXPECT_TRUE(sameBytes(ahead.nextMovieFrame(), plain.nextMovieFrame()));
    EXPECT_FALSE(ahead.prefetchPicture());  // in hand

    SourceElement changed(0, settings, path, 2);
    ASSERT_TRUE(changed.prefetchPicture());
    folder.touch("a.bmp", "garbage now");
    FrameImage frame = changed.nextMovieFrame();
    EXPECT_EQ(changed.standInPicture(), path);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame.width(), 8);
}

TEST(SequenceFrames, EachFrameReadsTheNextNumberedFile) {
    TempFolder folder;
    for (int i = 0; i < 3; ++i)
        writePicture(folder, "shot00" + std::to_string(i) + ".bmp", 2 + i, 2, 0);
    MovieSettings settings;
    SequenceElement sequence(0, settings, folder.path() + "/shot[3].bmp");
    ASSERT_TRUE(sequence.valid);
    ASSERT_EQ(sequence.nbAVIFrames(), 3);
    for (int i = 0; i < 3; ++i) {
        FrameImage frame = sequence.nextMovieFrame();
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame.width(), 2 + i);
        EXPECT_FALSE(sequence.nextMovieFrameRepeats());  // a moving kind never repeats
    }
    EXPECT_FALSE(sequence.nextMovieFrame());
    EXPECT_TRUE(sequence.unreadablePicture().empty());
}

TEST(SequenceFrames, AFileGoneAtBuildTimeEndsTheRunAndIsNamed) {
    TempFolder folder;
    writePicture(folder, "s0.bmp", 2, 2, 0);
    std::string second = writePicture(folder, "s1.bmp", 2, 2, 0);
    MovieSettings settings;
    SequenceElement sequence(0, settings, folder.path() + "/s[1].bmp");
    ASSERT_EQ(sequence.nbAVIFrames(), 2);
    std::filesystem::remove(second);
    EXPECT_TRUE(sequence.nextMovieFrame());
    EXPECT_FALSE(sequence.nextMovieFrame());
    EXPECT_EQ(sequence.unreadablePicture(), second);
}

TEST(FrameFrames, ColourFramesHaveTheOutputSizeAtTwentyFourBits) {
    MovieSettings settings;
    settings.resizeWidth = 720;
    settings.resizeHeight = 576;
    FrameElement red(0, settings, "red|2");
    ASSERT_EQ(red.nbAVIFrames(), 50);
    FrameImage frame = red.nextMovieFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame.width(), 720);
    EXPECT_EQ(frame.height(), 576);
    EXPECT_EQ(frame.bitCount(), 24);
    const std::uint8_t* top = frame.row(575);
    EXPECT_EQ(top[0], 0);    // blue
    EXPECT_EQ(top[1], 0);    // green
    EXPECT_EQ(top[2], 255);  // red
    EXPECT_TRUE(red.nextMovieFrameRepeats());
    int frames = 1;
    while (red.nextMovieFrame())
        ++frames;
    EXPECT_EQ(frames, 50);
    EXPECT_FALSE(red.pictureInHand());
}

TEST(FrameFrames, NoneIsBlackAndNoDurationGivesNoFrames) {
    MovieSettings settings;
    settings.resizeWidth = 4;
    settings.resizeHeight = 2;
    FrameElement none(0, settings, "none|1");
    FrameImage frame = none.nextMovieFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame.row(0)[0] | frame.row(0)[1] | frame.row(0)[2], 0);
    FrameElement empty(1, settings, "red");
    EXPECT_FALSE(empty.nextMovieFrame());
}

}  // namespace
}  // namespace quillfen
