#pragma once
// The catalogue of transition effects: display name and fixed class id per effect, built once
// from the effect table. The parser and the Transition element look effects up by name.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

/// A 128-bit class identifier, written "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
struct ClassId {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend bool operator==(const ClassId&, const ClassId&) = default;
    /// Registry form with upper-case hexadecimal digits.
    std::string toString() const;
};

/// The cross-dissolve, the effect used when a name is not found.
inline constexpr ClassId kFadeClassId{
    0x16B280C5, 0xEE70, 0x11D1, {0x90, 0x66, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0x9D}};

struct TransitionEffect {
    ClassId classId;
    std::string registryName;
    std::string displayName;
};

class EffectCatalogue {
  public:
    EffectCatalogue() = default;
    explicit EffectCatalogue(std::vector<TransitionEffect> effects)
        : effects_(std::move(effects)) {}

    const std::vector<TransitionEffect>& effects() const { return effects_; }

    /// The class id of the first effect whose display name equals `name` exactly
    /// (case-sensitive), or none.
    std::optional<ClassId> FindEffect(std::string_view name) const {
        for (const TransitionEffect& e : effects_) {
            if (e.displayName == name) return e.classId;
        }
        return std::nullopt;
    }

  private:
    std::vector<TransitionEffect> effects_;
};

}  // namespace quillfen
