#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>

#include "editor/view/find_dialog.h"
#include "editor/view/text_finder.h"
#include "view_fixture.h"

namespace quillfen {
namespace {

FindOptions options(const char* what, bool matchCase = false, bool wholeWord = false) {
    FindOptions o;
    o.what = what;
    o.matchCase = matchCase;
    o.wholeWord = wholeWord;
    return o;
}

// Where a search from `position` finds its match, or -1.
int findAt(QTextDocument& document, int position, const FindOptions& o, bool up = false) {
    QTextCursor from(&document);
    from.setPosition(position);
    const QTextCursor found = findText(document, from, o, up);
    return found.isNull() ? -1 : found.selectionStart();
}

TEST(TextFinder, CaseWholeWordDirectionAndWrapping) {
    QTextDocument document(">Frame=1\n>frame=2 ;frames");
    EXPECT_EQ(findAt(document, 0, options("frame")), 1);
    EXPECT_EQ(findAt(document, 0, options("frame", true)), 10);
    EXPECT_EQ(findAt(document, 2, options("frames", false, true)), 19);
    EXPECT_EQ(findAt(document, 0, options("fram", false, true)), -1);
    EXPECT_EQ(findAt(document, 12, options("frame")), 19);
    EXPECT_EQ(findAt(document, 12, options("frame"), true), 10);
    // Past the last match the search starts again at the other end.
    EXPECT_EQ(findAt(document, 20, options("frame")), 1);
    EXPECT_EQ(findAt(document, 0, options("frame"), true), 19);
    EXPECT_EQ(findAt(document, 0, options("")), -1);
}

class FindTest : public ViewTest {
  protected:
    void SetUp() override {
        ViewTest::SetUp();
        view->finder().setStore(store);
        view->finder().setNotFound([this](const QString& m) { messages << m; });
    }
    void TearDown() override { view.reset(); }  // the view holds on to the store

    // Answers the prompt with `answer`, remembering what it was offered.
    void answerWith(const FindOptions& answer, bool accept = true) {
        view->finder().setPrompt([this, answer, accept](FindOptions& o) {
            offered = o;
            o = answer;
            return accept;
        });
    }

    QString selected() const { return view->textCursor().selectedText(); }

    QTemporaryDir folder;
    const QString storeFile = folder.filePath("find.conf");
    QSettings store{storeFile, QSettings::IniFormat};
    QStringList messages;
    FindOptions offered;
};

TEST_F(FindTest, ReadsTheSettingsOnceAndWritesThemBack) {
    store.setValue("CrystalEdit/Find/MatchCase", 1);
    store.setValue("CrystalEdit/Find/FindWhat", "kbe");
    view->setPlainText(">KBE=1\n>kbe=2");
    FindOptions answer = options("kbe", true);
    answer.wholeWord = true;
    answerWith(answer);
    EXPECT_TRUE(view->finder().find());
    EXPECT_EQ(offered, options("kbe", true));
    EXPECT_EQ(view->textCursor().selectionStart(), 8);

    QSettings reader(storeFile, QSettings::IniFormat);
    EXPECT_EQ(reader.value("CrystalEdit/Find/MatchCase").toInt(), 1);
    EXPECT_EQ(reader.value("CrystalEdit/Find/WholeWord").toInt(), 1);
    EXPECT_EQ(reader.value("CrystalEdit/Find/FindWhat").toString().toStdString(), "kbe");

    // Later in the run the kept values count, not the store.
    store.setValue("CrystalEdit/Find/FindWhat", "other");
    view->finder().find();
    EXPECT_EQ(offered.what.toStdString(), "kbe");
    EXPECT_TRUE(offered.wholeWord);
}

TEST_F(FindTest, OneLineSelectionBecomesTheSearchText) {
    view->setPlainText("alpha beta\ngamma");
    answerWith(options("ignored"), false);
    select(0, 6, 0, 10);
    view->finder().find();
    EXPECT_EQ(offered.what.toStdString(), "beta");
    select(0, 6, 1, 2);
    view->finder().find();
    EXPECT_EQ(offered.what.toStdString(), "ignored");  // the last values, not the selection
    // A cancelled dialog keeps its values but does not search.
    EXPECT_EQ(selected().size(), 7);
}

TEST_F(FindTest, FindNextAndPreviousAndNotFound) {
    view->setPlainText("a x a x a");
    answerWith(options("x"));
    QTest::keyClick(view.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(view->textCursor().selectionStart(), 2);
    QTest::keyClick(view.get(), Qt::Key_F3);
    EXPECT_EQ(view->textCursor().selectionStart(), 6);
    QTest::keyClick(view.get(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(view->textCursor().selectionStart(), 2);
    EXPECT_TRUE(messages.isEmpty());

    answerWith(options("X", true));
    view->finder().find();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].toStdString(), "Cannot find string \"X\"");
}

TEST(FindDialogTest, LabelsAndValues) {
    FindOptions initial = options("abc", true);
    initial.up = true;
    FindDialog dialog(initial);
    QStringList texts;
    for (auto* w : dialog.findChildren<QAbstractButton*>())
        texts << w->text();
    for (auto* w : dialog.findChildren<QLabel*>())
        texts << w->text();
    for (const char* label : {"Fi&nd what:", "Match &whole word only", "Match &case", "&Up",
                              "&Down", "&Find Next", "Cancel"}) {
        EXPECT_TRUE(texts.contains(label)) << label;
    }
    EXPECT_EQ(dialog.options(), initial);
    dialog.whatEdit()->setText("");
    for (auto* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == "&Find Next") {
            EXPECT_FALSE(b->isEnabled());
        }
    }
}

TEST(EditorSettingsTest, ColoursAndFontWithDefaults) {
    auto settings = openEditorSettings();
    settings->remove("Settings");
    ScriptColours colours = readScriptColours(*settings);
    EXPECT_EQ(colours.background, makeColour(255, 255, 255));
    EXPECT_EQ(colours.number, makeColour(128, 0, 0));
    settings->setValue("Settings/ColorScriptKeyword", "10 20,30");
    colours = readScriptColours(*settings);
    EXPECT_EQ(colours.keyword, makeColour(10, 20, 30));

    const LogFont font = readScriptFont(*settings);
    EXPECT_EQ(font.faceName, "Courier New");
    EXPECT_EQ(font.height, 16);
    const QFont qfont = toQFont(font);
    EXPECT_EQ(qfont.family().toStdString(), "Liberation Mono");
    EXPECT_EQ(qfont.weight(), QFont::Normal);
    EXPECT_GT(qfont.pixelSize(), 8);
    EXPECT_LE(qfont.pixelSize(), 16);
    settings->remove("Settings");
}

}  // namespace
}  // namespace quillfen
