#pragma once
// The built-in effect table: display name, registry name, fixed class id and render function of
// every effect, in the order they are listed. Class ids never change between versions, so
// Scripts and movies made with one version render alike with the next.

#include <string>
#include <string_view>
#include <vector>

#include "imaging/effects/effect_catalogue.h"
#include "imaging/effects/effect_kernel.h"

namespace quillfen {

struct EffectEntry {
    std::string_view displayName;
    std::string_view registryName;
    ClassId classId;
    EffectRender render;
};

/// Every built-in effect in table order (Fade first).
const std::vector<EffectEntry>& builtinEffects();

/// The catalogue of the built-in effects, built from the table on first use and shared for the
/// life of the program. Its rejected count is 0.
const EffectCatalogue& builtinEffectCatalogue();

/// The render function of the effect with that class id, or nullptr when no effect has it.
EffectRender findEffectRender(const ClassId& classId);

/// The header line of the effect listing.
inline constexpr std::string_view kEffectListHeader =
    "List of available transition effects (name, CLSID):";

/// The listing lines after the header, one per effect in catalogue order: two spaces, the
/// display name, a tab and the class id in registry form.
std::vector<std::string> effectListingLines(const EffectCatalogue& catalogue);

}  // namespace quillfen
