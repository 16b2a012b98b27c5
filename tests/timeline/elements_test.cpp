#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "timeline/caption_tail.h"
#include "timeline/frame_element.h"
#include "timeline/kbe_element.h"
#include "timeline/pip_element.h"
#include "timeline/sequence_element.h"
#include "timeline/text_element.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

class ElementsTest : public ::testing::Test {
  protected:
    ElementsTest() { settings.scriptFolder = folder.path(); }
    testing::TempFolder folder;
    MovieSettings settings;
};

TEST_F(ElementsTest, SourceChecksExistenceThenKind) {
    folder.touch("pics/a.jpg");
    folder.touch("pics/a.gif");
    settings.pictureFolder = "pics/";
    SourceElement ok(3, settings, "a.jpg", 50);
    EXPECT_TRUE(ok.valid);
    EXPECT_EQ(ok.file, "pics/a.jpg");
    EXPECT_EQ(ok.nbFrames(), 50);
    EXPECT_EQ(ok.nbAVIFrames(), 50);
    EXPECT_EQ(ok.lineNum, 3);

    SourceElement missing(0, settings, "b.jpg", 1);
    EXPECT_FALSE(missing.valid);
    EXPECT_EQ(missing.message, "Error: picture 'pics/b.jpg' doesn't exist.");
    SourceElement gif(0, settings, "a.gif", 1);
    EXPECT_EQ(gif.message, kBadImageFormatText);

    settings.pictureFolder.clear();
    SourceElement backslash(0, settings, "pics\\a.jpg", 1);  // Windows separators still find it
    EXPECT_TRUE(backslash.valid);
    SourceElement blanks(0, settings, "   ", 1);
    EXPECT_FALSE(blanks.valid);
}

TEST_F(ElementsTest, SequenceFindsItsRunOnDisk) {
    for (int i = 0; i <= 41; ++i)
        folder.touch(formatText("shot%03d.png", i));
    SequenceElement run(0, settings, "shot[3].png|0");
    ASSERT_TRUE(run.valid) << run.message;
    EXPECT_EQ(run.lastNumber, 41);
    EXPECT_EQ(run.nbFrames(), 42);
    EXPECT_EQ(run.file, "shot%03d.png");
    EXPECT_EQ(run.fileNameFor(7), "shot007.png");

    SequenceElement explicitRange(0, settings, "shot[ 3 ].png|5|2");
    EXPECT_TRUE(explicitRange.valid);
    EXPECT_EQ(explicitRange.lastNumber, 5);
    EXPECT_EQ(explicitRange.nbFrames(), 1);

    SequenceElement fromMiddle(0, settings, "shot[3].png|40");
    EXPECT_EQ(fromMiddle.nbFrames(), 2);
    EXPECT_EQ(fromMiddle.currentNumber, 40);
}

TEST_F(ElementsTest, SequenceSingleFileZeroIsARun) {
    folder.touch("one0.png");
    SequenceElement one(0, settings, "one[1].png");
    EXPECT_TRUE(one.valid);
    EXPECT_EQ(one.nbFrames(), 1);
}

TEST_F(ElementsTest, SequenceWithoutDigitCountNumbersUnpadded) {
    for (int i = 1; i <= 12; ++i)
        folder.touch(formatText("clip%d.png", i));
    SequenceElement range(0, settings, "clip[0].png|1|12");
    ASSERT_TRUE(range.valid) << range.message;
    EXPECT_EQ(range.nbFrames(), 12);
    EXPECT_EQ(range.fileNameFor(12), "clip12.png");

    // Unpadded numbers are not limited by a digit count: the search runs past 9.
    SequenceElement found(0, settings, "clip[].png|1");
    ASSERT_TRUE(found.valid) << found.message;
    EXPECT_EQ(found.lastNumber, 12);

    EXPECT_FALSE(SequenceElement(0, settings, "clip[-2].png|1|3").valid);
}

TEST_F(ElementsTest, SequenceEndingOnTheLargestNumberStopsThere) {
    SequenceElement last(0, settings, "s[3].png|2147483647|2147483647");
    ASSERT_TRUE(last.valid) << last.message;
    ASSERT_EQ(last.nbFrames(), 1);
    EXPECT_FALSE(last.nextFrame());
    EXPECT_EQ(last.unreadablePicture(), "s2147483647.png");
    EXPECT_FALSE(last.nextFrame());
}

TEST_F(ElementsTest, InvalidSequencesSayWhy) {
    for (int i = 0; i <= 9; ++i)
        folder.touch(formatText("d%d.png", i));
    SequenceElement noBrackets(0, settings, "shot.png");
    EXPECT_FALSE(noBrackets.valid);
    EXPECT_NE(noBrackets.message.find("digit count in brackets"), std::string::npos);
    SequenceElement noFiles(0, settings, "none[3].png|1");
    EXPECT_FALSE(noFiles.valid);
    EXPECT_EQ(noFiles.message, "Error: no file of sequence 'none001.png' exists.");
    SequenceElement full(0, settings, "d[1].png");
    EXPECT_FALSE(full.valid);
    EXPECT_NE(full.message.find("more files than 1 digits"), std::string::npos);
}

TEST_F(ElementsTest, SequencePercentIsLiteral) {
    folder.touch("100%_01.png");
    SequenceElement percent(0, settings, "100%_[2].png|1");
    ASSERT_TRUE(percent.valid) << percent.message;
    EXPECT_EQ(percent.fileNameFor(1), "100%_01.png");
    EXPECT_EQ(percent.file, "100%%_%02d.png");
}

TEST_F(ElementsTest, FrameCountsWithoutMinimum) {
    settings.resizeWidth = 720;
    settings.resizeHeight = 576;
    FrameElement red(0, settings, "red|2");
    EXPECT_EQ(red.nbFrames(), 50);
    EXPECT_EQ(red.width, 720);
    EXPECT_EQ(red.describe(),
              "00:00.00  Frame\t\tlineNum:0  nbFrames:50  nbAVIFrames:50  color:0000ff");
    EXPECT_EQ(FrameElement(0, settings, "red").nbFrames(), 0);
    EXPECT_EQ(FrameElement(0, settings, "none|1").colour, kNoColour);
    EXPECT_EQ(FrameElement(0, settings, "red|-2").nbFrames(), 0);
}

TEST_F(ElementsTest, TransitionDurationsAndEffects) {
    EffectCatalogue catalogue({{ClassId{1, 2, 3, {}}, "reg", "Wipe"}});
    EXPECT_EQ(TransitionElement(0, settings, "Fade|0.5", catalogue).nbFrames(), 13);
    EXPECT_EQ(TransitionElement(0, settings, "Fade|0.01", catalogue).nbFrames(), 2);
    EXPECT_EQ(TransitionElement(0, settings, "Fade", catalogue).totalFrames, 25);
    TransitionElement backwards(0, settings, "Wipe|-1", catalogue);
    EXPECT_FALSE(backwards.forward);
    EXPECT_EQ(backwards.nbFrames(), 25);
    EXPECT_EQ(backwards.effectClass, (ClassId{1, 2, 3, {}}));
    EXPECT_EQ(TransitionElement(0, settings, "wipe", catalogue).effectClass, kFadeClassId);
    TransitionElement noName(0, settings, "||", catalogue);
    EXPECT_FALSE(noName.valid);
    EXPECT_EQ(noName.message, kMandatoryParameterText);
}

TEST_F(ElementsTest, PipPlacementsSkipEmptyGroups) {
    PipElement pip(0, settings, "10%,10%,30%,2%,2,7||5");
    EXPECT_TRUE(pip.valid);
    EXPECT_EQ(pip.nbFrames(), 1);
    EXPECT_TRUE(pip.first.x.percent);
    EXPECT_EQ(pip.first.x.number, 10);
    EXPECT_EQ(pip.first.frames, 50);
    EXPECT_EQ(pip.first.extra, 7);
    EXPECT_EQ(pip.second.x.pixels, 5);
    EXPECT_EQ(pip.second.frames, 50);  // the first placement's time carries over

    PipElement timed(0, settings, "1,2,3|4,5|2");
    EXPECT_EQ(timed.nbFrames(), 50);
    EXPECT_EQ(timed.second.y.pixels, 5);
    EXPECT_EQ(timed.first.frames, 50);
}

TEST_F(ElementsTest, KbeHoldsAndSteps) {
    folder.touch("pic.jpg");
    KbeElement kbe(0, settings, "pic.jpg|0,0,100%|25%,25%,50%|4");
    ASSERT_TRUE(kbe.valid) << kbe.message;
    EXPECT_EQ(kbe.steps, 100);
    EXPECT_EQ(kbe.startHold, 100);
    EXPECT_EQ(kbe.targetHold, 100);
    EXPECT_EQ(kbe.nbFrames(), 300);
    EXPECT_EQ(kbe.stepIndex, 1);

    KbeElement holds(0, settings, "pic.jpg|0,0,100%,0,0|25%,25%,50%,0,0.04|4|1,0");
    EXPECT_EQ(holds.nbFrames(), 100);
    EXPECT_EQ(holds.stepIndex, 0);
    EXPECT_EQ(holds.extraFrames[0], 25);
    EXPECT_EQ(holds.extraFrames[1], 0);
    EXPECT_EQ(holds.describe(),
              "00:00.00  KBE\t\tlineNum:0  nbFrames:100  nbAVIFrames:100  file:pic.jpg  "
              "S=(0,0)x1 z=0 t=0  T=(0,0)x1 z=0 t=1 in 100 steps (25/0)");

    EXPECT_FALSE(KbeElement(0, settings, "gone.jpg|0,0,0|0,0,0|1").valid);
    EXPECT_EQ(KbeElement(0, settings, "pic.jpg||0,0,0,0,-1|-1").nbFrames(), 0);
}

TEST_F(ElementsTest, TextRemembersItsTail) {
    CaptionTail tail;
    TextElement first(0, settings, "Hello|10%,80%,80%,10%|Arial,36|288,white,none,black", tail);
    EXPECT_EQ(first.caption, "Hello");
    EXPECT_EQ(first.formatFlags, 288);
    EXPECT_EQ(first.textColour, makeColour(255, 255, 255));
    EXPECT_EQ(first.shadowColour, 0u);
    EXPECT_EQ(first.font.faceName, "Arial");
    EXPECT_EQ(tail.text(), "|10%,80%,80%,10%|Arial,36|288,white,none,black");

    TextElement second(1, settings, "World", tail);
    EXPECT_EQ(second.file, "World");
    EXPECT_EQ(second.fontText, "Arial,36");
    EXPECT_EQ(second.formatFlags, 288);

    TextElement removal(2, settings, "0", tail);
    EXPECT_TRUE(removal.removesCaptions());
    EXPECT_TRUE(removal.caption.empty());
    EXPECT_EQ(removal.describe(), "00:00.00  Text\t\tlineNum:2");

    settings.stereo = 0;
    second.layout(720, 576);
    EXPECT_EQ(second.x.pixels, 72);
    EXPECT_EQ(second.y.pixels, 461);
    EXPECT_EQ(second.width.pixels, 576);
    EXPECT_EQ(second.height.pixels, 58);
    EXPECT_EQ(second.shadowOffset.pixels, 2);
}

}  // namespace
}  // namespace quillfen
