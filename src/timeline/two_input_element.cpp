#include "timeline/two_input_element.h"

namespace quillfen {

TwoInputElement::TwoInputElement(int lineIndex, const MovieSettings& movieSettings)
    : SourceElement(lineIndex, movieSettings) {
    kind = ElementKind::None;
}

void TwoInputElement::reset() {
    SourceElement::reset();
    kind = ElementKind::None;
    prev = next = nullptr;
    prevIsStill = nextIsStill = false;
}

std::string TwoInputElement::prevLineText() const {
    return prev ? std::to_string(prev->lineNum) : std::string();
}

std::string TwoInputElement::nextLineText() const {
    return next ? std::to_string(next->lineNum) : std::string();
}

std::vector<const SourceElement*> TwoInputElement::inputs() const {
    std::vector<const SourceElement*> linked;
    if (prev) linked.push_back(prev);
    if (next) linked.push_back(next);
    return linked;
}

}  // namespace quillfen
