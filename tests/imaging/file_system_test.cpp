#include "base/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace quillfen {
namespace {

class FileSystemTest : public ::testing::Test {
  protected:
    FileSystemTest() {
        std::ofstream(root + "/file.jpg") << "x";
        std::filesystem::create_directory(root + "/dir");
    }
    testing::TempFolder temp;
    const std::string root = temp.path();
};

TEST_F(FileSystemTest, FileExistsForFilesAndDirectories) {
    EXPECT_TRUE(FileExists(root + "/file.jpg"));
    EXPECT_TRUE(FileExists(root + "/dir"));
    EXPECT_FALSE(FileExists(root + "/none.jpg"));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileSystemTest, ANameWithANulByteNamesNothingNotTheShorterName) {
    // The system would read "dir/\0x" as the folder "dir/" and say it exists.
    const std::string name = root + "/dir/" + std::string(1, '\0') + "x.png";
    EXPECT_FALSE(FileExists(name));
    EXPECT_FALSE(DirectoryExists(root + std::string(1, '\0')));
    EXPECT_FALSE(ReadFileStamp(root + "/file.jpg" + std::string(1, '\0')).has_value());
    EXPECT_TRUE(ReadFileStamp(root + "/file.jpg").has_value());
}

TEST_F(FileSystemTest, DirectoryExistsIgnoresOneTrailingSeparator) {
    EXPECT_TRUE(DirectoryExists(root + "/dir"));
    EXPECT_TRUE(DirectoryExists(root + "/dir/"));
    EXPECT_TRUE(DirectoryExists(root + "/dir\\"));
    EXPECT_FALSE(DirectoryExists(root + "/file.jpg"));
    EXPECT_FALSE(DirectoryExists(root + "/none/"));
    EXPECT_TRUE(DirectoryExists("/"));
}

TEST_F(FileSystemTest, DriveRootsCountWithoutTheDisk) {
    EXPECT_TRUE(DirectoryExists("C:"));
    EXPECT_TRUE(DirectoryExists("C:\\"));
    EXPECT_TRUE(DirectoryExists("d:/"));
    EXPECT_FALSE(DirectoryExists("C:\\pics"));
}

TEST_F(FileSystemTest, CreateDirectoryPathMakesEveryLevel) {
    EXPECT_TRUE(CreateDirectoryPath(root + "/a/b/c/movie.avi", true));
    EXPECT_TRUE(DirectoryExists(root + "/a/b/c"));
    EXPECT_FALSE(FileExists(root + "/a/b/c/movie.avi"));
    EXPECT_TRUE(CreateDirectoryPath(root + "/x/y", false));
    EXPECT_TRUE(DirectoryExists(root + "/x/y"));
    EXPECT_TRUE(CreateDirectoryPath("movie.avi", true));  // the current directory
    EXPECT_FALSE(CreateDirectoryPath(root + "/file.jpg/sub/m.avi", true));
}

}  // namespace
}  // namespace quillfen
