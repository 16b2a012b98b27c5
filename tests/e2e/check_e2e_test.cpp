// Runs the built `quillfen check` on Scripts written into a temporary folder.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

struct CliRun {
    int status = -1;
    std::vector<std::string> out;
    std::string err;
};

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Timestamps and processing times vary from run to run.
std::string mask(std::string line) {
    static const std::regex stamp(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
    static const std::regex elapsed(R"(processing time: \d+:\d\d:\d\d)");
    line = std::regex_replace(line, stamp, "TIME");
    return std::regex_replace(line, elapsed, "processing time: ELAPSED");
}

class CheckCommand : public ::testing::Test {
  protected:
    void write(const std::string& name, const std::string& content) {
        std::filesystem::create_directories(
            std::filesystem::path(folder + "/" + name).parent_path());
        std::ofstream(folder + "/" + name, std::ios::binary) << content;
    }

    /// Runs `quillfen ARGS` from the temporary folder (so relative names stay relative).
    /// Runs the program with `args` in the test's folder; `prefix` goes before the program
    /// (an environment change, for instance).
    CliRun run(const std::string& args, const std::string& prefix = "") {
        std::string errFile = folder + "/.stderr";
        std::string command = "cd '" + folder + "' && " + prefix + "'" QUILLFEN_BINARY "' " + args +
                              " 2>'" + errFile + "'";
        CliRun result;
        std::string out;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            std::size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            int status = pclose(pipe);
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        for (const std::string& line : splitLines(out))
            result.out.push_back(mask(line));
        result.err = readAll(errFile);
        return result;
    }

    quillfen::testing::TempFolder temp;
    const std::string folder = temp.path();
};

TEST_F(CheckCommand, RoadExampleListsTheLinkedTimeline) {
    write("a.jpg", "x");
    write("pics/b.jpg", "x");
    write("road.txt", ">resize=720x576\r\na.jpg*2\r\n>transition=Wipe|1\r\npics\\b.jpg*2\r\n");
    CliRun r = run("check road.txt");
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> expected = {
        "Processing started: TIME",
        "Parsing script...",
        "Script parsed successfully",
        "Total movie time: 00:05.00  (125 frames)",
        "00:00.00  Source\tlineNum:1  nbFrames:75  nbAVIFrames:50  file:a.jpg",
        "00:02.00  Transition\tlineNum:2  nbFrames:25  nbAVIFrames:25 Tr=Wipe  #1 --> #3",
        "00:03.00  Source\tlineNum:3  nbFrames:75  nbAVIFrames:50  file:pics\\b.jpg",
        "Processing finished: TIME (processing time: ELAPSED)",
        "Done!"};
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
}

TEST_F(CheckCommand, ScriptFolderAnchorsRelativeNames) {
    write("work/pics/a.png", "x");
    write("work/movie.txt", ">path=pics\n>framerate=10\na.png*1.5\n>moviefile=out.avi\n");
    CliRun r = run("check work/movie.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.size(), 7u);
    EXPECT_EQ(r.out[3], "Total movie time: 00:01.50  (15 frames)");
    EXPECT_EQ(r.out[4],
              "00:00.00  Source\tlineNum:2  nbFrames:15  nbAVIFrames:15  file:pics/a.png");
}

TEST_F(CheckCommand, ErrorLineGoesToStandardError) {
    write("a.jpg", "x");
    write("bad.txt", "a.jpg\n; note\n>resize=720x576\nmissing.jpg*3\nnever.jpg\n");
    CliRun r = run("check bad.txt");
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.out.size(), 5u);
    EXPECT_EQ(r.out[2], "Error: picture 'missing.jpg' doesn't exist.");
    EXPECT_EQ(r.out[4], "Done!");
    EXPECT_EQ(r.err, "bad.txt:4: Error: picture 'missing.jpg' doesn't exist.\nmissing.jpg*3\n");
}

TEST_F(CheckCommand, WarningsAndVideoLines) {
    write("a.jpg", "x");
    write("w.txt", "a.jpg*1\n>framerate=30\n>video=clip.avi\n");
    CliRun r = run("check w.txt");
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.out.size(), 4u);
    EXPECT_EQ(r.out[2],
              "Warning: Command 'FrameRate' already defined, extraneous commands ignored.");
    EXPECT_EQ(r.out[3], "Error: picture 'clip.avi' doesn't exist.");
    EXPECT_EQ(r.err.substr(0, 8), "w.txt:3:");
}

TEST_F(CheckCommand, UsageAndUnreadableScripts) {
    EXPECT_EQ(run("check").status, 2);
    EXPECT_EQ(run("check a b").status, 2);
    EXPECT_EQ(run("frobnicate").status, 2);
    CliRun missing = run("check nope.txt");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "quillfen: cannot open script 'nope.txt': No such file or directory\n");
    EXPECT_TRUE(missing.out.empty());

    std::filesystem::create_directory(folder + "/folder.txt");
    write("garbage.txt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    write("huge.txt", "");
    std::filesystem::resize_file(folder + "/huge.txt", (std::uintmax_t{64} << 20) + 1);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"folder.txt", "Is a directory"},
        {"garbage.txt", "Not a text file (it holds NUL bytes)"},
        {"huge.txt", "File is larger than 64 MiB"}};
    for (const auto& [name, reason] : cases) {
        for (const char* command : {"check ", "build -y -o m.avi "}) {
            CliRun r = run(command + name);
            EXPECT_EQ(r.status, 2) << command << name;
            EXPECT_EQ(r.err, "quillfen: cannot open script '" + name + "': " + reason + "\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/m.avi"));
}

TEST_F(CheckCommand, WindowsNamesAreFoundWithoutRegardToCase) {
    write("Pics/Beach.JPG", "x");
    write("Pics/Seq/IMG001.jpg", "x");
    write("Pics/Seq/img002.JPG", "x");
    write("Pics/dup/a.png", "x");
    write("Pics/dup/A.png", "x");
    write("win.txt",
          ">path=PICS\\\r\nbeach.jpg*1\r\n>sequence=seq\\img[3].jpg|1\r\nBeach.JPG. *1\r\n"
          "dup\\A.PNG*1\r\n");
    CliRun r = run("check win.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.size(), 11u) << r.err;
    EXPECT_EQ(r.out[2],
              "Warning: 'PICS\\dup\\A.PNG' matches files that differ only in letter "
              "case; 'Pics/dup/A.png' is used, not 'Pics/dup/a.png'.");
    EXPECT_EQ(r.out[4], "Total movie time: 00:03.08  (77 frames)");
    // Both pictures of the sequence are found although neither is spelled as the Script has it.
    EXPECT_EQ(r.out[6].substr(r.out[6].find("nbFrames:")),
              "nbFrames:2  nbAVIFrames:2  file:PICS\\seq\\img%03d.jpg");
}

TEST_F(CheckCommand, WindowsDrivePathsSayThatThereAreNoDrives) {
    write("drive.txt", ">path=C:\\Shows\\\na.jpg\n");
    CliRun r = run("check drive.txt");
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.out.size(), 4u);
    EXPECT_EQ(r.out[2],
              "Warning: 'C:\\Shows\\' starts with the Windows drive 'C:'; there are no drive "
              "letters on this system.");
    EXPECT_EQ(r.out[3], "Error: Specified path 'C:\\Shows\\' doesn't exist.");
}

TEST_F(CheckCommand, AListingThatCannotBeWrittenIsAFailure) {
    write("a.jpg", "x");
    write("ok.txt", "a.jpg*1\n");
    CliRun full = run("check ok.txt >/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "quillfen: cannot write the listing to standard output\n");
}

TEST_F(CheckCommand, HelpAndVersion) {
    CliRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    bool listsCheck = false;
    for (const std::string& line : help.out)
        listsCheck = listsCheck || line.rfind("  check SCRIPT", 0) == 0;
    EXPECT_TRUE(listsCheck);
    // Without a command the window opens; with no display to open it on, that is a usage
    // error that points to the commands.
    CliRun noDisplay = run("", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ");
    EXPECT_EQ(noDisplay.status, 2);
    EXPECT_NE(noDisplay.err.find("no display"), std::string::npos);
    CliRun version = run("--version");
    EXPECT_EQ(version.status, 0);
    ASSERT_EQ(version.out.size(), 1u);
    EXPECT_TRUE(std::regex_match(version.out[0], std::regex(R"(quillfen \d+\.\d.*)")));
}

TEST_F(CheckCommand, EveryCommandAnswersHelpWithItsUsage) {
    for (std::string command : {"build", "frame", "check", "picture", "codecs", "effects"}) {
        for (std::string flag : {"--help", "-h"}) {
            CliRun help = run(command + " " + flag);
            EXPECT_EQ(help.status, 0) << command << " " << flag;
            ASSERT_FALSE(help.out.empty()) << command << " " << flag;
            EXPECT_EQ(help.out[0].rfind("Usage: quillfen " + command, 0), 0u) << help.out[0];
            EXPECT_EQ(help.err, "") << command << " " << flag;
        }
    }
}

}  // namespace
