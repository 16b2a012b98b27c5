// The per-frame chain's own decisions: which mirror applies in stereo, the order of mirror
// and flip, and that every frame leaves with 24 bits (or plain 32, which the writer reduces).

#include "output/frame_pipeline.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/dib_ops.h"

namespace quillfen {
namespace {

// A 4x2 24-bit picture whose pixels are numbered 1..8 in their blue byte, top row first.
FrameImage numbered() {
    FrameImage image = DibCreateBlank(4, 2, 24, kNoColour);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            image.row(1 - y)[3 * x] = static_cast<std::uint8_t>(1 + 4 * y + x);
    }
    return image;
}

std::vector<int> topRow(const FrameImage& frame) {
    std::vector<int> row;
    for (int x = 0; x < frame.width(); ++x)
        row.push_back(frame.row(frame.height() - 1)[3 * x]);
    return row;
}

struct PipelineFixture {
    MovieSettings settings;
    OverlayList overlays;
    FrameImage run(FrameImage frame) {
        FramePipeline pipeline(settings, overlays, false);
        return pipeline.process(std::move(frame), {});
    }
};

TEST(FramePipeline, StereoMirrorsEachViewAndPlainFramesMirrorWhole) {
    PipelineFixture f;
    f.settings.imageOptions.mirrorLeft = 1;
    f.settings.stereo = 1;
    EXPECT_EQ(topRow(f.run(numbered())), (std::vector<int>{2, 1, 3, 4}));
    f.settings.stereo = 0;
    EXPECT_EQ(topRow(f.run(numbered())), (std::vector<int>{4, 3, 2, 1}));
}

TEST(FramePipeline, FlipComesAfterMirror) {
    PipelineFixture f;
    f.settings.stereo = 0;
    f.settings.imageOptions.mirrorLeft = 1;
    f.settings.imageOptions.flipV = 1;
    EXPECT_EQ(topRow(f.run(numbered())), (std::vector<int>{8, 7, 6, 5}));
}

TEST(FramePipeline, EveryDepthLeavesWithTwentyFourBitsOrPlainThirtyTwo) {
    PipelineFixture f;
    FrameImage palette = DibCreateBlank(3, 3, 8, kNoColour);
    palette.colourTable()[0] = 200;  // entry 0: blue 200
    FrameImage out = f.run(std::move(palette));
    ASSERT_TRUE(out);
    EXPECT_EQ(out.bitCount(), 24);
    EXPECT_EQ(out.row(0)[0], 200);
    // Plain 32-bit frames go to the writer as they are: it drops the fourth byte itself.
    EXPECT_EQ(f.run(DibCreateBlank(5, 4, 32, makeColour(1, 2, 3))).bitCount(), 32);
    EXPECT_FALSE(f.run(FrameImage{}));

    // 32 bits whose channels masks place (red in the top byte, blue in the second lowest).
    FrameImage masked = DibCreateBlank(2, 1, 32, kNoColour);
    BitmapInfoHeader header = masked.header();
    header.biCompression = kBiBitfields;
    ASSERT_TRUE(masked.resize(masked.size() + 12));
    masked.setHeader(header);
    const std::uint32_t masks[3] = {0xFF000000, 0x00FF0000, 0x0000FF00};
    std::memcpy(masked.data() + 40, masks, 12);
    const std::uint32_t pixel = 0x0A141E00;
    std::memcpy(masked.row(0), &pixel, 4);
    out = f.run(std::move(masked));
    ASSERT_EQ(out.bitCount(), 24);
    EXPECT_EQ(out.row(0)[0], 30);
    EXPECT_EQ(out.row(0)[2], 10);
}

}  // namespace
}  // namespace quillfen
