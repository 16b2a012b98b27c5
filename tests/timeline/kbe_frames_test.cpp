// Pan-and-zoom frames: the window's path, its timing against the holds, the stereo windows,
// background bands, smooth sampling, and how a KBE lends frames to a Transition.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "support/temp_folder.h"
#include "timeline/element_list.h"
#include "timeline/kbe_element.h"
#include "timeline/kbe_motion.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

using testing::TempFolder;

void expectRect(const KbeRect& r, double x, double y, double width, double height) {
    EXPECT_DOUBLE_EQ(r.x, x);
    EXPECT_DOUBLE_EQ(r.y, y);
    EXPECT_DOUBLE_EQ(r.width, width);
    EXPECT_DOUBLE_EQ(r.height, height);
}

TEST(KbeMotion, SlidesLinearlyZoomsGeometricallyAndKeepsTheViewProportions) {
    KbeMotion m{{0, 0, 2000, 0}, {500, 250, 1000, 0}, 11, 1000.0 / 500.0, 1000};
    expectRect(m.windowAt(0), 0, 0, 2000, 1000);
    expectRect(m.windowAt(5), 250, 125, 1414, 707);
    expectRect(m.windowAt(10), 500, 250, 1000, 500);

    KbeRect exact = m.exactWindowAt(5);
    EXPECT_DOUBLE_EQ(exact.x, 250);
    EXPECT_NEAR(exact.width, 1414.2136, 1e-4);
    EXPECT_NEAR(exact.height, 707.1068, 1e-4);
    EXPECT_NEAR(m.exactWindowAt(3).x, 150, 1e-9);
    EXPECT_NEAR(m.exactWindowAt(10).width, 1000, 1e-9);

    // Integer interpolation truncates: 7 pixels over 3 spans go 0, 2, 4, 7.
    KbeMotion slow{{0, 0, 100, 0}, {7, 0, 100, 3}, 4, 1.0, 1000};
    EXPECT_DOUBLE_EQ(slow.windowAt(1).x, 2);
    EXPECT_DOUBLE_EQ(slow.windowAt(2).x, 4);
    EXPECT_DOUBLE_EQ(slow.windowAt(2).z, 2);
    EXPECT_NEAR(slow.exactWindowAt(1).x, 7.0 / 3, 1e-12);
}

TEST(KbeMotion, BottomEdgeMovesTheWindowUpByHalfTheOvershoot) {
    KbeMotion m{{0, 400, 1414, 0}, {0, 400, 1414, 0}, 2, 2.0, 1000};
    expectRect(m.windowAt(0), 0, 347, 1414, 707);
    EXPECT_DOUBLE_EQ(m.exactWindowAt(1).y, 346.5);
}

TEST(KbeMotion, FewerThanTwoStepsShowTheStartWithoutDividing) {
    for (int steps : {1, 0, -3}) {
        KbeMotion m{{10, 20, 300, 4}, {100, 50, 30, 0}, steps, 1.5, 1000};
        for (int i : {-1, 0, 1, 7}) {
            expectRect(m.windowAt(i), 10, 20, 300, 200);
            expectRect(m.exactWindowAt(i), 10, 20, 300, 200);
            EXPECT_DOUBLE_EQ(m.windowAt(i).z, 4);
        }
    }
}

// A 24-bit picture whose pixel (x, y from the top) has red x, green y and blue 7, so a frame
// drawn at one-to-one scale tells which picture pixel it shows.
void writeRamp(const std::string& path, int width, int height) {
    FrameImage picture = DibCreateBlank(width, height, 24, kNoColour);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.row(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = 7;
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = static_cast<std::uint8_t>(x);
        }
    }
    ASSERT_TRUE(WriteBmpFile(picture, path));
}

// An 8-bit picture of vertical stripes `stripe` pixels wide; stripe n has red n.
void writeStripes(const std::string& path, int width, int height, int stripe) {
    FrameImage picture = DibCreateBlank(width, height, 8, kNoColour);
    for (int i = 0; i < 256; ++i) {
        std::uint8_t entry[4] = {0, 0, static_cast<std::uint8_t>(i), 0};
        std::memcpy(picture.colourTable() + 4 * i, entry, 4);
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.row(y);
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<std::uint8_t>(x / stripe);
    }
    ASSERT_TRUE(WriteBmpFile(picture, path));
}

// Byte `channel` (0 blue, 1 green, 2 red) of pixel (x, y from the top) of a 32-bit frame.
int channelAt(const FrameImage& frame, int x, int y, int channel) {
    return frame.row(frame.height() - 1 - y)[4 * x + channel];
}
int redAt(const FrameImage& frame, int x, int y) {
    return channelAt(frame, x, y, 2);
}

bool sameBytes(const FrameImage& a, const FrameImage& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
}

class KbeFrames : public ::testing::Test {
  protected:
    KbeFrames() {
        settings.scriptFolder = folder.path();
        settings.stereo = 0;
        writeRamp(folder.path() + "/ramp.bmp", 64, 32);
    }

    /// Every frame's window x, taking all frames.
    std::vector<double> windowXs(KbeElement& kbe) {
        std::vector<double> xs;
        while (kbe.nbFrames() > 0) {
            FrameImage frame = kbe.nextFrame();
            EXPECT_TRUE(frame);
            xs.push_back(kbe.window.x);
        }
        return xs;
    }

    TempFolder folder;
    MovieSettings settings;
};

TEST_F(KbeFrames, StartHoldThenMovementThenTargetHold) {
    settings.resizeWidth = 32;
    settings.resizeHeight = 16;
    // Holds of 3 and 2 frames around 5 steps: target reached on frame 3 + 5 - 1.
    KbeElement kbe(0, settings, "ramp.bmp|0,0,32,0,0.12|32,16,32,0,0.08|0.2");
    ASSERT_TRUE(kbe.valid) << kbe.message;
    ASSERT_EQ(kbe.nbFrames(), 10);

    FrameImage first = kbe.nextFrame();
    ASSERT_TRUE(first);
    EXPECT_EQ(first.width(), 32);
    EXPECT_EQ(first.height(), 16);
    EXPECT_EQ(first.bitCount(), 32);
    EXPECT_EQ(redAt(first, 5, 0), 5);
    EXPECT_EQ(channelAt(first, 5, 9, 1), 9);

    std::vector<double> xs = windowXs(kbe);
    EXPECT_EQ(xs, (std::vector<double>{0, 0, 8, 16, 24, 32, 32, 32, 32}));
    EXPECT_DOUBLE_EQ(kbe.window.y, 16);
    EXPECT_FALSE(kbe.pictureInHand());  // let go after the last frame
    EXPECT_FALSE(kbe.nextFrame());
}

TEST_F(KbeFrames, PulledHoldFramesAreUnchangedAndEqualDrawnOnes) {
    settings.resizeWidth = 32;
    settings.resizeHeight = 16;
    const char* params = "ramp.bmp|0,0,32,0,0.12|32,16,32,0,0.08|0.2";
    KbeElement pulled(0, settings, params), drawn(0, settings, params);
    ASSERT_EQ(pulled.nbFrames(), 10);
    std::vector<bool> unchanged;
    FrameImage previous;
    for (PulledFrame p = pulled.pullMovieFrame(true); !p.ended(); p = pulled.pullMovieFrame(true)) {
        FrameImage reference = drawn.nextMovieFrame();
        unchanged.push_back(p.unchanged);
        if (!p.unchanged) previous = std::move(p.frame);
        // An unchanged frame is what drawing it would have given: the previous one.
        EXPECT_TRUE(sameBytes(reference, previous)) << "frame " << unchanged.size();
    }
    // The start window stays for three frames (the first drawn), moves on four, then rests.
    EXPECT_EQ(unchanged,
              (std::vector<bool>{false, true, true, false, false, false, false, true, true, true}));
    EXPECT_EQ(pulled.nbFrames(), 0);
    EXPECT_FALSE(pulled.pictureInHand());
    // Without the previous frame in the caller's hand every frame is drawn.
    KbeElement fresh(0, settings, params);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(fresh.pullMovieFrame(false).frame);
}

TEST_F(KbeFrames, WithoutStartHoldTheLastStepStopsOneShortOfTheTarget) {
    settings.resizeWidth = 32;
    settings.resizeHeight = 16;
    KbeElement kbe(0, settings, "ramp.bmp|0,0,32,0,0|32,0,32,0,0.08|0.2");
    EXPECT_EQ(windowXs(kbe), (std::vector<double>{0, 8, 16, 24, 24, 24, 24}));

    // 100 steps, no start hold, a target hold of one frame: 100 frames ending at i = 98.
    settings.resizeWidth = 8;
    settings.resizeHeight = 4;
    KbeElement long_(0, settings, "ramp.bmp|0,0,32,0,0|32,0,32,0,0.04|4");
    ASSERT_EQ(long_.nbFrames(), 100);
    std::vector<double> xs = windowXs(long_);
    ASSERT_EQ(xs.size(), 100u);
    EXPECT_EQ(long_.stepIndex - 1, 98);
    EXPECT_DOUBLE_EQ(xs.back(), 32 * 98 / 99);
}

TEST_F(KbeFrames, FewerThanTwoStepsShowTheStartOnEveryFrame) {
    settings.resizeWidth = 16;
    settings.resizeHeight = 8;
    KbeElement still(0, settings, "ramp.bmp|4,2,16,0,0.08|40,0,8,0,0.08|0");
    ASSERT_EQ(still.steps, 0);
    EXPECT_EQ(windowXs(still), (std::vector<double>{4, 4, 4, 4}));
    // One step and no start hold leaves the step index at 0 (i = -1).
    KbeElement one(0, settings, "ramp.bmp|4,2,16,0,0|40,0,8,0,0.08|0.04");
    EXPECT_EQ(windowXs(one), (std::vector<double>{4, 4, 4}));
    EXPECT_DOUBLE_EQ(one.window.width, 16);
}

TEST_F(KbeFrames, MovementAsLongAsTheFrameCountAllowsStillSteps) {
    settings.resizeWidth = 16;
    settings.resizeHeight = 8;
    // The steps saturate at the int range; the hold before them must not overflow the count.
    KbeElement kbe(0, settings, "ramp.bmp|0,0,32,0,0.04|32,0,32,0,0.04|1e9");
    ASSERT_EQ(kbe.steps, INT_MAX);
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_TRUE(kbe.nextFrame());
        EXPECT_EQ(kbe.stepIndex, frame);
    }
}

TEST_F(KbeFrames, PercentagesAndOmittedWidthsUseTheViewWidth) {
    writeStripes(folder.path() + "/wide.bmp", 2000, 1000, 20);
    settings.resizeWidth = 100;
    settings.resizeHeight = 50;
    KbeElement kbe(0, settings, "wide.bmp|10%,10%|0,0,40%|1");
    ASSERT_TRUE(kbe.valid) << kbe.message;
    ASSERT_TRUE(kbe.nextFrame());
    EXPECT_EQ(kbe.start.width.pixels, 2000);
    EXPECT_EQ(kbe.start.x.pixels, 200);
    EXPECT_EQ(kbe.start.y.pixels, 100);
    EXPECT_EQ(kbe.target.width.pixels, 800);
}

TEST_F(KbeFrames, StereoRightWindowIsShiftedByZAndHalfThePicture) {
    writeStripes(folder.path() + "/pair.bmp", 4000, 1500, 20);
    settings.stereo = 1;
    settings.resizeWidth = 196;
    settings.resizeHeight = 50;
    // View width 2000: z of 1% is 20 pixels, and a window 1960 wide is 1000 high here.
    KbeElement kbe(0, settings, "pair.bmp|20,0,1960,1%|20,0,1960,1%|1");
    ASSERT_TRUE(kbe.valid) << kbe.message;
    FrameImage frame = kbe.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(kbe.start.z.pixels, 20);
    EXPECT_DOUBLE_EQ(kbe.window.height, 1000);
    // Each output column averages exactly one stripe: the left window starts at stripe 1,
    // the right one at 20 + 20 + 2000, stripe 102.
    for (int c : {0, 1, 50, 97}) {
        EXPECT_EQ(redAt(frame, c, 10), 1 + c) << c;
        EXPECT_EQ(redAt(frame, 98 + c, 10), 102 + c) << c;
    }
}

TEST_F(KbeFrames, WindowPartsOutsideThePictureShowTheBackground) {
    writeRamp(folder.path() + "/small.bmp", 20, 10);
    settings.resizeWidth = 20;
    settings.resizeHeight = 10;
    settings.imageOptions.background = makeColour(200, 100, 50);
    // 5 pixels left of the picture, and 5 below it before the bottom correction moves the
    // window up by 2.
    KbeElement kbe(0, settings, "small.bmp|-5,5,20|-5,5,20|1");
    FrameImage frame = kbe.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_DOUBLE_EQ(kbe.window.y, 3);
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(redAt(frame, c, 0), 200);
        EXPECT_EQ(channelAt(frame, c, 0, 1), 100);
        EXPECT_EQ(channelAt(frame, c, 0, 0), 50);
    }
    EXPECT_EQ(redAt(frame, 5, 0), 0);
    EXPECT_EQ(redAt(frame, 19, 6), 14);
    EXPECT_EQ(channelAt(frame, 19, 6, 1), 9);
    EXPECT_EQ(redAt(frame, 19, 7), 200);

    settings.imageOptions.background = kNoColour;
    KbeElement none(0, settings, "small.bmp|-5,0,20|-5,0,20|1");
    FrameImage black = none.nextFrame();
    ASSERT_TRUE(black);
    EXPECT_EQ(redAt(black, 0, 0), 0);
    EXPECT_EQ(channelAt(black, 0, 0, 0), 0);
}

TEST_F(KbeFrames, SmoothModeSamplesBetweenPixelsButReportsWholePixels) {
    settings.resizeWidth = 32;
    settings.resizeHeight = 16;
    const char* params = "ramp.bmp|0,0,32,0,0.08|3,0,32,0,0|0.2";  // x 0, 0.75, 1.5, 2.25, 3
    KbeElement whole(0, settings, params);
    MovieSettings smoothSettings = settings;
    smoothSettings.smoothMotion = true;
    smoothSettings.reset();  // the command line's choice outlives the Script's values
    ASSERT_TRUE(smoothSettings.smoothMotion);
    smoothSettings.resizeWidth = 32;
    smoothSettings.resizeHeight = 16;
    smoothSettings.stereo = 0;
    KbeElement smooth(0, smoothSettings, params);

    for (int frame = 1; frame <= 6; ++frame) {
        FrameImage a = whole.nextFrame();
        FrameImage b = smooth.nextFrame();
        ASSERT_TRUE(a && b);
        EXPECT_DOUBLE_EQ(whole.window.x, smooth.window.x) << frame;
        int i = whole.stepIndex - 1;
        if (i == 0 || i == 4) {
            EXPECT_TRUE(sameBytes(a, b)) << frame;  // on whole pixels
        }
        if (i == 1) {
            EXPECT_EQ(redAt(a, 10, 0), 10);
            EXPECT_EQ(redAt(b, 10, 0), 11);  // 10.75 rounded
        }
        if (i == 2) {
            EXPECT_EQ(redAt(a, 10, 0), 11);  // whole pixels: x = 1
            int red = redAt(b, 10, 0);       // halfway between pixels 11 and 12
            EXPECT_TRUE(red == 11 || red == 12) << red;
        }
    }
}

TEST_F(KbeFrames, WidthsThatNoPictureCanMakePositiveAreRejected) {
    KbeElement zeroPercent(4, settings, "ramp.bmp|0,0,0%|0,0,50%|1");
    EXPECT_FALSE(zeroPercent.valid);
    EXPECT_EQ(zeroPercent.message, "Error: KBE start width must be more than 0 pixels.");
    KbeElement negative(4, settings, "ramp.bmp|0,0,10|0,0,-3|1");
    EXPECT_FALSE(negative.valid);
    EXPECT_EQ(negative.message, "Error: KBE target width must be more than 0 pixels.");
    EXPECT_TRUE(KbeElement(4, settings, "ramp.bmp|0,0,0|0,0,0.5%|1").valid);
    // A missing picture is still the first thing said.
    EXPECT_EQ(KbeElement(4, settings, "gone.bmp|0,0,0%|0,0,0%|1").message,
              "Error: picture 'gone.bmp' doesn't exist.");

    // A percentage that comes to nothing on this picture still draws, one pixel wide.
    settings.resizeWidth = 8;
    settings.resizeHeight = 4;
    KbeElement tiny(0, settings, "ramp.bmp|0,0,0.5%|0,0,0.5%|1");
    ASSERT_TRUE(tiny.nextFrame());
    EXPECT_EQ(tiny.start.width.pixels, 1);
}

TEST_F(KbeFrames, UnreadablePictureEndsTheElementWithoutRetrying) {
    folder.touch("broken.bmp", "not a picture");
    KbeElement kbe(0, settings, "broken.bmp|0,0,0|0,0,0|1");
    ASSERT_TRUE(kbe.valid);
    EXPECT_FALSE(kbe.nextFrame());
    EXPECT_EQ(kbe.unreadablePicture(), "broken.bmp");
    EXPECT_EQ(kbe.frameCounter, 1);
}

TEST_F(KbeFrames, NextToATransitionItGivesUpItsLastFrames) {
    settings.resizeWidth = 32;
    settings.resizeHeight = 16;
    folder.touch("b.jpg");
    EffectCatalogue catalogue;
    ElementList list;
    list.push_back(std::make_unique<KbeElement>(0, settings, "ramp.bmp|0,0,32|32,0,32|0.2"));
    list.push_back(std::make_unique<TransitionElement>(1, settings, "Fade|0.08", catalogue));
    list.push_back(std::make_unique<SourceElement>(2, settings, "b.jpg", 5));
    ASSERT_FALSE(linkElements(list));
    auto& kbe = static_cast<KbeElement&>(*list[0]);
    EXPECT_EQ(kbe.nbFrames(), 15);
    EXPECT_EQ(kbe.nbAVIFrames(), 13);
    EXPECT_EQ(list[2]->nbFrames(), 7);  // a still neighbour lends instead
    EXPECT_EQ(countFrames(list), 13 + 2 + 5);

    int movieFrames = 0;
    while (kbe.nextMovieFrame())
        ++movieFrames;
    EXPECT_EQ(movieFrames, 13);
    EXPECT_TRUE(kbe.pictureInHand());  // kept for the Transition's frames
    ASSERT_TRUE(kbe.nextFrame());
    ASSERT_TRUE(kbe.nextFrame());
    EXPECT_DOUBLE_EQ(kbe.window.x, 32);
    EXPECT_FALSE(kbe.pictureInHand());
}

}  // namespace
}  // namespace quillfen
