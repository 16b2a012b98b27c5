#pragma once

#include <cstdint>

namespace quillfen {

/// The kinds of timeline Element; the numbers appear in icons (23 + kind) and dumps.
enum class ElementKind : std::int32_t {
    None = 0,  // a two-input Element before its derived class sets its kind
    Source = 1,
    Transition = 2,
    Kbe = 3,
    Sequence = 4,
    Frame = 5,
    Video = 6,
    Pip = 7,
    Text = 8,
};

constexpr bool isStillKind(ElementKind k) {
    return k == ElementKind::Source || k == ElementKind::Frame;
}
constexpr bool isMovingKind(ElementKind k) {
    return k == ElementKind::Kbe || k == ElementKind::Sequence || k == ElementKind::Video;
}
constexpr bool isTwoInputKind(ElementKind k) {
    return k == ElementKind::Transition || k == ElementKind::Pip;
}
constexpr bool isOverlayKind(ElementKind k) {
    return k == ElementKind::Text;
}

}  // namespace quillfen
