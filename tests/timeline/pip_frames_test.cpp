#include <gtest/gtest.h>

#include "stub_neighbour.h"
#include "timeline/pip_element.h"

namespace quillfen {
namespace {

using testing::colourAt;
using testing::StubNeighbour;

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

class PipFramesTest : public ::testing::Test {
  protected:
    PipFramesTest() {
        settings.resizeWidth = 720;
        settings.resizeHeight = 576;
        settings.stereo = 0;
    }
    void link(PipElement& pip, StubNeighbour& before, StubNeighbour& after) {
        pip.prev = &before;
        pip.next = &after;
    }
    MovieSettings settings;
};

TEST_F(PipFramesTest, InsetIsPlacedByPercentagesOfTheOutput) {
    StubNeighbour base(settings, ElementKind::Source, 720, 576, {kBlack});
    StubNeighbour inset(settings, ElementKind::Source, 720, 576, {kWhite});
    PipElement pip(0, settings, "10%,10%,30%");
    link(pip, base, inset);
    FrameImage frame = pip.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(pip.first.x.pixels, 72);
    EXPECT_EQ(pip.first.y.pixels, 58);
    EXPECT_EQ(pip.first.width.pixels, 216);
    ASSERT_EQ(frame.width(), 720);
    ASSERT_EQ(frame.height(), 576);
    // The inset covers x 72 .. 287 and y 58 .. 230 (height 173), counted from the top.
    EXPECT_EQ(colourAt(frame, 72, 58), kWhite);
    EXPECT_EQ(colourAt(frame, 287, 230), kWhite);
    EXPECT_EQ(colourAt(frame, 71, 58), kBlack);
    EXPECT_EQ(colourAt(frame, 72, 57), kBlack);
    EXPECT_EQ(colourAt(frame, 288, 230), kBlack);
    EXPECT_EQ(colourAt(frame, 287, 231), kBlack);
}

TEST_F(PipFramesTest, StereoViewsOfTheInsetGoIntoTheirOwnHalvesWithoutBleeding) {
    settings.resizeWidth = 1440;
    settings.stereo = 1;
    StubNeighbour base(settings, ElementKind::Source, 1440, 576, {kBlack});
    StubNeighbour inset(settings, ElementKind::Source, 1440, 576, {kRed}, {kBlue});
    PipElement pip(0, settings, "10%,10%,30%,2%");
    link(pip, base, inset);
    FrameImage frame = pip.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(pip.first.x.pixels, 72);  // percentages of the 720-pixel view
    EXPECT_EQ(pip.first.width.pixels, 216);
    EXPECT_EQ(pip.first.shift.pixels, 14);
    for (int y : {58, 144, 230}) {
        // Left view: x 72 .. 287, all red up to its edges.
        EXPECT_EQ(colourAt(frame, 71, y), kBlack);
        for (int x = 72; x <= 287; ++x)
            ASSERT_EQ(colourAt(frame, x, y), kRed) << x << "," << y;
        EXPECT_EQ(colourAt(frame, 288, y), kBlack);
        // Right view: moved by the shift and half the frame, x 806 .. 1021, all blue.
        EXPECT_EQ(colourAt(frame, 805, y), kBlack);
        for (int x = 806; x <= 1021; ++x)
            ASSERT_EQ(colourAt(frame, x, y), kBlue) << x << "," << y;
        EXPECT_EQ(colourAt(frame, 1022, y), kBlack);
    }
    EXPECT_EQ(colourAt(frame, 100, 231), kBlack);  // height 173 keeps one view's proportions
}

TEST_F(PipFramesTest, InsetScalingAveragesAreas) {
    settings.resizeWidth = settings.resizeHeight = 0;  // pictures as they are
    StubNeighbour base(settings, ElementKind::Source, 8, 8, {kBlack});
    // Columns alternate between black and white halves: a two-to-one reduction averages them.
    StubNeighbour inset(settings, ElementKind::Source, 2, 2, {kBlack}, {kWhite});
    PipElement pip(0, settings, "0,0,1");
    link(pip, base, inset);
    FrameImage frame = pip.nextFrame();
    ASSERT_TRUE(frame);
    const std::uint32_t grey = colourAt(frame, 0, 0);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 128, 1);
    EXPECT_EQ(colourAt(frame, 1, 0), kBlack);
}

TEST_F(PipFramesTest, WithoutAResizePercentagesMeasureTheBasePicture) {
    settings.resizeWidth = settings.resizeHeight = 0;
    StubNeighbour base(settings, ElementKind::Source, 200, 100, {kBlack});
    StubNeighbour inset(settings, ElementKind::Source, 40, 20, {kWhite});
    PipElement pip(0, settings, "10%,10%,50%");
    link(pip, base, inset);
    FrameImage frame = pip.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(pip.first.x.pixels, 20);
    EXPECT_EQ(pip.first.y.pixels, 10);
    EXPECT_EQ(pip.first.width.pixels, 100);
    EXPECT_EQ(colourAt(frame, 20, 10), kWhite);
    EXPECT_EQ(colourAt(frame, 119, 59), kWhite);
    EXPECT_EQ(colourAt(frame, 120, 59), kBlack);
}

TEST_F(PipFramesTest, StillNeighboursAreFetchedOnceAndMovingOnesEveryFrame) {
    StubNeighbour base(settings, ElementKind::Frame, 720, 576, {kBlack, kBlack, kBlack});
    StubNeighbour inset(settings, ElementKind::Video, 720, 576, {kRed, kBlue, kWhite});
    PipElement pip(0, settings, "0,0,50%|0|0.12");  // 3 frames at 25 per second
    ASSERT_EQ(pip.nbFrames(), 3);
    link(pip, base, inset);
    for (std::uint32_t shown : {kRed, kBlue, kWhite}) {
        FrameImage frame = pip.nextFrame();
        ASSERT_TRUE(frame);
        EXPECT_EQ(colourAt(frame, 10, 10), shown);
        EXPECT_EQ(colourAt(frame, 700, 500), kBlack);
    }
    EXPECT_FALSE(pip.nextFrame());
    EXPECT_EQ(base.pictures, 1);
    EXPECT_EQ(base.nbFrames(), 0);
    EXPECT_EQ(inset.pictures, 3);
    EXPECT_FALSE(pip.keptPrevFrame);  // a spent PIP holds no pictures
}

TEST_F(PipFramesTest, OverStillsItsPulledFramesAreUnchangedAndTheNeighboursCountAsDrawn) {
    StubNeighbour base(settings, ElementKind::Source, 720, 576, {kBlack, kBlack, kBlack, kBlack});
    StubNeighbour inset(settings, ElementKind::Frame, 720, 576, {kRed, kRed, kRed, kRed});
    PipElement pip(0, settings, "0,0,50%|0|0.16");  // 4 frames
    link(pip, base, inset);
    PulledFrame first = pip.pullMovieFrame(true);
    ASSERT_TRUE(first.frame);
    EXPECT_EQ(colourAt(first.frame, 10, 10), kRed);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(pip.pullMovieFrame(true).unchanged);
    EXPECT_TRUE(pip.pullMovieFrame(true).ended());
    EXPECT_EQ(base.nbFrames(), 0);
    EXPECT_EQ(inset.nbFrames(), 0);
    EXPECT_FALSE(pip.keptPrevFrame);

    // A moving inset is drawn every frame.
    StubNeighbour still(settings, ElementKind::Source, 720, 576, {kBlack, kBlack});
    StubNeighbour clip(settings, ElementKind::Video, 720, 576, {kRed, kBlue});
    PipElement moving(0, settings, "0,0,50%|0|0.08");
    link(moving, still, clip);
    EXPECT_TRUE(moving.pullMovieFrame(true).frame);
    EXPECT_EQ(colourAt(moving.pullMovieFrame(true).frame, 10, 10), kBlue);
}

TEST_F(PipFramesTest, NeighbourThatRunsShortKeepsItsLastFrame) {
    StubNeighbour base(settings, ElementKind::Sequence, 720, 576, {kBlue});
    StubNeighbour inset(settings, ElementKind::Source, 720, 576, {kWhite, kWhite, kWhite});
    PipElement pip(0, settings, "0,0,50%|0|0.12");
    link(pip, base, inset);
    for (int k = 0; k < 3; ++k) {
        FrameImage frame = pip.nextFrame();
        ASSERT_TRUE(frame) << "frame " << k;
        EXPECT_EQ(colourAt(frame, 700, 500), kBlue);
        EXPECT_EQ(colourAt(frame, 10, 10), kWhite);
    }

    StubNeighbour empty(settings, ElementKind::Sequence, 720, 576, {});
    StubNeighbour still(settings, ElementKind::Source, 720, 576, {kWhite});
    PipElement never(0, settings, "0,0,50%");
    link(never, empty, still);
    EXPECT_FALSE(never.nextFrame());  // nothing to hold on to
}

TEST_F(PipFramesTest, HugePlacementNumbersDrawWhatFallsInsideAndNothingElse) {
    settings.resizeWidth = 1440;
    settings.stereo = 1;
    StubNeighbour base(settings, ElementKind::Source, 1440, 576, {kBlack});
    StubNeighbour inset(settings, ElementKind::Source, 1440, 576, {kRed}, {kBlue});
    // Script numbers saturate at the int range; sums of them must not overflow.
    PipElement farShift(0, settings, "10,10,100,3000000000");
    link(farShift, base, inset);
    FrameImage frame = farShift.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(colourAt(frame, 20, 20), kRed);
    EXPECT_EQ(colourAt(frame, 830, 20), kBlack);  // the right view lies far off the frame

    // A rectangle reaching from inside the frame to the end of the int range.
    StubNeighbour base2(settings, ElementKind::Source, 1440, 576, {kBlack});
    StubNeighbour inset2(settings, ElementKind::Source, 1440, 576, {kRed}, {kBlue});
    PipElement huge(0, settings, "700,-1000000000,3000000000,0");
    link(huge, base2, inset2);
    frame = huge.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(colourAt(frame, 699, 300), kBlack);
    EXPECT_EQ(colourAt(frame, 700, 300), kRed);
    EXPECT_EQ(colourAt(frame, 1419, 300), kRed);
    EXPECT_EQ(colourAt(frame, 1420, 300), kBlue);
}

}  // namespace
}  // namespace quillfen
