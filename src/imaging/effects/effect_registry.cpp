#include "imaging/effects/effect_registry.h"

#include "imaging/effects/effect_renders.h"

namespace quillfen {
namespace {

using namespace effects;

std::vector<EffectEntry> makeTable() {
    // Made up once; never change a class id, only append new effects.
    return {
        {"Fade", "Fade", kFadeClassId, renderFade},
        {"Wipe",
         "Wipe",
         {0xDFB80B29, 0x544B, 0x4348, {0xBC, 0xF9, 0x72, 0x0F, 0x7F, 0xA6, 0x2D, 0xB7}},
         renderWipe},
        {"Slide",
         "Slide",
         {0x57A007C7, 0x6DFC, 0x4EDC, {0x9D, 0x4B, 0xC6, 0x58, 0xEF, 0x17, 0x12, 0xD0}},
         renderSlide},
        {"Push",
         "Push",
         {0xB223A511, 0xA8CE, 0x47B1, {0xBB, 0x04, 0x0F, 0x32, 0x87, 0xA8, 0x0D, 0x1E}},
         renderPush},
        {"Barn",
         "Barn",
         {0x5D618190, 0x3E47, 0x4BDA, {0xBC, 0xEF, 0x39, 0x7B, 0xF2, 0xA3, 0x9F, 0xBF}},
         renderBarn},
        {"Blinds",
         "Blinds",
         {0xB574B0B7, 0x468E, 0x4CA2, {0xB3, 0xC0, 0xE1, 0x72, 0x85, 0xDF, 0x75, 0xFD}},
         renderBlinds},
        {"Checkerboard",
         "Checkerboard",
         {0x8835E998, 0xAB4C, 0x465E, {0x92, 0x6D, 0xAB, 0x49, 0xEE, 0x11, 0x83, 0x76}},
         renderCheckerboard},
        {"Iris",
         "Iris",
         {0x8AD81C70, 0x1190, 0x4BF3, {0xBD, 0x30, 0xB3, 0x90, 0x83, 0x1B, 0x4C, 0x5E}},
         renderIris},
        {"Inset",
         "Inset",
         {0x3C15E0D2, 0x7733, 0x432A, {0xB9, 0x55, 0x72, 0x90, 0x8D, 0x93, 0x10, 0x10}},
         renderInset},
        {"Pixelate",
         "Pixelate",
         {0xA5B92A3E, 0x4430, 0x4D0B, {0xB8, 0x1A, 0x8D, 0xE6, 0xC1, 0xEF, 0x23, 0x3E}},
         renderPixelate},
        {"Radial Wipe",
         "RadialWipe",
         {0x5ED405DF, 0xE2FD, 0x4AB9, {0x8B, 0xE4, 0xA7, 0x38, 0xE2, 0xBE, 0xC9, 0x26}},
         renderRadialWipe},
        {"Random Bars",
         "RandomBars",
         {0xC3DCEB4C, 0x73F7, 0x4FE4, {0xBA, 0x9A, 0x7F, 0xE9, 0x12, 0x2D, 0xB5, 0xDE}},
         renderRandomBars},
        {"Random Dissolve",
         "RandomDissolve",
         {0xD95FF336, 0xECA0, 0x4DDC, {0xA3, 0x9C, 0x62, 0x1D, 0xE4, 0x7F, 0xD2, 0x0E}},
         renderRandomDissolve},
        {"Spiral",
         "Spiral",
         {0x6583FE86, 0x80A1, 0x4FB8, {0xAA, 0xF8, 0x69, 0xA9, 0x3F, 0x4F, 0x42, 0xE6}},
         renderSpiral},
        {"Stretch",
         "Stretch",
         {0x66C47F13, 0xE249, 0x4302, {0x8F, 0x4F, 0x2B, 0xCA, 0xA0, 0xF7, 0x79, 0x0F}},
         renderStretch},
        {"Strips",
         "Strips",
         {0xD9D8DA23, 0x9332, 0x4E6A, {0x8F, 0x1A, 0x4E, 0x3E, 0x68, 0x59, 0x41, 0xCB}},
         renderStrips},
        {"Zigzag",
         "Zigzag",
         {0x84B517C5, 0x859B, 0x40F1, {0xBF, 0xD3, 0xAF, 0x95, 0x44, 0xD3, 0x17, 0x6A}},
         renderZigzag},
        {"Wheel",
         "Wheel",
         {0x6F9B6006, 0x32EB, 0x43DD, {0xB7, 0x27, 0xBF, 0x68, 0x3F, 0x5F, 0x95, 0x78}},
         renderWheel},
        {"Gradient Wipe",
         "GradientWipe",
         {0x46BE8A1E, 0x6974, 0x4F97, {0x90, 0x15, 0xEE, 0x0A, 0x63, 0x69, 0x9E, 0xC3}},
         renderGradientWipe},
    };
}

EffectCatalogue makeCatalogue() {
    std::vector<TransitionEffect> effects;
    for (const EffectEntry& e : builtinEffects()) {
        // The first entry of a class id wins, so a duplicated id can never list twice.
        bool seen = false;
        for (const TransitionEffect& t : effects)
            seen = seen || t.classId == e.classId;
        if (!seen)
            effects.push_back({e.classId, std::string(e.registryName), std::string(e.displayName)});
    }
    return EffectCatalogue(std::move(effects));
}

}  // namespace

const std::vector<EffectEntry>& builtinEffects() {
    static const std::vector<EffectEntry> table = makeTable();
    return table;
}

const EffectCatalogue& builtinEffectCatalogue() {
    static const EffectCatalogue catalogue = makeCatalogue();
    return catalogue;
}

EffectRender findEffectRender(const ClassId& classId) {
    for (const EffectEntry& e : builtinEffects())
        if (e.classId == classId) return e.render;
    return nullptr;
}

std::vector<std::string> effectListingLines(const EffectCatalogue& catalogue) {
    std::vector<std::string> lines;
    for (const TransitionEffect& e : catalogue.effects())
        lines.push_back("  " + e.displayName + "\t" + e.classId.toString());
    return lines;
}

}  // namespace quillfen
