#pragma once
// Editing commands that act on lines or words rather than on single characters.

#include <QTextCursor>

namespace quillfen {

/// True when the selection of `cursor` reaches into a second line.
bool selectsSeveralLines(const QTextCursor& cursor);

/// Puts a tab at the start of every selected line (a line where the selection merely ends at
/// column 0 is left alone) as one undo step, and selects those whole lines.
void indentLines(QTextCursor& cursor);

/// Takes one tab, or up to `tabWidth` spaces, from the start of every selected line (or of
/// the caret's line when nothing spans lines) as one undo step.
void unindentLines(QTextCursor& cursor, int tabWidth);

/// Deletes the selection, or else the word (and blanks) before the caret.
void deleteWordBefore(QTextCursor& cursor);

}  // namespace quillfen
