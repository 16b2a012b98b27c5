#include "editor/view/line_marks.h"

namespace quillfen {

namespace {

QTextEdit::ExtraSelection highlight(QTextDocument& document, int line, const QColor& background) {
    QTextEdit::ExtraSelection selection;
    // A full-width highlight given as a bare position covers the whole line, text and line end,
    // so it reaches the right edge; a selection of the text alone would stop where the text
    // does.
    selection.cursor = QTextCursor(document.findBlockByNumber(line));
    selection.format.setBackground(background);
    selection.format.setForeground(Qt::white);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    return selection;
}

}  // namespace

void LineMarks::set(LineMark mark, int line) {
    slot(mark).emplace(document_, line);
}

void LineMarks::clear(LineMark mark, int line) {
    auto& anchor = slot(mark);
    if (anchor && anchor->line() == line) anchor.reset();
}

std::optional<int> LineMarks::line(LineMark mark) const {
    const auto& anchor = mark == LineMark::Current ? current_ : error_;
    if (!anchor) return std::nullopt;
    return anchor->line();
}

QList<QTextEdit::ExtraSelection> LineMarks::selections() const {
    QList<QTextEdit::ExtraSelection> list;
    if (current_) list.append(highlight(document_, current_->line(), QColor(0, 128, 0)));
    if (error_) list.append(highlight(document_, error_->line(), QColor(255, 0, 0)));
    return list;
}

}  // namespace quillfen
