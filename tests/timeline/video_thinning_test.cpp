#include "timeline/video_thinning.h"

#include <gtest/gtest.h>

#include <vector>

#include "timeline/video_event.h"

namespace quillfen {
namespace {

std::vector<bool> passes(ThinningPattern pattern, int frames) {
    std::vector<bool> result;
    for (int i = 0; i < frames; ++i)
        result.push_back(pattern.pass());
    return result;
}

TEST(ThinningPattern, ThirtyIntoTwentyFiveKeepsFiveOfSix) {
    const auto pattern = ThinningPattern::forRates(25.0, 30.0);
    EXPECT_EQ(pattern.keepCycle(), 6);
    EXPECT_EQ(pattern.keepCount(), 5);
    const std::vector<bool> expected{true, true, true, true, true, false,
                                     true, true, true, true, true, false};
    EXPECT_EQ(passes(pattern, 12), expected);
    EXPECT_EQ(ThinningPattern::frameCount(300, 25.0, 30.0), 250);
}

TEST(ThinningPattern, NtscIntoTwentyFiveKeeps25Of29) {
    const double clipRate = 1e7 / 333667.0;
    const auto pattern = ThinningPattern::forRates(25.0, clipRate);
    EXPECT_EQ(pattern.keepCycle(), 29);
    EXPECT_EQ(pattern.keepCount(), 25);
    const auto kept = passes(pattern, 29 * 3);
    for (int i = 0; i < 29 * 3; ++i)
        EXPECT_EQ(kept[i], i % 29 < 25) << "clip frame " << i;
    EXPECT_EQ(ThinningPattern::frameCount(1000, 25.0, clipRate), 834);
}

TEST(ThinningPattern, CloseOrSlowerClipRatesUseEveryFrame) {
    for (const auto& [movie, clip] : {std::pair{25.0, 25.05}, {30.0, 25.0}, {25.0, 25.0}}) {
        const auto pattern = ThinningPattern::forRates(movie, clip);
        EXPECT_FALSE(pattern.thins()) << movie << " over " << clip;
        EXPECT_EQ(passes(pattern, 7), std::vector<bool>(7, true));
        EXPECT_EQ(ThinningPattern::frameCount(123, movie, clip), 123);
    }
}

TEST(ThinningPattern, MovieBelowOneFramePerSecondStillGetsFrames) {
    // Whole parts 0 and 30 would make a cycle that keeps nothing and starves the Element.
    const auto pattern = ThinningPattern::forRates(0.5, 30.0);
    EXPECT_FALSE(pattern.thins());
    EXPECT_EQ(passes(pattern, 3), std::vector<bool>(3, true));
}

TEST(AutoResetEvent, OneSignalReleasesOneWaitOnly) {
    AutoResetEvent event;
    event.signal();
    event.signal();  // already set: no second release
    EXPECT_TRUE(event.waitFor(std::chrono::milliseconds(0)));
    EXPECT_FALSE(event.waitFor(std::chrono::milliseconds(1)));
}

}  // namespace
}  // namespace quillfen
