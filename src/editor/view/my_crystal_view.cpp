#include "editor/view/my_crystal_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

#include "editor/view/bookmark_margin.h"
#include "editor/view/editor_settings.h"
#include "editor/view/script_highlighter.h"
#include "editor/view/text_edits.h"

namespace quillfen {

namespace {

constexpr int kTabWidth = 4;

LogFont defaultViewFont() {
    LogFont font;
    font.faceName = "FixedSys";
    font.weight = 400;
    return font;
}

}  // namespace

CMyCrystalView::CMyCrystalView(QWidget* parent)
    : QPlainTextEdit(parent),
      highlighter_(std::make_unique<ScriptHighlighter>(document(), colours_)),
      marks_(*document()),
      bookmarks_(*document()),
      finder_(*this),
      margin_(new BookmarkMargin(*this)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setColours(colours_);
    setScriptFont(defaultViewFont());
    connect(document(), &QTextDocument::modificationChanged, this,
            &CMyCrystalView::modifiedChanged);
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        lineCacheValid_ = false;
        refreshMarks();
    });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            margin_->scroll(0, dy);
        } else {
            margin_->update(0, rect.y(), margin_->width(), rect.height());
        }
    });
}

CMyCrystalView::~CMyCrystalView() {
    // Removing the highlighter touches the document; its signals must not reach the marks
    // and bookmarks, which go before the highlighter does.
    document()->disconnect(this);
    highlighter_.reset();
}

void CMyCrystalView::setScript(const ScriptLines& lines) {
    QStringList texts;
    for (int i = 0; i < lines.lineCount(); ++i) {
        const std::string_view text = lines.line(i);
        texts.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    marks_.clearAll();
    bookmarks_.clearAll();
    setPlainText(texts.join(QLatin1Char('\n')));  // also empties the undo history
    document()->setModified(false);
    refreshMarks();
}

int CMyCrystalView::lineCount() const {
    return document()->blockCount();
}

std::string_view CMyCrystalView::line(int index) const {
    if (!lineCacheValid_) {
        lineCache_.clear();
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
            lineCache_.push_back(block.text().toStdString());
        lineCacheValid_ = true;
    }
    if (index < 0 || index >= static_cast<int>(lineCache_.size())) return {};
    return lineCache_[static_cast<std::size_t>(index)];
}

ColourValue CMyCrystalView::GetColor(int index) const {
    return quillfen::GetColor(index, colours_);
}

void CMyCrystalView::setColours(const ScriptColours& colours) {
    colours_ = colours;
    const QColor margin = QApplication::palette().color(QPalette::Button);
    colours_.selectionMargin = makeColour(margin.red(), margin.green(), margin.blue());
    highlighter_->setColours(colours_);
    applyPalette();
    margin_->update();
}

void CMyCrystalView::applyPalette() {
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(GetColor(kColourBackground)));
    p.setColor(QPalette::Text, toQColor(GetColor(kColourNormalText)));
    // Inverse selection, also while the view has no focus.
    p.setColor(QPalette::Highlight, toQColor(GetColor(kColourSelectionBackground)));
    p.setColor(QPalette::HighlightedText, toQColor(GetColor(kColourSelectedText)));
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               toQColor(GetColor(kColourSelectionBackground)));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               toQColor(GetColor(kColourSelectedText)));
    setPalette(p);
}

void CMyCrystalView::setScriptFont(const LogFont& font) {
    setFont(toQFont(font));
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * kTabWidth);
    if (overwriteMode()) setCursorWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')));
    setViewportMargins(margin_->sizeHint().width(), 0, 0, 0);
}

void CMyCrystalView::markCurrentLine(int line) {
    markLine(LineMark::Current, line);
}

void CMyCrystalView::markErrorLine(int line) {
    markLine(LineMark::Error, line);
}

void CMyCrystalView::clearErrorMark(int line) {
    if (line < 0 || line >= lineCount()) return;
    moveCaretToLine(line);
    marks_.clear(LineMark::Error, line);
    refreshMarks();
}

void CMyCrystalView::markLine(LineMark mark, int line) {
    if (line < 0 || line >= lineCount()) return;
    const int first = firstVisibleLine();
    const int last = lastVisibleLine();
    moveCaretToLine(line);
    marks_.set(mark, line);
    refreshMarks();
    // Moving the caret may have scrolled already; the rule works from the earlier view.
    int target = first;
    if (line < first) {
        target = line;
    } else if (line > last) {
        target = line - (visibleLineCount() - 1);
    }
    verticalScrollBar()->setValue(std::max(0, target));
}

void CMyCrystalView::moveCaretToLine(int line) {
    setTextCursor(QTextCursor(document()->findBlockByNumber(line)));
}

void CMyCrystalView::jumpToLine(std::optional<int> line) {
    if (!line || *line >= lineCount()) return;
    moveCaretToLine(*line);
    ensureCursorVisible();
}

void CMyCrystalView::refreshMarks() {
    setExtraSelections(marks_.selections());
}

int CMyCrystalView::firstVisibleLine() const {
    return firstVisibleBlock().blockNumber();
}

int CMyCrystalView::visibleLineCount() const {
    const QTextBlock first = firstVisibleBlock();
    const double height = blockBoundingRect(first).height();
    const double top = blockBoundingGeometry(first).translated(contentOffset()).top();
    if (height <= 0) return 1;
    return std::max(1, static_cast<int>((viewport()->height() - top) / height));
}

int CMyCrystalView::lastVisibleLine() const {
    return std::min(lineCount() - 1, firstVisibleLine() + visibleLineCount() - 1);
}

bool CMyCrystalView::isModified() const {
    return document()->isModified();
}

void CMyCrystalView::setModified(bool modified) {
    document()->setModified(modified);
}

bool CMyCrystalView::insertTextAtCaret(const QString& text) {
    if (isReadOnly()) return false;
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
    return true;
}

bool CMyCrystalView::event(QEvent* event) {
    // Claim the keys before any window shortcut: the editor's own keys and plain typing,
    // Tab, Enter and Escape. Alt and Ctrl keys the editor does not use stay with the window.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier));
        if (plain || commandForKey(key->key(), key->modifiers())) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void CMyCrystalView::keyPressEvent(QKeyEvent* event) {
    if (const auto command = commandForKey(event->key(), event->modifiers())) {
        runCommand(*command);
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
    // Enter and Escape must never reach the window (a default button, closing).
    event->accept();
}

bool CMyCrystalView::focusNextPrevChild(bool) {
    return false;  // Tab indents; it never moves the focus out of the editor
}

void CMyCrystalView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

void CMyCrystalView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    margin_->setGeometry(
        QRect(area.left(), area.top(), margin_->sizeHint().width(), area.height()));
}

void CMyCrystalView::runCommand(const KeyCommand& command) {
    switch (command.command) {
        case EditorCommand::Run:
            emit runRequested();
            break;
        case EditorCommand::CheckScript:
            emit checkRequested();
            break;
        case EditorCommand::Load:
            emit loadRequested();
            break;
        case EditorCommand::Save:
            emit saveRequested();
            break;
        case EditorCommand::Find:
            finder_.find();
            break;
        case EditorCommand::FindNext:
            finder_.findNext(false);
            break;
        case EditorCommand::FindPrevious:
            finder_.findNext(true);
            break;
        case EditorCommand::GoToBookmark:
        case EditorCommand::SetBookmark:
        case EditorCommand::TogglePlainBookmark:
        case EditorCommand::NextBookmark:
        case EditorCommand::PreviousBookmark:
        case EditorCommand::ClearBookmarks:
            runBookmarkCommand(command);
            break;
        default:
            runEditCommand(command.command);
    }
}

void CMyCrystalView::runEditCommand(EditorCommand command) {
    QTextCursor cursor = textCursor();
    const bool editable = !isReadOnly();
    switch (command) {
        case EditorCommand::Undo:
            undo();
            break;
        case EditorCommand::Redo:
            redo();
            break;
        case EditorCommand::Cut:
            cut();
            break;
        case EditorCommand::Copy:
            copy();
            break;
        case EditorCommand::Paste:
            paste();
            break;
        case EditorCommand::SelectAll:
            selectAll();
            break;
        case EditorCommand::DeleteWordBefore:
            if (editable) deleteWordBefore(cursor);
            break;
        case EditorCommand::Indent:
            if (editable && selectsSeveralLines(cursor)) {
                indentLines(cursor);
            } else if (editable) {
                cursor.insertText(QStringLiteral("\t"));
            }
            break;
        case EditorCommand::Unindent:
            if (editable) unindentLines(cursor, kTabWidth);
            break;
        case EditorCommand::ToggleOverwrite:
            setOverwriteMode(!overwriteMode());
            // A block caret shows overwrite mode.
            setCursorWidth(overwriteMode() ? fontMetrics().horizontalAdvance(QLatin1Char('0')) : 1);
            return;
        case EditorCommand::ScrollLineUp:
            verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
            return;
        case EditorCommand::ScrollLineDown:
            verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
            return;
        default:
            return;
    }
    if (command == EditorCommand::DeleteWordBefore || command == EditorCommand::Indent ||
        command == EditorCommand::Unindent) {
        setTextCursor(cursor);
    }
}

void CMyCrystalView::runBookmarkCommand(const KeyCommand& command) {
    switch (command.command) {
        case EditorCommand::GoToBookmark:
            jumpToLine(bookmarks_.numberedLine(command.number));
            break;
        case EditorCommand::SetBookmark:
            bookmarks_.toggleNumbered(command.number, caretLine());
            break;
        case EditorCommand::TogglePlainBookmark:
            bookmarks_.togglePlain(caretLine());
            break;
        case EditorCommand::NextBookmark:
            jumpToLine(bookmarks_.nextPlain(caretLine()));
            break;
        case EditorCommand::PreviousBookmark:
            jumpToLine(bookmarks_.previousPlain(caretLine()));
            break;
        case EditorCommand::ClearBookmarks:
            bookmarks_.clearPlain();
            break;
        default:
            break;
    }
    margin_->update();
}

void CMyCrystalView::paintMargin(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), toQColor(colours_.selectionMargin));
    const std::vector<int> plain = bookmarks_.plainLines();
    const int width = margin_->width();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > event->rect().bottom()) break;
        const int line = block.blockNumber();
        const QRect cell(0, static_cast<int>(box.top()), width, static_cast<int>(box.height()));
        if (const auto number = bookmarks_.numberAt(line)) {
            painter.setPen(toQColor(colours_.keyword));
            painter.drawText(cell, Qt::AlignCenter, QString::number(*number));
        } else if (std::binary_search(plain.begin(), plain.end(), line)) {
            painter.setBrush(toQColor(colours_.keyword));
            painter.setPen(Qt::NoPen);
            const int size = std::min(width, cell.height()) / 2;
            painter.drawRoundedRect(
                QRect(0, 0, size, size).translated(cell.center() - QPoint(size / 2, size / 2)), 2,
                2);
        }
    }
}

}  // namespace quillfen
