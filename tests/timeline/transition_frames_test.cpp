#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "imaging/effects/effect_registry.h"
#include "stub_neighbour.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

using testing::colourAt;
using testing::StubNeighbour;

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

// A Transition linked between two stub neighbours, as linking leaves it.
struct Linked {
    Linked(MovieSettings& settings, std::string_view parameters, StubNeighbour& before,
           StubNeighbour& after)
        : element(0, settings, parameters, builtinEffectCatalogue()) {
        element.prev = &before;
        element.next = &after;
    }
    TransitionElement element;
};

int channel(std::uint32_t c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

// Every channel of `c` within one level of the mix (1 - p) a + p b.
void expectMix(std::uint32_t c, std::uint32_t a, std::uint32_t b, double p) {
    for (int shift : {0, 8, 16}) {
        const double want = (1 - p) * channel(a, shift) + p * channel(b, shift);
        EXPECT_LE(std::abs(channel(c, shift) - want), 1.0) << "p " << p << " shift " << shift;
    }
}

class TransitionFramesTest : public ::testing::Test {
  protected:
    TransitionFramesTest() {
        settings.resizeWidth = 16;
        settings.resizeHeight = 12;
        settings.stereo = 0;
    }
    MovieSettings settings;
};

TEST_F(TransitionFramesTest, FadeRunsProgressFromZeroToOneAndTakesStillPicturesOnce) {
    settings.frameRate = 2;  // 1.5 seconds: 3 frames
    StubNeighbour before(settings, ElementKind::Source, 32, 24, {kBlack, kBlack, kBlack});
    StubNeighbour after(settings, ElementKind::Frame, 32, 24, {kWhite, kWhite, kWhite});
    Linked t(settings, "Fade|1.5", before, after);
    ASSERT_EQ(t.element.totalFrames, 3);
    EXPECT_TRUE(t.element.message.empty());

    const double expected[] = {0.0, 0.5, 1.0};
    for (double p : expected) {
        FrameImage frame = t.element.nextFrame();
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame.width(), 16);  // fitted to the output size
        EXPECT_EQ(frame.height(), 12);
        expectMix(colourAt(frame, 5, 5), kBlack, kWhite, p);
    }
    EXPECT_FALSE(t.element.nextFrame());
    // One picture each; the rest of the borrowed frames were dropped.
    EXPECT_EQ(before.pictures, 1);
    EXPECT_EQ(after.pictures, 1);
    EXPECT_EQ(before.nbFrames(), 0);
    EXPECT_EQ(after.nbFrames(), 0);
    EXPECT_TRUE(t.element.prevIsStill);
    EXPECT_TRUE(t.element.nextIsStill);
}

TEST_F(TransitionFramesTest, BackwardTransitionSwapsInputsAndRunsProgressDown) {
    const ClassId wipe = *builtinEffectCatalogue().FindEffect("Wipe");
    settings.resizeWidth = 200;  // wide against the soft edge
    settings.frameRate = 2;
    for (bool forward : {true, false}) {
        StubNeighbour before(settings, ElementKind::Source, 200, 12, {kBlack, kBlack, kBlack});
        StubNeighbour after(settings, ElementKind::Source, 200, 12, {kWhite, kWhite, kWhite});
        Linked t(settings, forward ? "Wipe|1.5" : "Wipe|-1.5", before, after);
        ASSERT_EQ(t.element.effectClass, wipe);
        FrameImage start = t.element.nextFrame();
        FrameImage middle = t.element.nextFrame();
        FrameImage end = t.element.nextFrame();
        ASSERT_TRUE(start && middle && end);
        // Both directions start on the previous picture and end on the next one...
        EXPECT_EQ(colourAt(start, 2, 6), kBlack);
        EXPECT_EQ(colourAt(start, 197, 6), kBlack);
        EXPECT_EQ(colourAt(end, 2, 6), kWhite);
        EXPECT_EQ(colourAt(end, 197, 6), kWhite);
        // ...but the wipe that sweeps the next picture in from the left runs backwards by
        // taking the previous picture away to the left.
        EXPECT_EQ(colourAt(middle, 2, 6), forward ? kWhite : kBlack);
        EXPECT_EQ(colourAt(middle, 197, 6), forward ? kBlack : kWhite);
    }
}

TEST_F(TransitionFramesTest, UnknownEffectWarnsAndFades) {
    settings.frameRate = 2;
    StubNeighbour before(settings, ElementKind::Source, 16, 12, {kBlack, kBlack, kBlack});
    StubNeighbour after(settings, ElementKind::Source, 16, 12, {kWhite, kWhite, kWhite});
    Linked t(settings, "wipe|1.5", before, after);
    EXPECT_TRUE(t.element.valid);
    EXPECT_EQ(t.element.effectClass, kFadeClassId);
    EXPECT_EQ(t.element.message,
              "Warning: transition effect 'wipe' not found, Fade is used instead.");
    t.element.nextFrame();
    expectMix(colourAt(t.element.nextFrame(), 0, 0), kBlack, kWhite, 0.5);
}

TEST_F(TransitionFramesTest, MovingNeighbourThatRunsShortKeepsItsLastFrame) {
    settings.frameRate = 3;  // 4 frames: p = 0, 1/3, 2/3, 1
    const std::uint32_t red = 0xFF0000, blue = 0x0000FF;
    StubNeighbour before(settings, ElementKind::Sequence, 16, 12, {red, blue});
    StubNeighbour after(settings, ElementKind::Source, 16, 12, {kWhite, kWhite, kWhite, kWhite});
    Linked t(settings, "Fade|1.333", before, after);
    ASSERT_EQ(t.element.totalFrames, 4);

    const std::uint32_t from[] = {red, blue, blue, blue};
    for (int k = 0; k < 4; ++k) {
        FrameImage frame = t.element.nextFrame();
        ASSERT_TRUE(frame) << "frame " << k;
        expectMix(colourAt(frame, 3, 3), from[k], kWhite, k / 3.0);
    }
    EXPECT_EQ(before.pictures, 2);
    EXPECT_FALSE(t.element.prevIsStill);
}

TEST_F(TransitionFramesTest, NeighbourWithoutAnyPictureGivesNoFrame) {
    StubNeighbour before(settings, ElementKind::Sequence, 16, 12, {});
    StubNeighbour after(settings, ElementKind::Source, 16, 12, {kWhite, kWhite});
    Linked t(settings, "Fade|0.01", before, after);
    EXPECT_FALSE(t.element.nextFrame());
    EXPECT_EQ(t.element.nbFrames(), 1);  // the step is still used up
}

TEST_F(TransitionFramesTest, OutputTakesThePreviousPictureSizeOverAGreyBackground) {
    settings.resizeWidth = settings.resizeHeight = 0;  // no fitting: pictures as they are
    settings.frameRate = 2;
    StubNeighbour before(settings, ElementKind::Source, 20, 10, {kBlack, kBlack, kBlack});
    StubNeighbour after(settings, ElementKind::Source, 10, 5, {kWhite, kWhite, kWhite});
    Linked t(settings, "Fade|1.5", before, after);
    t.element.nextFrame();
    t.element.nextFrame();
    FrameImage end = t.element.nextFrame();
    ASSERT_TRUE(end);
    EXPECT_EQ(end.width(), 20);
    EXPECT_EQ(end.height(), 10);
    EXPECT_EQ(colourAt(end, 2, 2), kWhite);  // the smaller picture sits at the top left
    EXPECT_EQ(colourAt(end, 15, 8), kWorkspaceBackground & 0xFFFFFF);
}

TEST_F(TransitionFramesTest, StereoFollowsTheBuildAndViewsNeverBleed) {
    const ClassId wipe = *builtinEffectCatalogue().FindEffect("Wipe");
    settings.resizeWidth = 400;  // views of 200, wide against the soft edge
    settings.frameRate = 2;
    // Left views use only red and blue, right views only green: any bleeding shows up as a
    // channel that does not belong to its half.
    const std::uint32_t fromL = 0xFF0000, fromR = 0x00FF00, toL = 0x0000FF, toR = 0x008000;
    for (int stereo : {1, 0}) {
        settings.stereo = stereo;
        StubNeighbour before(settings, ElementKind::Source, 400, 12, {fromL, fromL, fromL},
                             {fromR, fromR, fromR});
        StubNeighbour after(settings, ElementKind::Source, 400, 12, {toL, toL, toL},
                            {toR, toR, toR});
        Linked t(settings, "Wipe|1.5", before, after);
        ASSERT_EQ(t.element.effectClass, wipe);
        t.element.nextFrame();
        FrameImage middle = t.element.nextFrame();
        ASSERT_TRUE(middle);
        ASSERT_EQ(middle.width(), 400);
        EXPECT_EQ(colourAt(middle, 5, 6), toL);
        EXPECT_EQ(colourAt(middle, 395, 6), fromR);
        if (stereo) {
            // Each view wipes on its own: the right view's output starts at x = 200.
            EXPECT_EQ(colourAt(middle, 150, 6), fromL);
            EXPECT_EQ(colourAt(middle, 250, 6), toR);
            for (int x = 0; x < 400; ++x) {
                const std::uint32_t c = colourAt(middle, x, 6);
                ASSERT_EQ(c & (x < 200 ? 0x00FF00u : 0xFF00FFu), 0u) << "x " << x;
            }
        } else {
            // One wipe across the whole frame.
            EXPECT_EQ(colourAt(middle, 150, 6), toL);
            EXPECT_EQ(colourAt(middle, 250, 6), fromR);
        }
    }
}

}  // namespace
}  // namespace quillfen
