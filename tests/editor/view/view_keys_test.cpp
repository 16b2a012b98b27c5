#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "view_fixture.h"

namespace quillfen {
namespace {

using KeysTest = ViewTest;

TEST_F(KeysTest, ForwardedKeysEmitTheirSignals) {
    QSignalSpy run(view.get(), &CMyCrystalView::runRequested);
    QSignalSpy check(view.get(), &CMyCrystalView::checkRequested);
    QSignalSpy load(view.get(), &CMyCrystalView::loadRequested);
    QSignalSpy save(view.get(), &CMyCrystalView::saveRequested);
    QTest::keyClick(view.get(), Qt::Key_F5);
    QTest::keyClick(view.get(), Qt::Key_F6);
    QTest::keyClick(view.get(), Qt::Key_F6);
    QTest::keyClick(view.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(run.count(), 1);
    EXPECT_EQ(check.count(), 2);
    EXPECT_EQ(load.count(), 1);
    EXPECT_EQ(save.count(), 1);
    EXPECT_TRUE(text().isEmpty());
}

TEST_F(KeysTest, KeyTableCoversTheAlternativeKeys) {
    using C = EditorCommand;
    EXPECT_EQ(commandForKey(Qt::Key_Backspace, Qt::AltModifier), KeyCommand{C::Undo});
    EXPECT_EQ(commandForKey(Qt::Key_Delete, Qt::ShiftModifier), KeyCommand{C::Cut});
    EXPECT_EQ(commandForKey(Qt::Key_Insert, Qt::ControlModifier), KeyCommand{C::Copy});
    EXPECT_EQ(commandForKey(Qt::Key_Insert, Qt::ShiftModifier), KeyCommand{C::Paste});
    EXPECT_EQ(commandForKey(Qt::Key_7, Qt::ControlModifier | Qt::KeypadModifier),
              (KeyCommand{C::GoToBookmark, 7}));
    EXPECT_EQ(commandForKey(Qt::Key_3, Qt::AltModifier), (KeyCommand{C::SetBookmark, 3}));
    EXPECT_FALSE(commandForKey(Qt::Key_3, Qt::NoModifier));
    EXPECT_FALSE(commandForKey(Qt::Key_Delete, Qt::NoModifier));
}

TEST_F(KeysTest, UndoRedoAndClipboardKeys) {
    QTest::keyClicks(view.get(), "abc");
    QTest::keyClick(view.get(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_TRUE(text().isEmpty());
    QTest::keyClick(view.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text().toStdString(), "abc");

    QTest::keyClick(view.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(text().isEmpty());
    QTest::keyClick(view.get(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text().toStdString(), "abcabc");
}

TEST_F(KeysTest, TabIndentsAndShiftTabUnindentsSelectedLines) {
    fill(4);
    select(1, 2, 3, 0);  // ends at column 0 of line 3: lines 1 and 2
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(text().toStdString(), "line 0\n\tline 1\n\tline 2\nline 3");
    EXPECT_EQ(view->textCursor().selectedText().toStdString(), "\tline 1\u2029\tline 2\u2029");
    QTest::keyClick(view.get(), Qt::Key_Tab);
    QTest::keyClick(view.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(text().toStdString(), "line 0\n\tline 1\n\tline 2\nline 3");
    // One undo step per indent.
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text().toStdString(), "line 0\n\tline 1\n\tline 2\nline 3");
    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text().toStdString(), "line 0\nline 1\nline 2\nline 3");

    // Spaces unindent up to one tab width; within one line Tab types a tab.
    view->setPlainText("      x\ny");
    select(0, 0, 1, 1);
    QTest::keyClick(view.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(text().toStdString(), "  x\ny");
    select(1, 0, 1, 1);
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(text().toStdString(), "  x\n\t");
}

TEST_F(KeysTest, EditingKeysStayInTheEditor) {
    QTest::keyClicks(view.get(), "a");
    QTest::keyClick(view.get(), Qt::Key_Return);
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(text().toStdString(), "a\n\t");
    EXPECT_TRUE(view->hasFocus());

    // Inside a dialog: Escape does not close it, Enter does not press its default button and
    // Tab does not move the focus on.
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* inner = new CMyCrystalView(&dialog);
    auto* button = new QPushButton("OK", &dialog);
    button->setDefault(true);
    layout->addWidget(inner);
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    inner->setFocus();
    QTest::keyClick(inner, Qt::Key_Escape);
    QTest::keyClick(inner, Qt::Key_Return);
    QTest::keyClick(inner, Qt::Key_Tab);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(inner->hasFocus());
    EXPECT_EQ(inner->toPlainText().toStdString(), "\n\t");

    // Ctrl+Backspace deletes the word before the caret.
    view->setPlainText(">path=C:/pictures");
    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view.get(), Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(text().toStdString(), ">path=C:/");
}

TEST_F(KeysTest, InsertTogglesOverwriteMode) {
    view->setPlainText("abcd");
    EXPECT_FALSE(view->overwriteMode());
    QTest::keyClick(view.get(), Qt::Key_Insert);
    EXPECT_TRUE(view->overwriteMode());
    QTest::keyClicks(view.get(), "XY");
    EXPECT_EQ(text().toStdString(), "XYcd");
    QTest::keyClick(view.get(), Qt::Key_Insert);
    QTest::keyClicks(view.get(), "Z");
    EXPECT_EQ(text().toStdString(), "XYZcd");
}

TEST_F(KeysTest, NumberedBookmarksJumpAndFollowTheirLine) {
    fill(30);
    select(12, 0, 12, 0);
    QTest::keyClick(view.get(), Qt::Key_4, Qt::AltModifier);
    select(20, 0, 20, 0);
    QTest::keyClick(view.get(), Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(caretLine(), 12);
    QTest::keyClick(view.get(), Qt::Key_5, Qt::ControlModifier);  // not set: stays
    EXPECT_EQ(caretLine(), 12);

    QTextCursor(view->document()).insertText("x\ny\n");
    QTest::keyClick(view.get(), Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(caretLine(), 14);
    EXPECT_EQ(view->bookmarks().numberAt(14), 4);

    // Setting it on another line moves it; on its own line removes it.
    select(2, 0, 2, 0);
    QTest::keyClick(view.get(), Qt::Key_4, Qt::AltModifier);
    EXPECT_EQ(view->bookmarks().numberedLine(4), 2);
    QTest::keyClick(view.get(), Qt::Key_4, Qt::AltModifier);
    EXPECT_FALSE(view->bookmarks().numberedLine(4));
}

TEST_F(KeysTest, PlainBookmarksCycle) {
    fill(30);
    for (int line : {5, 15, 25}) {
        select(line, 0, line, 0);
        QTest::keyClick(view.get(), Qt::Key_F2, Qt::ControlModifier);
    }
    select(10, 0, 10, 0);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_EQ(caretLine(), 15);
    QTest::keyClick(view.get(), Qt::Key_F2);
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_EQ(caretLine(), 5);  // wrapped round
    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(caretLine(), 25);
    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ControlModifier);  // off again on 25
    EXPECT_EQ(view->bookmarks().plainLines(), (std::vector<int>{5, 15}));
    QTest::keyClick(view.get(), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(view->bookmarks().plainLines().empty());
    QTest::keyClick(view.get(), Qt::Key_F2);
    EXPECT_EQ(caretLine(), 25);
}

TEST_F(KeysTest, ModifiedFlagIsReportedOnChangeOnly) {
    QSignalSpy spy(view.get(), &CMyCrystalView::modifiedChanged);
    QTest::keyClicks(view.get(), "abc");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    view->setModified(false);
    view->setModified(false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FALSE(spy.at(1).at(0).toBool());
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_TRUE(view->isModified());
}

TEST_F(KeysTest, InsertTextAtCaretForDrops) {
    view->setPlainText("ab");
    select(0, 0, 0, 1);  // selection "a", caret after it
    EXPECT_TRUE(view->insertTextAtCaret("X.jpg"));
    EXPECT_EQ(text().toStdString(), "aX.jpgb");
    EXPECT_FALSE(view->textCursor().hasSelection());
    EXPECT_EQ(view->textCursor().position(), 6);

    view->setReadOnly(true);
    EXPECT_FALSE(view->insertTextAtCaret("Y"));
    EXPECT_EQ(text().toStdString(), "aX.jpgb");
}

TEST_F(KeysTest, ScriptLinesReadTheDocumentAsUtf8) {
    view->setPlainText(">text=\u00e9t\u00e9\n\n;x");
    EXPECT_EQ(view->lineCount(), 3);
    EXPECT_EQ(view->line(0), ">text=\xc3\xa9t\xc3\xa9");
    EXPECT_EQ(view->line(1), "");
    EXPECT_EQ(view->line(3), "");
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(view->lineCount(), 4);
    EXPECT_EQ(view->line(0), "");
}

}  // namespace
}  // namespace quillfen
