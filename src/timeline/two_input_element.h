#pragma once
// The base of the kinds that combine their two neighbours' frames (Transition, PIP).

#include <string>
#include <vector>

#include "timeline/source_element.h"

namespace quillfen {

class TwoInputElement : public SourceElement {
  public:
    void reset() override;
    /// The linked neighbours, those that are set.
    std::vector<const SourceElement*> inputs() const override;

    /// Neighbours set by linking; not owned, none until then.
    SourceElement* prev = nullptr;
    SourceElement* next = nullptr;
    bool prevIsStill = false;
    bool nextIsStill = false;

  protected:
    TwoInputElement(int lineIndex, const MovieSettings& settings);

    /// "#<line of prev>" and "#<line of next>" text, each empty while unlinked.
    std::string prevLineText() const;
    std::string nextLineText() const;
};

}  // namespace quillfen
