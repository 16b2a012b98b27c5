// The settings store: where it lives, the defaults, and the Recent Scripts section.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/app_settings.h"
#include "app/app_start.h"

namespace quillfen {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() { settings.store().clear(); }
    AppSettings settings;
};

TEST_F(SettingsTest, LivesInTheConfigFolderUnderTheCompanyAndProgramNames) {
    settings.setOutputFile("/m/a.avi");
    const QString expected =
        QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Brindlemoor/Quillfen.conf");
    EXPECT_EQ(QFileInfo(settings.store().fileName()).absoluteFilePath(), expected);
    EXPECT_TRUE(QFileInfo::exists(expected));
    EXPECT_EQ(AppSettings().outputFile(), "/m/a.avi");
}

TEST_F(SettingsTest, DefaultsAndHandEditedValues) {
    EXPECT_EQ(settings.outputFile(), "");
    const LogFont font = settings.scriptFont();
    EXPECT_EQ(font.faceName, "Courier New");
    EXPECT_EQ(font.height, 16);
    EXPECT_EQ(font.weight, 400);
    const ScriptColours colours = settings.scriptColours();
    EXPECT_EQ(colours.comment, makeColour(0, 128, 0));
    EXPECT_EQ(colours.string, makeColour(255, 0, 255));

    settings.store().setValue("Settings/ScriptFont", "Liberation Mono");
    settings.store().setValue("Settings/ColorScriptBk", "255 0 0");
    settings.store().setValue("Settings/ColorScriptNormal", "12");
    EXPECT_EQ(settings.scriptFont().height, 0);
    EXPECT_EQ(settings.scriptFont().weight, 0);
    EXPECT_EQ(settings.scriptColours().background, makeColour(255, 0, 0));
    EXPECT_EQ(settings.scriptColours().normal, makeColour(12, 0, 0));
}

TEST_F(SettingsTest, ValuesTypedIntoTheFileWithCommasReadAsOneText) {
    settings.store().sync();
    QFile conf(settings.store().fileName());
    // A fresh test process has no settings folder yet: the store only makes it when it writes.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(conf).absolutePath()));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write(
        "[Settings]\nScriptFont=Liberation Mono,20,0,700,1,0,0\n"
        "ColorScriptComment=10, 20, 30\nOutputFile=/m/a,b.avi\n"
        "[Recent%20Scripts]\nScript_00=/s/x,y.txt\n");
    conf.close();
    AppSettings reread;
    reread.store().sync();  // the file changed behind the store's back
    const LogFont font = reread.scriptFont();
    EXPECT_EQ(font.faceName, "Liberation Mono");
    EXPECT_EQ(font.height, 20);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 1);
    EXPECT_EQ(reread.scriptColours().comment, makeColour(10, 20, 30));
    EXPECT_EQ(reread.outputFile(), "/m/a,b.avi");
    EXPECT_EQ(reread.recentScripts().entries(), std::vector<std::string>{"/s/x,y.txt"});
}

TEST_F(SettingsTest, RecentScriptsAreWrittenAsTheirOwnSection) {
    RecentScripts many;
    for (int i = 0; i < 3; ++i)
        many.add("/s/" + std::to_string(i) + ".txt");
    settings.writeRecentScripts(many);
    EXPECT_EQ(settings.store().value("Recent Scripts/Script_00").toString(), "/s/2.txt");

    RecentScripts fewer;
    fewer.add("/s/only.txt");
    settings.writeRecentScripts(fewer);
    EXPECT_EQ(settings.recentScripts().entries(), std::vector<std::string>{"/s/only.txt"});
    EXPECT_FALSE(settings.store().contains("Recent Scripts/Script_01"));
}

TEST(WindowStartTest, ArgumentsThatOpenTheWindow) {
    EXPECT_TRUE(windowStartFromArgs({}).has_value());
    EXPECT_EQ(windowStartFromArgs({"show.txt"})->script, "show.txt");
    const auto automation = windowStartFromArgs({"--automation"});
    ASSERT_TRUE(automation);
    EXPECT_TRUE(automation->automation);
    EXPECT_FALSE(windowStartFromArgs({"a.txt", "b.txt"}));
    EXPECT_FALSE(windowStartFromArgs({"--frobnicate"}));
}

}  // namespace
}  // namespace quillfen
