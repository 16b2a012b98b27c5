#include "output/build_driver.h"
#include "support/script_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "output/version_text.h"
#include "script/parse_seams.h"
#include "support/quiet_build_host.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

using Lines = testing::ScriptText;

// Records what the driver asks of its window.
class RecordingHost : public testing::QuietBuildHost {
  public:
    void addTrace(const TraceEntry& e) override { trace.push_back(e); }
    void clearTrace() override {
        trace.clear();
        calls.push_back("clear");
    }
    void markCurrentLine(int line) override { calls.push_back("current " + std::to_string(line)); }
    void markErrorLine(int line, std::string_view) override {
        calls.push_back("error " + std::to_string(line));
    }
    void clearLineMark(int line) override { calls.push_back("unmark " + std::to_string(line)); }
    void setRunButtonText(std::string_view text) override { calls.push_back(std::string(text)); }
    void setWaitCursor(bool busy) override { calls.push_back(busy ? "wait" : "unwait"); }
    OverwriteAnswer askOverwrite(std::string_view, std::string_view) override {
        calls.push_back("ask");
        return OverwriteAnswer::Cancel;
    }
    std::optional<std::string> chooseMovieFile(std::string_view) override {
        calls.push_back("choose");
        return std::nullopt;
    }
    void outputFileChanged(std::string_view name) override { shownOutput = name; }

    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const TraceEntry& e : trace)
            t.push_back(e.text);
        return t;
    }

    std::vector<TraceEntry> trace;
    std::vector<std::string> calls;
    std::string shownOutput;
};

class BuildDriverTest : public ::testing::Test {
  protected:
    BuildDriverTest() : driver(host, catalogue, tail, [this] { return now++; }) {
        std::ofstream(folder + "/a.jpg") << "x";
        std::ofstream(folder + "/b.jpg") << "x";
        driver.settings().scriptFolder = folder;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    RecordingHost host;
    EffectCatalogue catalogue{{{ClassId{0xA, 0xB, 0xC, {1, 2, 3, 4, 5, 6, 7, 8}}, "r", "Wipe"}}};
    CaptionTail tail;
    std::time_t now = 3725;  // the build takes one clock tick
    BuildDriver driver;
    testing::TempFolder temp;
    const std::string folder = temp.path();
};

TEST_F(BuildDriverTest, CheckListsTheTimeline) {
    BuildOutcome outcome = driver.runBuild(
        Lines{">resize=720x576", "a.jpg*2", ">transition=Wipe|1", "b.jpg*2"}, BuildMode::Check);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.totalFrames, 125);
    std::vector<std::string> expected = {
        "Processing started: 1970/01/01 01:02:05",
        "Parsing script...",
        "Script parsed successfully",
        "Total movie time: 00:05.00  (125 frames)",
        "00:00.00  Source\tlineNum:1  nbFrames:75  nbAVIFrames:50  file:a.jpg",
        "00:02.00  Transition\tlineNum:2  nbFrames:25  nbAVIFrames:25 Tr=Wipe  #1 --> #3",
        "00:03.00  Source\tlineNum:3  nbFrames:75  nbAVIFrames:50  file:b.jpg",
        "Processing finished: 1970/01/01 01:02:06 (processing time: 0:00:01)",
        "Done!"};
    EXPECT_EQ(host.texts(), expected);
    EXPECT_EQ(host.trace[0].icon, kIconClock);
    EXPECT_EQ(host.trace[0].colour, trace_colour::kBlue);
    EXPECT_EQ(host.trace[4].icon, 24);
    EXPECT_EQ(host.trace[5].icon, 25);
    EXPECT_EQ(host.trace[4].colour, trace_colour::kNormal);
    EXPECT_EQ(host.trace.back().icon, kIconGreenDot);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wait", "clear", "&Stop", "&Run", "unwait"}));
}

TEST_F(BuildDriverTest, ParseErrorGoesStraightToFinishAndMarksItsLine) {
    BuildOutcome outcome = driver.runBuild(Lines{"a.jpg", ">oops"}, BuildMode::Check);
    EXPECT_FALSE(outcome.succeeded);
    std::vector<std::string> texts = host.texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[2], "Syntax error (line must be like '>command=parameters')");
    EXPECT_EQ(host.trace[2].colour, trace_colour::kRed);
    EXPECT_EQ(host.trace[2].icon, kIconNoEntry);
    EXPECT_EQ(texts[4], "Done!");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wait", "clear", "error 1", "&Run", "unwait"}));

    // The next build clears the old error mark first.
    host.calls.clear();
    driver.runBuild(Lines{"a.jpg"}, BuildMode::Check);
    EXPECT_EQ(host.calls[2], "unmark 1");
}

TEST_F(BuildDriverTest, LinkErrorAndWarnings) {
    BuildOutcome outcome = driver.runBuild(
        Lines{">stereo=1", ">stereo=0", "a.jpg", ">transition=Wipe"}, BuildMode::Check);
    EXPECT_FALSE(outcome.succeeded);
    std::vector<std::string> texts = host.texts();
    EXPECT_EQ(texts[2], "Warning: Command 'Stereo' already defined, extraneous commands ignored.");
    EXPECT_EQ(host.trace[2].colour, trace_colour::kOrange);
    EXPECT_EQ(texts[4], "Error: illegal position for Transition or PIP command.");
    EXPECT_EQ(host.calls[3], "error 3");
    EXPECT_EQ(texts.size(), 7u);  // no total line, no listing
}

TEST_F(BuildDriverTest, DebugTListsEffectsAndMovieFileIsKept) {
    driver.runBuild(Lines{">debug=T", ">moviefile=out.avi"}, BuildMode::Check);
    std::vector<std::string> texts = host.texts();
    EXPECT_EQ(texts[3], "List of available transition effects (name, CLSID):");
    EXPECT_EQ(texts[4], "  Wipe\t{0000000A-000B-000C-0102-030405060708}");
    EXPECT_EQ(texts[5], "Total movie time: 00:00.00  (0 frames)");
    EXPECT_EQ(driver.outputFile(), "out.avi");
    EXPECT_EQ(host.shownOutput, "out.avi");
    EXPECT_EQ(driver.debugFlags(), kDebugTransitions);
}

TEST(VersionText, Rule) {
    EXPECT_EQ(versionText(0, 3, 0, 0), "0.3");
    EXPECT_EQ(versionText(2, 1, 3, 0), "2.1.3");
    EXPECT_EQ(versionText(2, 1, 0, 5), "2.1 [R5]");
    EXPECT_EQ(versionText(2, 1, 3, 5), "2.1.3 [R5]");
    EXPECT_EQ(versionText(1, 12, 0, 200), "1.12 [R200]");
}

}  // namespace
}  // namespace quillfen
