#include "editor/view/text_edits.h"

#include <QTextBlock>
#include <QTextDocument>

namespace quillfen {

namespace {

struct LineRange {
    int first;
    int last;
    bool endsAtLineStart;  // the selection stops at column 0 of the line after `last`
};

LineRange selectedLines(const QTextCursor& cursor) {
    const QTextDocument& document = *cursor.document();
    const QTextBlock first = document.findBlock(cursor.selectionStart());
    const QTextBlock end = document.findBlock(cursor.selectionEnd());
    const bool atStart =
        cursor.hasSelection() && end != first && cursor.selectionEnd() == end.position();
    return {first.blockNumber(), atStart ? end.blockNumber() - 1 : end.blockNumber(), atStart};
}

void selectLines(QTextCursor& cursor, const LineRange& range) {
    const QTextDocument& document = *cursor.document();
    const QTextBlock last = document.findBlockByNumber(range.last);
    const int end =
        range.endsAtLineStart ? last.next().position() : last.position() + last.length() - 1;
    cursor.setPosition(document.findBlockByNumber(range.first).position());
    cursor.setPosition(end, QTextCursor::KeepAnchor);
}

// How many characters of indentation to take from the start of `text`.
int indentToRemove(const QString& text, int tabWidth) {
    if (text.startsWith('\t')) return 1;
    int spaces = 0;
    while (spaces < tabWidth && spaces < text.size() && text.at(spaces) == ' ')
        ++spaces;
    return spaces;
}

}  // namespace

bool selectsSeveralLines(const QTextCursor& cursor) {
    if (!cursor.hasSelection()) return false;
    const QTextDocument& document = *cursor.document();
    return document.findBlock(cursor.selectionStart()) != document.findBlock(cursor.selectionEnd());
}

void indentLines(QTextCursor& cursor) {
    const LineRange range = selectedLines(cursor);
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (int line = range.first; line <= range.last; ++line) {
        edit.setPosition(cursor.document()->findBlockByNumber(line).position());
        edit.insertText(QStringLiteral("\t"));
    }
    edit.endEditBlock();
    selectLines(cursor, range);
}

void unindentLines(QTextCursor& cursor, int tabWidth) {
    const bool several = selectsSeveralLines(cursor);
    const LineRange range = selectedLines(cursor);
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (int line = range.first; line <= range.last; ++line) {
        const QTextBlock block = cursor.document()->findBlockByNumber(line);
        const int count = indentToRemove(block.text(), tabWidth);
        if (count == 0) continue;
        edit.setPosition(block.position());
        edit.setPosition(block.position() + count, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
    }
    edit.endEditBlock();
    if (several) selectLines(cursor, range);
}

void deleteWordBefore(QTextCursor& cursor) {
    if (!cursor.hasSelection())
        cursor.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

}  // namespace quillfen
