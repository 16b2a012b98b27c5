#include "timeline/fit_settings.h"

#include <gtest/gtest.h>

namespace quillfen {
namespace {

TEST(FitSettingsTest, ScriptCodesBecomeKernelParameters) {
    MovieSettings settings;
    FitOptions fit = fitOptionsFor(settings);
    EXPECT_TRUE(fit.size.empty());  // no `resize`: pictures keep their size
    EXPECT_EQ(fit.mode, ResizeMode::letterbox);
    EXPECT_EQ(fit.anchor, CropAnchor::none);
    EXPECT_TRUE(fit.stereoPairs);

    settings.resizeWidth = 1280;
    settings.resizeHeight = 720;
    settings.imageOptions.background = kNoColour;
    const std::pair<int, ResizeMode> modes[] = {{0, ResizeMode::fit},
                                                {1, ResizeMode::letterbox},
                                                {2, ResizeMode::stretch},
                                                {3, ResizeMode::fit}};
    for (auto [code, mode] : modes) {
        settings.imageOptions.resizeMode = code;
        EXPECT_EQ(fitOptionsFor(settings).mode, mode) << code;
    }
    const std::pair<char, CropAnchor> anchors[] = {{'0', CropAnchor::none},
                                                   {'B', CropAnchor::top},
                                                   {'C', CropAnchor::middle},
                                                   {'x', CropAnchor::bottom}};
    for (auto [code, anchor] : anchors) {
        settings.imageOptions.crop = code;
        EXPECT_EQ(fitOptionsFor(settings).anchor, anchor) << code;
    }
    fit = fitOptionsFor(settings);
    EXPECT_EQ(fit.size, (FrameSize{1280, 720}));
    EXPECT_EQ(fit.background, 0xFFFFFFu);  // `none` keeps only its colour bits: white bands

    // Side by side into half the width: stretched there, and not converted afterwards.
    settings.convert = 20;
    settings.imageOptions.transpose = 1;
    fit = fitOptionsFor(settings);
    EXPECT_EQ(fit.size, (FrameSize{640, 720}));
    EXPECT_EQ(fit.mode, ResizeMode::stretch);
    StereoOptions stereo = stereoOptionsFor(settings);
    EXPECT_EQ(stereo.conversion, StereoConversion::halfWidth);
    EXPECT_TRUE(stereo.swapViews);
    settings.convert = 12;
    EXPECT_EQ(stereoOptionsFor(settings).conversion, StereoConversion::mixedRedCyan);
}

}  // namespace
}  // namespace quillfen
