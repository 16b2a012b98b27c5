#pragma once
// The Script editor view: the live Script text with its undo history, Script colouring, line
// marks, bookmarks, the editor's keys and Find. It is also the ScriptLines the window parses.

#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "editor/script_colouring.h"
#include "editor/view/bookmarks.h"
#include "editor/view/editor_keys.h"
#include "editor/view/find_controller.h"
#include "editor/view/line_marks.h"
#include "imaging/font_colour_text.h"
#include "script/script_lines.h"

namespace quillfen {

class BookmarkMargin;
class ScriptHighlighter;

class CMyCrystalView : public QPlainTextEdit, public ScriptLines {
    Q_OBJECT
  public:
    /// An empty, unmodified view in the default colours and font ("FixedSys", weight 400).
    explicit CMyCrystalView(QWidget* parent = nullptr);
    ~CMyCrystalView() override;

    /// Replaces the whole text by `lines` (one document line each), with an empty undo history
    /// and the modified flag cleared.
    void setScript(const ScriptLines& lines);

    // ScriptLines: the document's lines as UTF-8, without line ends.
    int lineCount() const override;
    std::string_view line(int index) const override;

    /// Colours by index, as the colour table gives them for the current colours.
    ColourValue GetColor(int index) const;
    /// Takes the Script colours; the selection is drawn inverse and the margin keeps the
    /// system's scroll-bar colour.
    void setColours(const ScriptColours& colours);
    void setScriptFont(const LogFont& font);

    /// Moves the caret to `line`, makes it the only line with the current-line mark and
    /// scrolls it into view. Lines outside the text are ignored.
    void markCurrentLine(int line);
    /// The same for the error-line mark.
    void markErrorLine(int line);
    /// When `line` is within the text: moves the caret there and removes its error mark.
    void clearErrorMark(int line);
    std::optional<int> markedLine(LineMark mark) const { return marks_.line(mark); }

    bool isModified() const;
    /// Sets the document's modified flag; modifiedChanged follows when it changes.
    void setModified(bool modified);

    /// Inserts `text` at the caret (a selection stays in the text) and leaves the caret after
    /// it, scrolled into view. Returns false, changing nothing, when the view is read-only.
    bool insertTextAtCaret(const QString& text);

    /// Runs one command of the key table.
    void runCommand(const KeyCommand& command);

    Bookmarks& bookmarks() { return bookmarks_; }
    FindController& finder() { return finder_; }

    /// The first and last lines fully shown.
    int firstVisibleLine() const;
    int lastVisibleLine() const;

    /// Paints the bookmark margin; called by the margin widget.
    void paintMargin(QPaintEvent* event);

  signals:
    void runRequested();
    void checkRequested();
    void loadRequested();
    void saveRequested();
    /// The document's modified flag changed to `modified`.
    void modifiedChanged(bool modified);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void markLine(LineMark mark, int line);
    void moveCaretToLine(int line);
    void scrollToShow(int line, int firstBefore);
    void jumpToLine(std::optional<int> line);
    void refreshMarks();
    void applyPalette();
    int caretLine() const { return textCursor().blockNumber(); }
    int visibleLineCount() const;
    void runEditCommand(EditorCommand command);
    void runBookmarkCommand(const KeyCommand& command);

    ScriptColours colours_;
    std::unique_ptr<ScriptHighlighter> highlighter_;
    LineMarks marks_;
    Bookmarks bookmarks_;
    FindController finder_;
    BookmarkMargin* margin_;  // a child widget, owned by Qt's parent chain
    mutable std::vector<std::string> lineCache_;
    mutable bool lineCacheValid_ = false;
};

}  // namespace quillfen
