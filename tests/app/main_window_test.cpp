// The main window's own behaviour: greeting, Script files, Ask to save, Recent Scripts,
// splitter, drops and Copy trace.
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include "app/help_window.h"

#include "output/version_text.h"
#include "window_fixture.h"

namespace quillfen {
namespace {

TEST_F(WindowTest, GreetsWithTheVersionAndShowsTheStoredOutputFile) {
    settings.setOutputFile("/movies/last.avi");
    const auto entries = controls().trace->entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "Quillfen v" + programVersionText() + " ready!");
    EXPECT_EQ(entries[0].colour, 0x00FF0000u);
    EXPECT_EQ(entries[0].icon, 7);
    EXPECT_EQ(controls().outputFile->text(), "/movies/last.avi");
    EXPECT_EQ(window().windowTitle(), "Quillfen");
}

TEST_F(WindowTest, FindStartsFromTheWindowsSettings) {
    settings.store().setValue("CrystalEdit/Find/FindWhat", "kbe");
    EXPECT_EQ(editor().finder().options().what.toStdString(), "kbe");
}

TEST_F(WindowTest, LoadAndSaveKeepEachLineEndStyle) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray saved;
    };
    for (const Case& c :
         {Case{"dos.txt", "a\r\nb\r\n", "a\r\nb\r\nc"}, Case{"unix.txt", "a\nb\n", "a\nb\nc"},
          Case{"lfcr.txt", "a\n\rb\n\r", "a\n\rb\n\rc"}}) {
        const QString file = writeFile(c.name, c.bytes);
        log.fileNames.push_back(file);
        window().load();
        EXPECT_EQ(editorLines(), (std::vector<std::string>{"a", "b", ""})) << c.name;
        EXPECT_EQ(controls().scriptBox->currentText(), file);
        EXPECT_FALSE(editor().isModified());
        typeAtEnd("c");
        window().save();
        EXPECT_EQ(readFile(file), c.saved) << c.name;
        EXPECT_FALSE(editor().isModified());
    }
    EXPECT_TRUE(log.fileNames.empty());
}

TEST_F(WindowTest, SaveWritesToATypedNameWithoutADialogAndReportsFailures) {
    typeAtEnd(">resize=64x48");
    controls().scriptBox->setEditText(path("typed.txt"));
    window().save();
    EXPECT_EQ(readFile(path("typed.txt")), ">resize=64x48");
    EXPECT_TRUE(log.asked.empty());

    typeAtEnd("\n; more");
    controls().scriptBox->setEditText(path("no/such/folder/x.txt"));
    window().save();
    EXPECT_EQ(log.asked,
              (std::vector<std::string>{
                  "Error!: Error when saving script. Script not saved.\ncannot create a temporary "
                  "file beside '" +
                  path("no/such/folder/x.txt").toStdString() + "': No such file or directory"}));
    EXPECT_TRUE(editor().isModified());
    EXPECT_EQ(editorLines(), (std::vector<std::string>{">resize=64x48", "; more"}));
}

TEST_F(WindowTest, AScriptThatCannotBeReadLeavesTheTextAndItsNameAsTheyWere) {
    const QString kept = writeFile("kept.txt", "kept");
    ASSERT_TRUE(window().openScript(kept));
    typeAtEnd(" draft");
    const QString binary = writeFile("picture.txt", QByteArray("GIF89a\0\0", 8));
    for (const QString& name : {path("gone.txt"), binary, path("")}) {
        log.asked.clear();
        EXPECT_FALSE(window().openScript(name));
        EXPECT_EQ(log.asked,
                  (std::vector<std::string>{"Error!: Error when trying to open script file:\n\"" +
                                            name.toStdString() + "\""}));
        EXPECT_EQ(editorLines(), (std::vector<std::string>{"kept draft"}));
        EXPECT_TRUE(editor().isModified());
        EXPECT_EQ(controls().scriptBox->currentText(), kept);
    }
    // Saving now still writes the Script's own file, never the one that failed.
    window().save();
    EXPECT_EQ(readFile(binary), QByteArray("GIF89a\0\0", 8));
    EXPECT_EQ(readFile(kept), "kept draft");
}

TEST_F(WindowTest, AWriteProtectedScriptIsShownButNotEdited) {
    const QString locked = writeFile("locked.txt", "locked");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(window().openScript(locked));
    EXPECT_TRUE(editor().isReadOnly());
    window().dropFiles({"/p/a.jpg"});
    EXPECT_EQ(editorLines(), std::vector<std::string>{"locked"});
    EXPECT_FALSE(editor().isModified());

    ASSERT_TRUE(window().openScript(writeFile("open.txt", "open")));
    EXPECT_FALSE(editor().isReadOnly());
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(WindowTest, AskToSaveBeforeLoadingFollowsTheAnswer) {
    const QString other = writeFile("other.txt", "other");
    const std::string question = "Caution!: Script modified, do you want to save it ?";

    typeAtEnd("draft");
    log.answers = {Answer::Cancel};
    window().load();
    EXPECT_EQ(log.asked, std::vector<std::string>{question});
    EXPECT_EQ(editorLines(), std::vector<std::string>{"draft"});

    // Yes with no name asks for one; cancelling that keeps the text and stops the Load.
    log.asked.clear();
    log.answers = {Answer::Yes};
    log.fileNames = {std::nullopt};
    window().load();
    EXPECT_EQ(log.asked.size(), 2u);
    EXPECT_EQ(editorLines(), std::vector<std::string>{"draft"});

    log.answers = {Answer::Yes};
    log.fileNames = {path("draft.txt"), other};
    window().load();
    EXPECT_EQ(readFile(path("draft.txt")), "draft");
    EXPECT_EQ(editorLines(), std::vector<std::string>{"other"});

    typeAtEnd(" changed");
    log.answers = {Answer::No};
    log.fileNames = {writeFile("third.txt", "third")};
    window().load();
    EXPECT_EQ(editorLines(), std::vector<std::string>{"third"});
    EXPECT_EQ(readFile(other), "other");
}

TEST_F(WindowTest, CancelledRecentChoiceKeepsTheNameAndTheText) {
    settings.writeRecentScripts(RecentScripts::read([&](int i) -> std::optional<std::string> {
        if (i > 0) return std::nullopt;
        return writeFile("recent.txt", "recent").toStdString();
    }));
    const QString current = writeFile("current.txt", "current");
    window().openScript(current);
    typeAtEnd(" edited");
    controls().scriptBox->setCurrentIndex(0);  // what choosing an entry shows in the box
    log.answers = {Answer::Cancel};
    window().recentScriptChosen(0);
    EXPECT_EQ(controls().scriptBox->currentText(), current);
    EXPECT_EQ(editorLines(), std::vector<std::string>{"current edited"});

    log.answers = {Answer::No};
    window().recentScriptChosen(0);
    EXPECT_EQ(controls().scriptBox->currentText(), path("recent.txt"));
    EXPECT_EQ(editorLines(), std::vector<std::string>{"recent"});
    EXPECT_EQ(window().recentScripts().entries().size(), 1u);
}

TEST_F(WindowTest, SavingBeforeARecentChoiceWritesTheScriptsOwnFile) {
    const QString recent = writeFile("recent.txt", "recent");
    settings.writeRecentScripts(RecentScripts::read([&](int i) -> std::optional<std::string> {
        if (i > 0) return std::nullopt;
        return recent.toStdString();
    }));
    const QString current = writeFile("current.txt", "current");
    window().openScript(current);
    typeAtEnd(" edited");
    controls().scriptBox->setCurrentIndex(0);  // picking the entry shows it in the box first
    log.answers = {Answer::Yes};
    window().recentScriptChosen(0);
    EXPECT_EQ(readFile(current), "current edited");
    EXPECT_EQ(readFile(recent), "recent");
    EXPECT_EQ(editorLines(), std::vector<std::string>{"recent"});
    EXPECT_EQ(controls().scriptBox->currentText(), recent);

    // A name the user typed before picking is the one saved to.
    typeAtEnd(" again");
    QLineEdit& edit = *controls().scriptBox->lineEdit();
    edit.clear();
    QTest::keyClicks(&edit, path("typed.txt"));
    controls().scriptBox->setCurrentIndex(0);
    log.answers = {Answer::Yes};
    window().recentScriptChosen(0);
    EXPECT_EQ(readFile(path("typed.txt")), "recent again");
    EXPECT_EQ(readFile(recent), "recent");
}

std::vector<std::string> storedRecent(AppSettings& settings) {
    return settings.recentScripts().entries();
}

TEST_F(WindowTest, QuitPutsTheScriptFirstInTheRecentList) {
    RecentScripts stored;
    for (const char* name : {"/s/5.txt", "/s/4.txt", "/s/3.txt", "/s/2.txt", "/s/1.txt"})
        stored.add(name);
    settings.writeRecentScripts(stored);
    EXPECT_EQ(controls().scriptBox->count(), 5);
    EXPECT_EQ(controls().scriptBox->itemText(0), "/s/1.txt");

    const QString sixth = writeFile("6.txt", "six");
    window().openScript(sixth);
    window().show();
    window().quit();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(storedRecent(settings),
              (std::vector<std::string>{sixth.toStdString(), "/s/1.txt", "/s/2.txt", "/s/3.txt",
                                        "/s/4.txt", "/s/5.txt"}));

    // A name already listed moves up instead of appearing twice.
    window().show();
    controls().scriptBox->setEditText("/S/3.TXT");
    window().quit();
    EXPECT_EQ(storedRecent(settings),
              (std::vector<std::string>{"/S/3.TXT", sixth.toStdString(), "/s/1.txt", "/s/2.txt",
                                        "/s/4.txt", "/s/5.txt"}));
}

TEST_F(WindowTest, QuitStaysWhenCancelledOrHeldByAutomation) {
    window().show();
    typeAtEnd("x");
    log.answers = {Answer::Cancel};
    window().quit();
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(storedRecent(settings).empty());

    editor().setModified(false);
    window().setHeldByAutomation(true);
    controls().scriptBox->setEditText("/s/kept.txt");
    window().quit();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().result(), QDialog::Rejected);  // hidden, not ended
    EXPECT_EQ(storedRecent(settings), std::vector<std::string>{"/s/kept.txt"});
}

TEST_F(WindowTest, SplitterSharesTheHeightWithinItsLimits) {
    window().resize(800, 600);
    window().show();
    EXPECT_EQ(window().tracePercent(), 30);
    EXPECT_EQ(controls().lower->height(), 180);

    window().splitterMoved(0);
    EXPECT_EQ(window().tracePercent(), 99);
    EXPECT_EQ(controls().upper->height(), 6);
    window().splitterMoved(window().height());
    EXPECT_EQ(window().tracePercent(), 1);
    EXPECT_EQ(controls().lower->height(), 6);
    window().splitterMoved(300);
    EXPECT_EQ(window().tracePercent(), 50);
}

TEST_F(WindowTest, DroppedFilesGoIntoTheEditorAtTheCaret) {
    typeAtEnd("first");
    window().dropFiles({"/p/a.jpg", "/p/b.jpg"});
    EXPECT_EQ(editorLines(), (std::vector<std::string>{"first", "/p/a.jpg", "/p/b.jpg", ""}));
    EXPECT_TRUE(editor().isModified());
}

TEST_F(WindowTest, CopyTraceAndDoubleClickClear) {
    controls().trace->addEntry(makeTraceEntry("second\tline", 0x000080FF, 2));
    window().copyTrace();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Quillfen v" + programVersionText() + " ready!\r\nsecond\tline");
    EXPECT_EQ(controls().trace->entries()[1].icon, 2);

    controls().trace->addEntry(makeTraceEntry("bad icon", 0, 40));
    EXPECT_EQ(controls().trace->entries()[2].icon, -1);

    window().show();
    QTest::mouseDClick(controls().trace->viewport(), Qt::LeftButton);
    EXPECT_TRUE(controls().trace->entries().empty());
}

TEST_F(WindowTest, TraceScrollsToTheNewestEntryAndSidewaysToTheWidestText) {
    window().show();
    TraceList& trace = *controls().trace;
    for (int i = 0; i < 200; ++i)
        trace.addEntry(makeTraceEntry("row " + std::to_string(i), 0, 0));
    trace.addEntry(makeTraceEntry(std::string(400, 'w'), 0, 0));
    QApplication::processEvents();
    EXPECT_EQ(trace.verticalScrollBar()->value(), trace.verticalScrollBar()->maximum());
    EXPECT_GT(trace.verticalScrollBar()->maximum(), 0);
    EXPECT_GT(trace.horizontalScrollBar()->maximum(), 0);
    trace.clearEntries();
    QApplication::processEvents();
    EXPECT_EQ(trace.horizontalScrollBar()->maximum(), 0);
}

TEST_F(WindowTest, HelpKeyOpensTheBundledReferenceWithTheAboutBox) {
    window().show();
    editor().setFocus();
    QTest::keyClick(&editor(), Qt::Key_F1);
    auto* help = window().findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(HelpWindow::referenceText().contains("# The Script language"));
    EXPECT_TRUE(aboutText().startsWith(
        QString::fromStdString("Quillfen Version " + programVersionText() + "\n")));
    EXPECT_TRUE(editorLines() == std::vector<std::string>{""});  // F1 typed nothing
}

}  // namespace
}  // namespace quillfen
