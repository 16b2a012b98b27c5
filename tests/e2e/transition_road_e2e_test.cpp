// The road of one build: a picture, a one-second Fade, another picture, rendered by the real
// `quillfen build` and read back from the movie file.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/frame_image.h"
#include "support/movie_probe.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

// A picture whose every pixel differs from its neighbours' in some channel, so that a wrong
// fit or a wrong mix shows up.
FrameImage patternPicture(int width, int height, int seed) {
    FrameImage image = FrameImage::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>((x * seed) / 4);
            row[3 * x + 1] = static_cast<std::uint8_t>((y * 3 + seed * 40) / 3);
            row[3 * x + 2] = static_cast<std::uint8_t>(((x / 16 + y / 16) % 2) ? 230 : 20 + seed);
        }
    }
    return image;
}

class TransitionRoad : public ::testing::Test {
  protected:
    std::vector<FrameImage> build(const std::string& script) {
        std::ofstream(folder + "/road.txt") << script;
        const std::string command = "cd '" + folder +
                                    "' && '" QUILLFEN_BINARY
                                    "' build road.txt -o road.avi --codec raw -y --quiet"
                                    " > build.log 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "see " << folder << "/build.log";
        return testing::decodeMovieFrames(folder + "/road.avi");
    }

    testing::TempFolder temp;
    const std::string folder = temp.path();
};

// Largest difference over every channel between `mixed` and (1 - p) a + p b.
double mixError(const FrameImage& mixed, const FrameImage& a, const FrameImage& b, double p) {
    double worst = 0;
    for (int y = 0; y < mixed.height(); ++y) {
        const std::uint8_t *m = mixed.row(y), *ra = a.row(y), *rb = b.row(y);
        for (int i = 0; i < 3 * mixed.width(); ++i)
            worst = std::max(worst, std::abs(m[i] - ((1 - p) * ra[i] + p * rb[i])));
    }
    return worst;
}

TEST_F(TransitionRoad, FadeFramesMixTheTwoFittedPictures) {
    ASSERT_TRUE(WriteBmpFile(patternPicture(800, 500, 3), folder + "/a.bmp"));
    ASSERT_TRUE(WriteBmpFile(patternPicture(500, 700, 5), folder + "/b.bmp"));
    std::vector<FrameImage> frames =
        build(">resize=720x576\na.bmp*2\n>transition=Fade|1\nb.bmp*2\n");
    ASSERT_EQ(frames.size(), 125u);
    ASSERT_EQ(frames[0].width(), 720);
    ASSERT_EQ(frames[0].height(), 576);
    // Frames 0 .. 49 show the first picture fitted, 75 .. 124 the second; in between the
    // Transition's frame k is the Fade at p = k / 24.
    const FrameImage& a = frames[49];
    const FrameImage& b = frames[75];
    EXPECT_GT(mixError(b, a, a, 0), 50);  // the pictures differ, so the check means something
    for (int k = 0; k <= 24; ++k)
        EXPECT_LE(mixError(frames[50 + k], a, b, k / 24.0), 1.0) << "transition frame " << k;
}

TEST_F(TransitionRoad, BackwardTransitionStillOpensOnThePreviousPicture) {
    ASSERT_TRUE(WriteBmpFile(patternPicture(720, 576, 2), folder + "/a.bmp"));
    ASSERT_TRUE(WriteBmpFile(patternPicture(720, 576, 6), folder + "/b.bmp"));
    std::vector<FrameImage> frames =
        build(">resize=720x576\n>stereo=0\na.bmp*1\n>transition=Wipe|-0.12\nb.bmp*1\n");
    ASSERT_EQ(frames.size(), 53u);  // 25 + 3 + 25
    // Backwards, p runs 1, 0.5, 0 with the previous picture as the second input: the
    // Transition opens on the previous picture and closes on the next one.
    EXPECT_LE(mixError(frames[25], frames[24], frames[24], 0), 1.0);
    EXPECT_LE(mixError(frames[27], frames[28], frames[28], 0), 1.0);
}

}  // namespace
}  // namespace quillfen
