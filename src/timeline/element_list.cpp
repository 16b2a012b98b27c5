#include "timeline/element_list.h"

#include <climits>

#include "script/element_kind.h"
#include "timeline/two_input_element.h"

namespace quillfen {
namespace {

constexpr std::string_view kTwoTransitionsText = "Error: cannot have two consecutive transitions.";

SourceElement* nextNonOverlay(ElementList& elements, std::size_t after) {
    for (std::size_t i = after + 1; i < elements.size(); ++i) {
        if (!isOverlayKind(elements[i]->kind)) return elements[i].get();
    }
    return nullptr;
}

}  // namespace

std::optional<LinkError> linkElements(ElementList& elements) {
    SourceElement* last = nullptr;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SourceElement& element = *elements[i];
        if (isTwoInputKind(element.kind)) {
            auto& twoInput = static_cast<TwoInputElement&>(element);
            SourceElement* next = nextNonOverlay(elements, i);
            twoInput.prev = last;
            twoInput.next = next;
            if (last) last->lendFrames(element.nbFrames());
            if (next) next->lendFrames(element.nbFrames());
            if (!last || !next)
                return LinkError{element.lineNum, std::string(kIllegalPositionText)};
            // Such a neighbour would never hand over a frame.
            if (isTwoInputKind(last->kind) || isTwoInputKind(next->kind)) {
                return LinkError{element.lineNum, std::string(kTwoTransitionsText)};
            }
        }
        if (!isOverlayKind(element.kind)) last = &element;
    }
    return std::nullopt;
}

std::int64_t countFrames(ElementList& elements) {
    std::int64_t total = 0;
    for (const std::unique_ptr<SourceElement>& element : elements) {
        element->placeAt(total > INT_MAX ? INT_MAX : static_cast<int>(total));
        total += element->nbAVIFrames();
    }
    return total;
}

}  // namespace quillfen
