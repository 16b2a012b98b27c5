// Builds started from the window: Check script, a Run that writes a movie through the scripted
// dialogs, Stop in the middle, Escape while frames are written, and the overwrite question.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "support/movie_probe.h"
#include "window_fixture.h"

namespace quillfen {
namespace {

// Two plain-colour Elements of 25 frames each at 64 x 48.
const char* const kTwoColours = ">resize=64x48\n>frame=red|1\n>frame=blue|1";

class WindowBuildTest : public WindowTest {
  protected:
    void useScript(const char* text) {
        window().openScript(writeFile("script.txt", text));
        controls().outputFile->setText(path("movie.avi"));
    }
    CodecChoice raw() const { return defaultCodecChoice("raw"); }
    std::size_t indexOf(const std::string& text) {
        const auto texts = traceTexts();
        return static_cast<std::size_t>(std::find(texts.begin(), texts.end(), text) -
                                        texts.begin());
    }
};

TEST_F(WindowBuildTest, CheckScriptListsTheTimelineWithoutAnyDialog) {
    useScript(kTwoColours);
    window().runBuild(BuildMode::Check);
    const auto entries = controls().trace->entries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries.back().text, "Done!");
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const TraceEntry& e) { return e.icon == 23 + 5; }),
              2);
    EXPECT_TRUE(log.asked.empty());
    EXPECT_FALSE(QFile::exists(path("movie.avi")));
    EXPECT_EQ(controls().run->text(), "&Run");
    EXPECT_FALSE(window().running());
}

TEST_F(WindowBuildTest, ASyntaxErrorMarksItsLineAndWritesNothing) {
    useScript(">resize=64x48\n>nosuchcommand=1");
    window().runBuild(BuildMode::Run);
    EXPECT_EQ(editor().markedLine(LineMark::Error), 1);
    EXPECT_EQ(traceTexts().back(), "Done!");
    EXPECT_TRUE(log.asked.empty());
    EXPECT_FALSE(QFile::exists(path("movie.avi")));
}

TEST_F(WindowBuildTest, RunWritesTheMovieAndRemembersItsName) {
    useScript(kTwoColours);
    log.codecs = {raw()};
    window().runBuild(BuildMode::Run);
    EXPECT_EQ(log.asked,
              (std::vector<std::string>{"compression: " + path("movie.avi").toStdString()}));
    const auto probe = testing::probeMovie(path("movie.avi").toStdString());
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.storedFrames(), 50);
    EXPECT_EQ(probe.width, 64);
    EXPECT_EQ(settings.outputFile(), path("movie.avi").toStdString());
    EXPECT_TRUE(controls().frameCounter->text().startsWith("Frame #49 ["));
    EXPECT_EQ(controls().run->text(), "&Run");
    EXPECT_EQ(traceTexts().back(), "Done!");
    EXPECT_EQ(editor().markedLine(LineMark::Current), 2);
}

TEST_F(WindowBuildTest, CancelledCompressionAbortsTheBuild) {
    useScript(kTwoColours);
    window().runBuild(BuildMode::Run);
    EXPECT_EQ(log.asked.size(), 1u);
    const std::size_t aborted = indexOf("Processing aborted.");
    ASSERT_LT(aborted, traceTexts().size());
    EXPECT_EQ(controls().trace->entries()[aborted].colour, 0x000080FFu);
    EXPECT_EQ(traceTexts().back(), "Done!");
    EXPECT_EQ(controls().run->text(), "&Run");
}

TEST_F(WindowBuildTest, StopFinishesTheFrameInHandAndLeavesAPlayableFile) {
    useScript(kTwoColours);
    log.codecs = {raw()};
    // When the second Element starts, press Run again (now "Stop") at the next event pump.
    QObject::connect(&editor(), &QPlainTextEdit::cursorPositionChanged, &window(), [this] {
        if (editor().textCursor().blockNumber() != 2) return;
        QTimer::singleShot(0, &window(), [this] {
            EXPECT_EQ(controls().run->text(), "&Stop");
            controls().run->click();
        });
    });
    window().runBuild(BuildMode::Run);
    const auto probe = testing::probeMovie(path("movie.avi").toStdString());
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.storedFrames(), 26);
    const std::size_t interrupted = indexOf("Script interrupted.");
    ASSERT_LT(interrupted, traceTexts().size());
    EXPECT_EQ(traceTexts()[interrupted + 1].rfind("Processing finished: ", 0), 0u);
    EXPECT_FALSE(window().running());
}

TEST_F(WindowBuildTest, EscapeAndCloseDoNothingWhileFramesAreWritten) {
    useScript(kTwoColours);
    log.codecs = {raw()};
    window().show();
    bool pressed = false;
    QTimer::singleShot(0, &window(), [&] {
        pressed = true;
        EXPECT_TRUE(window().running());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window(), &escape);
        window().close();
        window().selectOutputFile();  // no dialog while running
        EXPECT_TRUE(window().isVisible());
    });
    window().runBuild(BuildMode::Run);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(testing::probeMovie(path("movie.avi").toStdString()).storedFrames(), 50);
}

TEST_F(WindowBuildTest, NoToTheOverwriteQuestionOpensTheSaveDialog) {
    useScript(kTwoColours);
    writeFile("movie.avi", "old");
    log.answers = {Answer::No};
    log.fileNames = {std::nullopt};
    window().runBuild(BuildMode::Run);
    ASSERT_EQ(log.asked.size(), 2u);
    EXPECT_EQ(log.asked[0], "Caution!: Movie file already exists.\nDo you want to overwrite it?");
    EXPECT_EQ(log.asked[1], "Enter the filename for the new movie: ");
    EXPECT_EQ(readFile(path("movie.avi")), "old");

    log.asked.clear();
    log.answers = {Answer::No};
    log.fileNames = {path("other.avi")};
    log.codecs = {raw()};
    window().runBuild(BuildMode::Run);
    EXPECT_EQ(controls().outputFile->text(), path("other.avi"));
    EXPECT_EQ(testing::probeMovie(path("other.avi").toStdString()).storedFrames(), 50);
}

}  // namespace
}  // namespace quillfen
