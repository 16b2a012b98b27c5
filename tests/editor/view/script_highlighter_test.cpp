#include <QTextLayout>

#include "view_fixture.h"

namespace quillfen {
namespace {

using HighlighterTest = ViewTest;

// The foreground colour the highlighter gave to character `column` of `line`.
QColor colourAt(const CMyCrystalView& view, int line, int column) {
    const QTextBlock block = view.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length)
            return range.format.foreground().color();
    }
    return {};
}

TEST_F(HighlighterTest, ColoursFollowTheScriptColouring) {
    ScriptColours colours;
    colours.keyword = makeColour(1, 2, 3);
    colours.number = makeColour(4, 5, 6);
    colours.comment = makeColour(7, 8, 9);
    colours.normal = makeColour(10, 11, 12);
    view->setColours(colours);
    // "é" takes two bytes but one character: the colours must not shift.
    view->setPlainText(">Text=\u00e9 12 ;c\n\n>frame;x");

    EXPECT_EQ(colourAt(*view, 0, 0), QColor(1, 2, 3));
    EXPECT_EQ(colourAt(*view, 0, 4), QColor(1, 2, 3));
    EXPECT_EQ(colourAt(*view, 0, 6), QColor(10, 11, 12));  // é
    EXPECT_EQ(colourAt(*view, 0, 8), QColor(4, 5, 6));
    EXPECT_EQ(colourAt(*view, 0, 9), QColor(4, 5, 6));
    EXPECT_EQ(colourAt(*view, 0, 10), QColor(10, 11, 12));
    EXPECT_EQ(colourAt(*view, 0, 11), QColor(7, 8, 9));
    EXPECT_TRUE(view->document()->findBlockByNumber(1).layout()->formats().isEmpty());
    EXPECT_EQ(colourAt(*view, 2, 0), QColor(10, 11, 12));
    EXPECT_EQ(colourAt(*view, 2, 6), QColor(7, 8, 9));

    // The palette draws the background and an inverse selection.
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(view->palette().color(QPalette::Highlight), QColor(10, 11, 12));
    EXPECT_EQ(view->palette().color(QPalette::HighlightedText), QColor(255, 255, 255));
    EXPECT_EQ(view->GetColor(kColourSelectedText), makeColour(255, 255, 255));
}

}  // namespace
}  // namespace quillfen
