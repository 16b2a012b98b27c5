#pragma once
// A shown editor view filled with numbered lines, for the view tests.

#include <gtest/gtest.h>

#include <QStringList>
#include <QTest>
#include <memory>

#include "editor/view/my_crystal_view.h"

namespace quillfen {

class ViewTest : public testing::Test {
  protected:
    void SetUp() override {
        view = std::make_unique<CMyCrystalView>();
        view->resize(400, 200);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->setFocus();
    }

    /// Lines "line 0" … "line n-1"; unmodified, caret at the start.
    void fill(int n) {
        QStringList lines;
        for (int i = 0; i < n; ++i)
            lines << QStringLiteral("line %1").arg(i);
        view->setPlainText(lines.join('\n'));
        view->setModified(false);
    }

    /// Selects from (lineA, columnA) to (lineB, columnB).
    void select(int lineA, int columnA, int lineB, int columnB) {
        QTextCursor cursor(view->document());
        cursor.setPosition(position(lineA, columnA));
        cursor.setPosition(position(lineB, columnB), QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
    }

    int position(int line, int column) const {
        return view->document()->findBlockByNumber(line).position() + column;
    }

    QString text() const { return view->toPlainText(); }
    int caretLine() const { return view->textCursor().blockNumber(); }

    std::unique_ptr<CMyCrystalView> view;
};

}  // namespace quillfen
