#pragma once
// The current-line and error-line marks: at most one line carries each, drawn across the
// whole width of the view.

#include <QTextEdit>
#include <optional>

#include "editor/view/line_anchor.h"

namespace quillfen {

enum class LineMark { Current, Error };

class LineMarks {
  public:
    /// Marks lines of `document` (not owned; must outlive this object).
    explicit LineMarks(QTextDocument& document) : document_(document) {}

    /// Puts `mark` on `line`, taking it from any other line.
    void set(LineMark mark, int line);

    /// Removes `mark` when `line` carries it.
    void clear(LineMark mark, int line);

    /// Removes both marks.
    void clearAll() {
        current_.reset();
        error_.reset();
    }

    /// The line carrying `mark`, if any.
    std::optional<int> line(LineMark mark) const;

    /// The highlights to draw: white text on dark green (current) or red (error, on top).
    QList<QTextEdit::ExtraSelection> selections() const;

  private:
    std::optional<LineAnchor>& slot(LineMark mark) {
        return mark == LineMark::Current ? current_ : error_;
    }

    QTextDocument& document_;
    std::optional<LineAnchor> current_;
    std::optional<LineAnchor> error_;
};

}  // namespace quillfen
