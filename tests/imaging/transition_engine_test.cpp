#include "imaging/effects/transition_engine.h"

#include "imaging/effects/effect_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>

namespace quillfen {
namespace {

using ColourAt = std::function<std::uint32_t(int x, int top)>;  // 0x00RRGGBB

// A 24-bit picture of w x h whose colour at (x, row from the top) is given by `colour`.
FrameImage picture24(int w, int h, const ColourAt& colour) {
    FrameImage image = FrameImage::create(w, h, 24);
    for (int top = 0; top < h; ++top) {
        std::uint8_t* row = image.row(h - 1 - top);
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = colour(x, top);
            row[3 * x] = c & 0xFF;
            row[3 * x + 1] = (c >> 8) & 0xFF;
            row[3 * x + 2] = (c >> 16) & 0xFF;
        }
    }
    return image;
}

FrameImage plain(int w, int h, std::uint32_t colour) {
    return picture24(w, h, [colour](int, int) { return colour; });
}

// The 32-bit pixel of a result at column x, row counted from the top.
std::uint32_t pixelAt(const FrameImage& image, int x, int top) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.row(image.height() - 1 - top));
    return row[x];
}

ClassId effectId(const CTransitionEngine& engine, const char* name) {
    std::optional<ClassId> id = engine.FindEffect(name);
    EXPECT_TRUE(id) << name;
    return id.value_or(kFadeClassId);
}

class EngineTest : public testing::Test {
  protected:
    CTransitionEngine engine;
};

TEST_F(EngineTest, GivesNoneUntilBothInputsAreSet) {
    engine.setPlacement({0, 0, 8, 6});
    EXPECT_FALSE(engine.Apply(kFadeClassId, 0.5f));
    EXPECT_TRUE(engine.SetInput(EngineInput::First, plain(8, 6, 0x112233)));
    EXPECT_FALSE(engine.Apply(kFadeClassId, 0.5f));
    EXPECT_TRUE(engine.SetInput(EngineInput::Second, plain(8, 6, 0x445566)));
    EXPECT_TRUE(engine.Apply(kFadeClassId, 0.5f));
    // An empty image clears that input again.
    EXPECT_FALSE(engine.SetInput(EngineInput::Second, FrameImage{}));
    EXPECT_FALSE(engine.Apply(kFadeClassId, 0.5f));
}

TEST_F(EngineTest, GivesNoneForAnUnknownEffectOrAnEmptyPlacement) {
    engine.SetInput(EngineInput::First, plain(8, 6, 0x112233));
    engine.SetInput(EngineInput::Second, plain(8, 6, 0x445566));
    EXPECT_FALSE(engine.Apply(kFadeClassId, 0.5f));  // placement still empty
    engine.setPlacement({0, 0, 8, 6});
    EXPECT_FALSE(engine.Apply(ClassId{1, 2, 3, {}}, 0.5f));
    EXPECT_TRUE(engine.Apply(kFadeClassId, 0.5f));
}

TEST_F(EngineTest, FadeStepsMixTheInputsAndEndExactly) {
    auto first = [](int x, int top) { return static_cast<std::uint32_t>(x * 9 + top * 0x0300); };
    auto second = [](int x, int top) { return 0xF0A050u - static_cast<std::uint32_t>(x + top); };
    engine.SetInput(EngineInput::First, picture24(20, 10, first));
    engine.SetInput(EngineInput::Second, picture24(20, 10, second));
    engine.setPlacement({0, 0, 20, 10});
    for (int k = 0; k <= 24; ++k) {
        const float p = static_cast<float>(k) / 24.0f;
        engine.ReleaseTransforms();
        FrameImage out = engine.Apply(kFadeClassId, p);
        ASSERT_TRUE(out);
        ASSERT_EQ(out.bitCount(), 32);
        ASSERT_EQ(out.width(), 20);
        ASSERT_EQ(out.height(), 10);
        for (int top = 0; top < 10; ++top)
            for (int x = 0; x < 20; ++x) {
                std::uint32_t got = pixelAt(out, x, top), a = first(x, top), b = second(x, top);
                if (k == 0) {
                    ASSERT_EQ(got, a);
                }
                if (k == 24) {
                    ASSERT_EQ(got, b);
                }
                for (int s = 0; s < 24; s += 8) {
                    double ca = (a >> s) & 0xFF, cb = (b >> s) & 0xFF;
                    ASSERT_NEAR((got >> s) & 0xFF, ca + (cb - ca) * p, 1.0);
                }
                ASSERT_EQ(got >> 24, 0u);
            }
    }
}

TEST_F(EngineTest, TakesInputsAtOneToOneFromTheTopLeftOverTheBackground) {
    engine.setBackground(0xFF102030);
    engine.setPlacement({0, 0, 10, 8});
    // The first input is smaller than the output, the second larger: it is cut.
    engine.SetInput(EngineInput::First, picture24(4, 3, [](int x, int top) {
                        return static_cast<std::uint32_t>(0x010000 * (top + 1) + x);
                    }));
    engine.SetInput(EngineInput::Second, plain(30, 20, 0xABCDEF));
    FrameImage start = engine.Apply(kFadeClassId, 0.0f);
    ASSERT_TRUE(start);
    EXPECT_EQ(start.width(), 10);
    EXPECT_EQ(start.height(), 8);
    EXPECT_EQ(pixelAt(start, 0, 0), 0x010000u);
    EXPECT_EQ(pixelAt(start, 3, 2), 0x030003u);
    EXPECT_EQ(pixelAt(start, 4, 0), 0x102030u);
    EXPECT_EQ(pixelAt(start, 0, 3), 0x102030u);
    EXPECT_EQ(pixelAt(start, 9, 7), 0x102030u);
    FrameImage end = engine.Apply(kFadeClassId, 1.0f);
    EXPECT_EQ(pixelAt(end, 9, 7), 0xABCDEFu);
}

TEST_F(EngineTest, ReadsPaletteAndAlphaInputsAndClampsProgress) {
    FrameImage indexed = FrameImage::create(4, 4, 8);
    std::uint8_t* table = indexed.colourTable();
    table[4] = 0x33, table[5] = 0x22, table[6] = 0x11;  // entry 1
    for (int y = 0; y < 4; ++y)
        std::fill_n(indexed.row(y), 4, 1);
    engine.setPlacement({0, 0, 4, 4});
    engine.SetInput(EngineInput::First, indexed);
    engine.SetInput(EngineInput::Second, plain(4, 4, 0x998877));
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, -3.0f), 1, 1), 0x112233u);
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, 7.0f), 1, 1), 0x998877u);
    // A fourth byte in a 32-bit input never reaches the output.
    FrameImage withAlpha = FrameImage::create(4, 4, 32);
    std::fill_n(reinterpret_cast<std::uint32_t*>(withAlpha.pixels()), 16, 0xFF445566u);
    engine.SetInput(EngineInput::Second, withAlpha);
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, 1.0f), 2, 2), 0x445566u);
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, 0.5f), 2, 2) >> 24, 0u);
}

TEST_F(EngineTest, FollowsNewInputsAndBackgroundsBetweenSteps) {
    engine.setPlacement({0, 0, 6, 4});
    engine.SetInput(EngineInput::First, plain(3, 4, 0x111111));
    engine.SetInput(EngineInput::Second, plain(6, 4, 0x222222));
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, 0.0f), 5, 0), 0x000000u);
    engine.setBackground(0xFF0000FF);
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, 0.0f), 5, 0), 0x0000FFu);
    engine.SetInput(EngineInput::First, plain(6, 4, 0x333333));
    EXPECT_EQ(pixelAt(engine.Apply(kFadeClassId, 0.0f), 5, 0), 0x333333u);
}

TEST_F(EngineTest, PlacesTheOutputAtTheRectanglesCorner) {
    engine.setBackground(0xFF0000FF);
    engine.setPlacement({2, 1, 8, 5});  // 6 x 4
    engine.SetInput(EngineInput::First, plain(6, 4, 0x444444));
    engine.SetInput(EngineInput::Second, plain(6, 4, 0x555555));
    FrameImage out = engine.Apply(kFadeClassId, 0.0f);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.width(), 6);
    EXPECT_EQ(pixelAt(out, 1, 0), 0x0000FFu);
    EXPECT_EQ(pixelAt(out, 1, 1), 0x0000FFu);
    EXPECT_EQ(pixelAt(out, 2, 1), 0x444444u);
    EXPECT_EQ(pixelAt(out, 5, 3), 0x444444u);
}

// Left views are reds, right views blues; the first input dark, the second bright.
std::uint32_t stereoColour(int x, int w, bool second) {
    std::uint32_t level = second ? 0xF0 : 0x40;
    return x < w / 2 ? level << 16 : level;
}

class StereoEngineTest : public EngineTest {
  protected:
    void SetUp() override {
        engine.setStereo(true);
        engine.setPlacement({0, 0, 1280, 720});
        engine.SetInput(EngineInput::First, picture24(1280, 720, [](int x, int) {
                            return stereoColour(x, 1280, false);
                        }));
        engine.SetInput(EngineInput::Second, picture24(1280, 720, [](int x, int) {
                            return stereoColour(x, 1280, true);
                        }));
    }
};

TEST_F(StereoEngineTest, RendersEachViewOnItsOwnHalf) {
    FrameImage out = engine.Apply(effectId(engine, "Wipe"), 0.5f);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.width(), 1280);
    EXPECT_EQ(out.height(), 720);
    // Each view wipes from its own left edge: the right view's output starts at x = 640.
    EXPECT_EQ(pixelAt(out, 0, 100), 0xF00000u);
    EXPECT_EQ(pixelAt(out, 639, 100), 0x400000u);
    EXPECT_EQ(pixelAt(out, 640, 100), 0x0000F0u);
    EXPECT_EQ(pixelAt(out, 1279, 100), 0x000040u);
}

TEST_F(StereoEngineTest, NeverMixesTheViews) {
    for (const char* name : {"Push", "Iris", "Pixelate", "Stretch"}) {
        FrameImage out = engine.Apply(effectId(engine, name), 0.37f);
        ASSERT_TRUE(out) << name;
        for (int top = 0; top < 720; top += 7)
            for (int x = 0; x < 1280; ++x) {
                std::uint32_t px = pixelAt(out, x, top);
                bool leftOnly = (px & 0x00FFFF) == 0, rightOnly = (px & 0xFFFF00) == 0;
                ASSERT_TRUE(x < 640 ? leftOnly : rightOnly) << name << " x=" << x;
            }
    }
}

TEST_F(StereoEngineTest, DropsTheOddColumnOfAnOddWidth) {
    engine.setPlacement({0, 0, 1281, 720});
    FrameImage out = engine.Apply(kFadeClassId, 1.0f);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.width(), 1280);
    EXPECT_EQ(pixelAt(out, 640, 0), 0x0000F0u);
}

TEST_F(StereoEngineTest, KeepsAViewInsideItsHalfWhenPlacedOffTheCorner) {
    engine.setBackground(0xFF00FF00);
    engine.setPlacement({100, 0, 1380, 720});
    FrameImage out = engine.Apply(kFadeClassId, 0.0f);
    ASSERT_TRUE(out);
    EXPECT_EQ(pixelAt(out, 99, 0), 0x00FF00u);
    EXPECT_EQ(pixelAt(out, 100, 0), 0x400000u);
    EXPECT_EQ(pixelAt(out, 639, 0), 0x400000u);
    EXPECT_EQ(pixelAt(out, 739, 0), 0x00FF00u);
    EXPECT_EQ(pixelAt(out, 740, 0), 0x000040u);
}

TEST_F(EngineTest, FindsEffectsByExactName) {
    EXPECT_EQ(engine.FindEffect("Fade"), kFadeClassId);
    EXPECT_FALSE(engine.FindEffect("fade"));
    EXPECT_EQ(&engine.catalogue(), &builtinEffectCatalogue());
}

}  // namespace
}  // namespace quillfen
