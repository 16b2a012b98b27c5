#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "imaging/effects/effect_registry.h"

namespace quillfen {
namespace {

using Plane = std::vector<std::uint32_t>;

struct Scene {
    int width;
    int height;
    Plane from, to;

    Scene(int w, int h) : width(w), height(h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Every channel differs between the two inputs at every pixel.
                std::uint32_t a = static_cast<std::uint32_t>((x * 7 + y * 3) & 0x7F) * 0x010101u;
                from.push_back(a ^ 0x102030u);
                to.push_back((a | 0x808080u) ^ 0x0A0B0Cu);
            }
    }

    Plane render(const EffectEntry& effect, float progress, int rowBegin = 0, int rowEnd = -1,
                 Plane out = {}) const {
        if (out.empty()) out.assign(from.size(), 0xDEADBEEFu);
        EffectJob job{from.data(), to.data(), out.data(), width, height, progress, 0x123456u};
        effect.render(job, rowBegin, rowEnd < 0 ? height : rowEnd);
        return out;
    }
};

const EffectEntry& effectNamed(std::string_view name) {
    for (const EffectEntry& e : builtinEffects())
        if (e.displayName == name) return e;
    ADD_FAILURE() << "no effect " << name;
    return builtinEffects().front();
}

// Share of the full channel range by which `a` differs from `b`, 0 ... 1.
double meanDifference(const Plane& a, const Plane& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int s = 0; s < 24; s += 8)
            sum += std::abs(static_cast<int>((a[i] >> s) & 0xFF) -
                            static_cast<int>((b[i] >> s) & 0xFF));
    return sum / (255.0 * 3.0 * static_cast<double>(a.size()));
}

class EveryEffect : public testing::TestWithParam<std::size_t> {
  protected:
    const EffectEntry& effect() const { return builtinEffects()[GetParam()]; }
};

TEST_P(EveryEffect, IsExactlyTheFirstInputAtZeroAndTheSecondAtOne) {
    for (auto [w, h] : {std::pair{160, 90}, {97, 61}, {1, 1}, {7, 3}}) {
        Scene scene(w, h);
        EXPECT_EQ(scene.render(effect(), 0.0f), scene.from) << w << "x" << h;
        EXPECT_EQ(scene.render(effect(), 1.0f), scene.to) << w << "x" << h;
    }
}

TEST_P(EveryEffect, StaysCloseToTheEndsJustInsideThem) {
    Scene scene(160, 90);
    EXPECT_LT(meanDifference(scene.render(effect(), 0.002f), scene.from), 0.02);
    EXPECT_LT(meanDifference(scene.render(effect(), 0.998f), scene.to), 0.02);
    EXPECT_GT(meanDifference(scene.render(effect(), 0.5f), scene.from), 0.05);
}

TEST_P(EveryEffect, RendersRowRangesLikeTheWholeFrame) {
    Scene scene(97, 61);
    for (float p : {0.3f, 0.71f}) {
        Plane whole = scene.render(effect(), p);
        Plane pieces = scene.render(effect(), p, 0, 17);
        pieces = scene.render(effect(), p, 17, 40, pieces);
        pieces = scene.render(effect(), p, 40, 61, pieces);
        EXPECT_EQ(pieces, whole) << "p=" << p;
    }
}

TEST_P(EveryEffect, WritesOnlyTheColourBytes) {
    Scene scene(33, 21);
    for (std::uint32_t px : scene.render(effect(), 0.4f))
        ASSERT_EQ(px & 0xFF000000u, 0u);
}

INSTANTIATE_TEST_SUITE_P(Builtin, EveryEffect,
                         testing::Range<std::size_t>(0, builtinEffects().size()),
                         [](const testing::TestParamInfo<std::size_t>& info) {
                             std::string name(builtinEffects()[info.param].registryName);
                             return name;
                         });

class WipeLikeEffect : public testing::TestWithParam<const char*> {};

// The set of pixels that show something other than the first input only ever grows.
TEST_P(WipeLikeEffect, ChangedAreaGrowsMonotonically) {
    Scene scene(120, 80);
    const EffectEntry& effect = effectNamed(GetParam());
    std::vector<bool> changedBefore(scene.from.size(), false);
    std::size_t countBefore = 0;
    for (int step = 1; step <= 20; ++step) {
        Plane out = scene.render(effect, static_cast<float>(step) / 20.0f);
        std::size_t count = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            bool changed = out[i] != scene.from[i];
            if (changedBefore[i]) {
                ASSERT_TRUE(changed) << "pixel " << i << " reverted at " << step;
            }
            changedBefore[i] = changed;
            count += changed;
        }
        EXPECT_GE(count, countBefore);
        countBefore = count;
    }
    EXPECT_EQ(countBefore, scene.from.size());
}

INSTANTIATE_TEST_SUITE_P(Builtin, WipeLikeEffect,
                         testing::Values("Wipe", "Barn", "Blinds", "Checkerboard", "Iris", "Inset",
                                         "Radial Wipe", "Random Bars", "Random Dissolve", "Spiral",
                                         "Strips", "Zigzag", "Wheel", "Gradient Wipe"));

// Pixel of a plane at column x, row counted from the picture's top.
std::uint32_t at(const Scene& s, const Plane& p, int x, int top) {
    return p[static_cast<std::size_t>(s.height - 1 - top) * s.width + x];
}

TEST(EffectGeometry, StartsWhereTheNameSays) {
    Scene s(100, 60);
    auto isTo = [&](const Plane& p, int x, int top) {
        return at(s, p, x, top) == at(s, s.to, x, top);
    };
    auto isFrom = [&](const Plane& p, int x, int top) {
        return at(s, p, x, top) == at(s, s.from, x, top);
    };
    Plane wipe = s.render(effectNamed("Wipe"), 0.3f);
    EXPECT_TRUE(isTo(wipe, 0, 30) && isFrom(wipe, 99, 30));
    Plane barn = s.render(effectNamed("Barn"), 0.3f);
    EXPECT_TRUE(isTo(barn, 50, 30) && isFrom(barn, 0, 30) && isFrom(barn, 99, 30));
    Plane iris = s.render(effectNamed("Iris"), 0.3f);
    EXPECT_TRUE(isTo(iris, 50, 30) && isFrom(iris, 0, 0));
    // The clock hand has passed 3 o'clock but not 6 o'clock.
    Plane radial = s.render(effectNamed("Radial Wipe"), 0.4f);
    EXPECT_TRUE(isTo(radial, 90, 30) && isFrom(radial, 10, 30) && isTo(radial, 60, 5));
    Plane gradient = s.render(effectNamed("Gradient Wipe"), 0.3f);
    EXPECT_TRUE(isTo(gradient, 50, 0) && isFrom(gradient, 50, 59));
    Plane inset = s.render(effectNamed("Inset"), 0.3f);
    EXPECT_TRUE(isTo(inset, 0, 0) && isFrom(inset, 99, 59) && isFrom(inset, 0, 59));
}

TEST(EffectGeometry, SlidePushAndStretchMoveThePictures) {
    Scene s(100, 10);
    Plane slide = s.render(effectNamed("Slide"), 0.25f);
    EXPECT_EQ(at(s, slide, 0, 4), at(s, s.to, 75, 4));
    EXPECT_EQ(at(s, slide, 25, 4), at(s, s.from, 25, 4));
    Plane push = s.render(effectNamed("Push"), 0.25f);
    EXPECT_EQ(at(s, push, 24, 4), at(s, s.to, 99, 4));
    EXPECT_EQ(at(s, push, 25, 4), at(s, s.from, 0, 4));
    EXPECT_EQ(at(s, push, 99, 4), at(s, s.from, 74, 4));
    Plane stretch = s.render(effectNamed("Stretch"), 0.5f);
    EXPECT_EQ(at(s, stretch, 0, 4), at(s, s.to, 1, 4));
    EXPECT_EQ(at(s, stretch, 49, 4), at(s, s.to, 99, 4));
    EXPECT_EQ(at(s, stretch, 99, 4), at(s, s.from, 99, 4));
}

TEST(EffectGeometry, RandomDissolveIsFixedAndEven) {
    Scene s(200, 100);
    const EffectEntry& dissolve = effectNamed("Random Dissolve");
    Plane first = s.render(dissolve, 0.5f);
    EXPECT_EQ(first, s.render(dissolve, 0.5f));
    std::size_t changed = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        changed += first[i] != s.from[i];
    EXPECT_NEAR(static_cast<double>(changed) / first.size(), 0.5, 0.05);
}

TEST(EffectGeometry, FadeMixesEachChannelByTheProgress) {
    Scene s(50, 4);
    for (int k = 0; k <= 24; ++k) {
        float p = static_cast<float>(k) / 24.0f;
        Plane out = s.render(effectNamed("Fade"), p);
        for (std::size_t i = 0; i < out.size(); ++i)
            for (int sh = 0; sh < 24; sh += 8) {
                double a = (s.from[i] >> sh) & 0xFF, b = (s.to[i] >> sh) & 0xFF;
                ASSERT_NEAR((out[i] >> sh) & 0xFF, a + (b - a) * p, 0.999) << "k=" << k;
            }
    }
}

// FNV-1a of a plane's pixels.
std::uint64_t checksum(const Plane& plane) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (std::uint32_t px : plane)
        for (int s = 0; s < 32; s += 8)
            h = (h ^ ((px >> s) & 0xFF)) * 0x100000001B3ull;
    return h;
}

// Frames of a given effect, progress and size are the same in every build and every version:
// a movie made again looks the same. A change here must be deliberate.
TEST(EffectGolden, EveryEffectRendersTheFramesItAlwaysRendered) {
    const std::map<std::string_view, std::uint64_t> expected = {
        {"Fade", 0xea957faf8b95af50ull},           {"Wipe", 0xb6110ccfa40fd76dull},
        {"Slide", 0x8e0d59f358630480ull},          {"Push", 0x73c8bddb421ad580ull},
        {"Barn", 0x425fa94a8660cf6full},           {"Blinds", 0x6a4b524cb4abd780ull},
        {"Checkerboard", 0x5f6bf32fb6e14180ull},   {"Iris", 0xd3735835c3ebc33bull},
        {"Inset", 0xa7deec83ce585a28ull},          {"Pixelate", 0x38149f927b5e7b0ull},
        {"RadialWipe", 0x7663bdc7962cb044ull},     {"RandomBars", 0x4ed7b0268aa30300ull},
        {"RandomDissolve", 0x9968341e2c4cf693ull}, {"Spiral", 0x89ef722eb7fd7a90ull},
        {"Stretch", 0xc58b5671edb336e0ull},        {"Strips", 0xba7ab5b9f5bfb0c4ull},
        {"Zigzag", 0x855070e4c1be4e58ull},         {"Wheel", 0x026de4aab291ce21ull},
        {"GradientWipe", 0x4fcb90a67031d4cull},
    };
    Scene scene(64, 48);
    for (const EffectEntry& e : builtinEffects()) {
        std::uint64_t sum = checksum(scene.render(e, 0.37f)) ^ checksum(scene.render(e, 0.81f));
        auto it = expected.find(e.registryName);
        EXPECT_EQ(it == expected.end() ? 0 : it->second, sum)
            << "{\"" << e.registryName << "\", 0x" << std::hex << sum << "},";
    }
}

TEST(EffectCatalogue, ListsEveryEffectOnceInTableOrderWithFadeFirst) {
    const EffectCatalogue& catalogue = builtinEffectCatalogue();
    ASSERT_EQ(catalogue.effects().size(), builtinEffects().size());
    EXPECT_EQ(catalogue.effects().size(), 19u);
    EXPECT_EQ(catalogue.effects()[0].displayName, "Fade");
    EXPECT_EQ(catalogue.effects()[0].classId, kFadeClassId);
    std::set<std::string> ids, names;
    for (const TransitionEffect& e : catalogue.effects()) {
        ids.insert(e.classId.toString());
        names.insert(e.displayName);
        EXPECT_EQ(findEffectRender(e.classId), effectNamed(e.displayName).render);
    }
    EXPECT_EQ(ids.size(), 19u);
    EXPECT_EQ(names.size(), 19u);
    EXPECT_EQ(findEffectRender(ClassId{}), nullptr);
}

TEST(EffectCatalogue, FindsNamesExactlyAndCaseSensitively) {
    const EffectCatalogue& catalogue = builtinEffectCatalogue();
    EXPECT_EQ(catalogue.FindEffect("Fade"), kFadeClassId);
    ASSERT_TRUE(catalogue.FindEffect("Radial Wipe"));
    EXPECT_NE(*catalogue.FindEffect("Radial Wipe"), kFadeClassId);
    for (const char* miss : {"fade", "FADE", "Fade ", " Fade", "RadialWipe", "radial wipe", ""})
        EXPECT_FALSE(catalogue.FindEffect(miss)) << miss;
}

TEST(EffectCatalogue, ListingLinesShowNameTabAndClassId) {
    std::vector<std::string> lines = effectListingLines(builtinEffectCatalogue());
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "  Fade\t{16B280C5-EE70-11D1-9066-00C04FD9189D}");
    EXPECT_EQ(lines[1], "  Wipe\t{DFB80B29-544B-4348-BCF9-720F7FA62DB7}");
    EXPECT_EQ(kEffectListHeader, "List of available transition effects (name, CLSID):");
}

}  // namespace
}  // namespace quillfen
