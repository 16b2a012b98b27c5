#include "editor/text_buffer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "editor/text_encoding.h"
#include "support/private_disk.h"

namespace quillfen {
namespace {

namespace fs = std::filesystem;

class TextBufferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("quillfen_text_buffer_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::string> linesOf(const CCrystalTextBuffer& buffer) {
        std::vector<std::string> lines;
        for (int i = 0; i < buffer.lineCount(); ++i)
            lines.emplace_back(buffer.line(i));
        return lines;
    }

    fs::path dir_;
};

struct LineEndCase {
    std::string bytes;
    int style;
    std::vector<std::string> lines;
};

TEST_F(TextBufferTest, DetectsLineEndStyleSplitsAndSavesBackByteForByte) {
    const std::string longFirstLine(32767, 'x');  // its line feed is the block's last byte
    const std::vector<LineEndCase> cases = {
        {"a\r\nb", kCrlfStyle, {"a", "b"}},
        {"a\nb", kLfStyle, {"a", "b"}},
        {"a\n\rb", kLfCrStyle, {"a", "b"}},
        {"ab", kCrlfStyle, {"ab"}},
        {"", kCrlfStyle, {""}},
        {"a\r\nb\r\n", kCrlfStyle, {"a", "b", ""}},
        {"\nx\n", kLfStyle, {"", "x", ""}},
        // Only the detected separator splits; stray line ends stay in the line.
        {"a\r\nb\nc\r", kCrlfStyle, {"a", "b\nc\r"}},
        {"a\nb\r\nc", kLfStyle, {"a", "b\r", "c"}},
        {"a\n\rb\n\n\rc", kLfCrStyle, {"a", "b\n", "c"}},
        {longFirstLine + "\n\rb", kLfStyle, {longFirstLine, "\rb"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes.substr(0, 20)));
        const fs::path path = write("case.txt", c.bytes);
        CCrystalTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFromFile(path));
        EXPECT_EQ(buffer.GetCRLFMode(), c.style);
        EXPECT_EQ(linesOf(buffer), c.lines);
        EXPECT_FALSE(buffer.IsModified());
        ASSERT_TRUE(buffer.SaveToFile(dir_ / "copy.txt"));
        EXPECT_EQ(read(dir_ / "copy.txt"), c.bytes);
    }
}

TEST_F(TextBufferTest, ExplicitStyleOverridesDetectionAndConvertsOnSave) {
    const fs::path path = write("s.txt", "a\r\nb\r\n");
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path, kLfStyle));
    EXPECT_EQ(linesOf(buffer), (std::vector<std::string>{"a\r", "b\r", ""}));

    ASSERT_TRUE(buffer.LoadFromFile(path));
    ASSERT_TRUE(buffer.SaveToFile(path, kLfStyle));
    EXPECT_EQ(read(path), "a\nb\n");
    EXPECT_EQ(buffer.GetCRLFMode(), kCrlfStyle);  // saving in another style keeps the buffer's
}

TEST_F(TextBufferTest, LineAccessAndNewText) {
    CCrystalTextBuffer buffer;
    EXPECT_FALSE(buffer.IsInitialised());
    EXPECT_EQ(buffer.lineCount(), 0);
    buffer.InitNew(kLfStyle);
    EXPECT_TRUE(buffer.IsInitialised());
    EXPECT_EQ(buffer.GetLineCount(), 1);
    EXPECT_EQ(buffer.GetLineLength(0), 0);

    ASSERT_TRUE(buffer.LoadFromFile(write("l.txt", "first\r\nsecond line")));
    EXPECT_EQ(buffer.GetLineLength(1), 11);
    EXPECT_EQ(std::string(buffer.GetLineChars(1), 11), "second line");
    EXPECT_EQ(buffer.line(0), "first");
    // Outside the buffer: nothing, never a crash.
    EXPECT_EQ(buffer.GetLineLength(2), 0);
    EXPECT_EQ(buffer.line(-1), "");
    EXPECT_STREQ(buffer.GetLineChars(99), "");

    buffer.FreeAll();
    EXPECT_FALSE(buffer.IsInitialised());
    EXPECT_EQ(buffer.GetLineCount(), 0);
}

TEST_F(TextBufferTest, FailedLoadReportsWhyAndKeepsTheText) {
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(write("k.txt", "keep")));
    EXPECT_FALSE(buffer.LoadFromFile(dir_ / "missing.txt"));
    EXPECT_EQ(buffer.GetLastError(), "No such file or directory");
    EXPECT_FALSE(buffer.LoadFromFile(dir_));  // a folder is not a Script
    EXPECT_EQ(buffer.GetLastError(), "Is a directory");
    // A named pipe without a writer would block a plain open.
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(buffer.LoadFromFile(dir_ / "pipe"));
    EXPECT_EQ(linesOf(buffer), std::vector<std::string>{"keep"});
}

TEST_F(TextBufferTest, FailedSaveLeavesTargetUntouchedAndNoTemporaryFile) {
    CCrystalTextBuffer buffer;
    buffer.InitNew();
    buffer.SetLines({"new text"});

    // No folder to create the temporary file in.
    EXPECT_FALSE(buffer.SaveToFile(dir_ / "absent" / "s.txt"));
    EXPECT_FALSE(buffer.GetLastError().empty());
    EXPECT_FALSE(fs::exists(dir_ / "absent"));

    // The final rename must fail: a file cannot replace a folder that holds something.
    fs::create_directories(dir_ / "target" / "inner");
    write("target/inner/old.txt", "old");
    EXPECT_FALSE(buffer.SaveToFile(dir_ / "target"));
    EXPECT_EQ(read(dir_ / "target" / "inner" / "old.txt"), "old");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"target"});
    EXPECT_TRUE(buffer.IsModified());
}

// In a child with a private 64 KiB disk: a Script on it, the disk filled, then a larger save.
// Exit status 0 when the save failed for lack of space, the file is unchanged and no
// temporary file was left; 1-4 say which of those went wrong.
int saveOntoAFullDisk(const fs::path& folder) {
    const fs::path disk = folder / "small";
    if (!quillfen::testing::mountPrivateDisk(disk.string(), "64k"))
        return quillfen::testing::kNoPrivateDisk;
    std::ofstream(disk / "s.txt") << "old";
    {
        std::ofstream filler(disk / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    CCrystalTextBuffer buffer;
    if (!buffer.LoadFromFile(disk / "s.txt")) return 1;
    buffer.SetLines(std::vector<std::string>(5000, "a line that no longer fits"));
    if (buffer.SaveToFile(disk / "s.txt")) return 2;
    if (buffer.GetLastError().find("No space left") == std::string::npos) return 3;
    std::ifstream in(disk / "s.txt");
    std::string kept((std::istreambuf_iterator<char>(in)), {});
    std::size_t entries = std::distance(fs::directory_iterator(disk), fs::directory_iterator());
    return kept == "old" && entries == 2 ? 0 : 4;
}

TEST_F(TextBufferTest, SaveOntoAFullDiskLeavesTheFileAsItWas) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(saveOntoAFullDisk(dir_));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == quillfen::testing::kNoPrivateDisk)
        GTEST_SKIP() << "no private tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(TextBufferTest, SaveReplacesTargetKeepingPermissionsAndLinks) {
    const fs::path path = write("p.txt", "old\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    buffer.SetLines({"new", ""});
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ(read(path), "new\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"p.txt"});

    // Saving through a symbolic link rewrites the file it points to and keeps the link.
    fs::create_symlink("p.txt", dir_ / "link.txt");
    buffer.SetLines({"via link"});
    ASSERT_TRUE(buffer.SaveToFile(dir_ / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(read(path), "via link");
}

TEST_F(TextBufferTest, ReadOnlyFromPermissions) {
    const fs::path path = write("r.txt", "x");
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_FALSE(buffer.IsReadOnly());
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_TRUE(buffer.IsReadOnly());
    buffer.InitNew();
    EXPECT_FALSE(buffer.IsReadOnly());
}

TEST_F(TextBufferTest, ModifiedFlagAndItsObserver) {
    CCrystalTextBuffer buffer;
    std::vector<bool> heard;
    buffer.SetModifiedCallback([&](bool modified) { heard.push_back(modified); });
    buffer.InitNew();
    buffer.SetModified(true);
    buffer.SetModified(true);  // no change, nothing to hear
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.SaveToFile(dir_ / "m.txt", -1, false));
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.SaveToFile(dir_ / "m.txt"));
    EXPECT_FALSE(buffer.IsModified());
    buffer.SetLines({"edited"});
    ASSERT_TRUE(buffer.LoadFromFile(dir_ / "m.txt"));
    EXPECT_EQ(heard, (std::vector<bool>{true, false, true, false}));
}

TEST_F(TextBufferTest, Windows1252TextRoundTripsUnchanged) {
    // e-acute, euro sign, and 0x81, which the code page leaves undefined.
    const std::string bytes = "caf\xE9 \x80\r\n\x81 end";
    const fs::path path = write("w.txt", bytes);
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_EQ(buffer.GetEncoding(), TextEncoding::Windows1252);
    EXPECT_EQ(buffer.line(0), "caf\u00E9 \u20AC");
    EXPECT_EQ(buffer.line(1), "\u0081 end");
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ(read(path), bytes);

    // Text the code page cannot hold is saved as UTF-8 rather than lost.
    buffer.SetLines({"caf\u00E9", "\u65E5\u672C"});
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ(read(path), "caf\u00E9\r\n\u65E5\u672C");
    EXPECT_EQ(buffer.GetEncoding(), TextEncoding::Utf8);
}

TEST_F(TextBufferTest, ByteOrderMarkIsKeptOutOfTheFirstLineAndWrittenBack) {
    const std::string bytes = "\xEF\xBB\xBF>resize=720x576\r\nb\u00E9.jpg";
    const fs::path path = write("bom.txt", bytes);
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_EQ(buffer.GetEncoding(), TextEncoding::Utf8WithBom);
    EXPECT_EQ(buffer.line(0), ">resize=720x576");
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ(read(path), bytes);
}

TEST(TextEncodingTest, RejectsMalformedUtf8) {
    EXPECT_TRUE(isValidUtf8("plain \u00E9\u20AC\U0001F600"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));              // stray continuation
    EXPECT_EQ(utf8ToWindows1252("\u0100"), std::nullopt);
    EXPECT_EQ(utf8ToWindows1252("\xE2\x82"), std::nullopt);
}

TEST(TextEncodingTest, EveryWindows1252ByteComesBack) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToWindows1252(utf8), all);
}

}  // namespace
}  // namespace quillfen
