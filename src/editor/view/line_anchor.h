#pragma once
// A line of a document that follows its text as lines are inserted or removed above it.

#include <QTextBlock>
#include <QTextCursor>

namespace quillfen {

class LineAnchor {
  public:
    /// Anchors the start of `line` of `document` (not owned; must outlive the anchor).
    LineAnchor(QTextDocument& document, int line) : cursor_(document.findBlockByNumber(line)) {}

    /// The line now holding the anchored text.
    int line() const { return cursor_.blockNumber(); }

  private:
    QTextCursor cursor_;
};

}  // namespace quillfen
