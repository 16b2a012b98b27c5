#pragma once
// Numbered bookmarks 0 to 9 and plain bookmarks; each follows its line through edits.

#include <QTextDocument>
#include <array>
#include <optional>
#include <vector>

#include "editor/view/line_anchor.h"

namespace quillfen {

class Bookmarks {
  public:
    static constexpr int kNumbered = 10;

    /// Bookmarks lines of `document` (not owned; must outlive this object).
    explicit Bookmarks(QTextDocument& document) : document_(document) {}

    /// Puts bookmark `number` on `line`, taking it from any other line; on the line that
    /// already holds it, removes it instead.
    void toggleNumbered(int number, int line);

    /// The line holding bookmark `number`, if set.
    std::optional<int> numberedLine(int number) const;

    /// The bookmark number shown for `line`, if any.
    std::optional<int> numberAt(int line) const;

    /// Removes every bookmark, numbered and plain.
    void clearAll() {
        numbered_ = {};
        plain_.clear();
    }

    void togglePlain(int line);
    void clearPlain() { plain_.clear(); }

    /// The plain bookmarks' lines, ascending, each once.
    std::vector<int> plainLines() const;

    /// The first plain bookmark after `line`, wrapping round to the first one.
    std::optional<int> nextPlain(int line) const;

    /// The last plain bookmark before `line`, wrapping round to the last one.
    std::optional<int> previousPlain(int line) const;

  private:
    QTextDocument& document_;
    std::array<std::optional<LineAnchor>, kNumbered> numbered_;
    std::vector<LineAnchor> plain_;
};

}  // namespace quillfen
