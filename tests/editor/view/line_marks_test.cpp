#include "view_fixture.h"

namespace quillfen {
namespace {

using MarksTest = ViewTest;

TEST_F(MarksTest, EachMarkIsOnOneLineAndMovesTheCaret) {
    fill(20);
    view->markCurrentLine(3);
    EXPECT_EQ(caretLine(), 3);
    view->markErrorLine(5);
    EXPECT_EQ(caretLine(), 5);
    view->markCurrentLine(4);
    EXPECT_EQ(view->markedLine(LineMark::Current), 4);
    EXPECT_EQ(view->markedLine(LineMark::Error), 5);

    const auto selections = view->extraSelections();
    ASSERT_EQ(selections.size(), 2);
    EXPECT_EQ(selections[0].cursor.blockNumber(), 4);
    EXPECT_EQ(selections[0].format.background().color(), QColor(0, 128, 0));
    EXPECT_EQ(selections[1].cursor.blockNumber(), 5);
    EXPECT_EQ(selections[1].format.background().color(), QColor(255, 0, 0));
    for (const auto& s : selections) {
        EXPECT_TRUE(s.format.boolProperty(QTextFormat::FullWidthSelection));
        EXPECT_EQ(s.format.foreground().color(), QColor(Qt::white));
        // A bare position: the view then paints the whole line, right edge included.
        EXPECT_FALSE(s.cursor.hasSelection());
        EXPECT_TRUE(s.cursor.atBlockStart());
    }
}

TEST_F(MarksTest, ScrollingRule) {
    fill(200);
    const int shown = view->lastVisibleLine() - view->firstVisibleLine() + 1;
    ASSERT_GT(shown, 2);
    ASSERT_LT(shown, 100);

    // Below the last visible line: it becomes the last.
    view->markCurrentLine(100);
    EXPECT_EQ(view->lastVisibleLine(), 100);
    EXPECT_GT(view->firstVisibleLine(), 100 - shown - 1);

    // Visible: no scrolling, even at the edges.
    const int first = view->firstVisibleLine();
    view->markErrorLine(first);
    view->markCurrentLine(first + shown - 1);
    EXPECT_EQ(view->firstVisibleLine(), first);

    // Above the first visible line: it becomes the first.
    view->markErrorLine(10);
    EXPECT_EQ(view->firstVisibleLine(), 10);
}

TEST_F(MarksTest, ClearErrorMark) {
    fill(10);
    view->markErrorLine(6);
    view->clearErrorMark(-1);
    view->clearErrorMark(10);
    EXPECT_EQ(view->markedLine(LineMark::Error), 6);
    EXPECT_EQ(caretLine(), 6);

    // Another line: the caret moves, the mark stays.
    view->clearErrorMark(2);
    EXPECT_EQ(caretLine(), 2);
    EXPECT_EQ(view->markedLine(LineMark::Error), 6);

    view->clearErrorMark(6);
    EXPECT_EQ(caretLine(), 6);
    EXPECT_FALSE(view->markedLine(LineMark::Error));
    EXPECT_TRUE(view->extraSelections().isEmpty());
}

TEST_F(MarksTest, LinesOutsideTheTextAreIgnored) {
    fill(5);
    view->markErrorLine(2);
    view->markErrorLine(5);
    view->markCurrentLine(-1);
    EXPECT_EQ(view->markedLine(LineMark::Error), 2);
    EXPECT_FALSE(view->markedLine(LineMark::Current));
}

TEST_F(MarksTest, MarkFollowsItsLineAndSetScriptClearsIt) {
    fill(5);
    view->markErrorLine(3);
    QTextCursor top(view->document());
    top.insertText("new first\n");
    EXPECT_EQ(view->markedLine(LineMark::Error), 4);
    // The highlight still covers the whole line after it was edited.
    QTextCursor inLine(view->document()->findBlockByNumber(4));
    inLine.movePosition(QTextCursor::EndOfBlock);
    inLine.insertText(" more");
    EXPECT_EQ(view->extraSelections()[0].cursor.block().text().toStdString(), "line 3 more");

    struct Two : ScriptLines {
        int lineCount() const override { return 2; }
        std::string_view line(int i) const override { return i == 0 ? "a" : "b"; }
    } two;
    view->setScript(two);
    EXPECT_FALSE(view->markedLine(LineMark::Error));
    EXPECT_EQ(text().toStdString(), "a\nb");
}

}  // namespace
}  // namespace quillfen
