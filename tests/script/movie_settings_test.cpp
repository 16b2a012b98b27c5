#include "script/movie_settings.h"

#include <gtest/gtest.h>

#include "script/script_paths.h"

namespace quillfen {
namespace {

TEST(MovieSettings, SecondsToFramesRoundsAndSaturates) {
    MovieSettings s;
    EXPECT_EQ(s.secondsToFrames(2.5), 63);
    EXPECT_EQ(s.secondsToFrames(0.01), 0);
    EXPECT_EQ(s.secondsToFrames(-1), -24);  // trunc toward zero
    EXPECT_EQ(s.secondsToFrames(1e300), INT_MAX);
    EXPECT_EQ(s.secondsToFrames(-1e300), INT_MIN);
    s.frameRate = 29.97;
    EXPECT_EQ(s.secondsToFrames(1), 30);
}

TEST(MovieSettings, ResetKeepsOnlyTheScriptFolder) {
    MovieSettings s;
    s.scriptFolder = "/scripts";
    s.pictureFolder = "pics/";
    s.frameRate = 10;
    s.imageOptions.crop = 't';
    s.reset();
    EXPECT_EQ(s.scriptFolder, "/scripts");
    EXPECT_TRUE(s.pictureFolder.empty());
    EXPECT_EQ(s.frameRate, 25.0);
    EXPECT_EQ(s.imageOptions.crop, '0');
}

TEST(ScriptPaths, ResolveAndNativeForms) {
    EXPECT_EQ(resolvePicturePath("a.jpg", "pics/"), "pics/a.jpg");
    EXPECT_EQ(resolvePicturePath("/x/a.jpg", "pics/"), "/x/a.jpg");
    EXPECT_EQ(resolvePicturePath("C:\\a.jpg", "pics/"), "C:\\a.jpg");
    EXPECT_EQ(nativePath("pics\\a.jpg", "/s"), "/s/pics/a.jpg");
    EXPECT_EQ(nativePath("\\x\\a.jpg", "/s"), "/x/a.jpg");
    EXPECT_EQ(nativePath("C:\\a.jpg", "/s"), "C:/a.jpg");
    EXPECT_EQ(nativePath("a.jpg", ""), "a.jpg");
}

}  // namespace
}  // namespace quillfen
