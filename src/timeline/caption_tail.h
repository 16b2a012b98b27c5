#pragma once
// The position, font and style that a caption-only Text borrows from the last Text that gave
// them. One per program run, kept across builds.

#include <string>

namespace quillfen {

class CaptionTail {
  public:
    /// The remembered text from the first "|" on, empty until a Text gave one.
    const std::string& text() const { return text_; }
    void remember(std::string tail) { text_ = std::move(tail); }
    void clear() { text_.clear(); }

  private:
    std::string text_;
};

/// The program's one remembered tail.
CaptionTail& programCaptionTail();

}  // namespace quillfen
