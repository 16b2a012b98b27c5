#include "timeline/element_list.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "timeline/frame_element.h"
#include "timeline/movie_time.h"
#include "timeline/sequence_element.h"
#include "timeline/text_element.h"
#include "timeline/transition_element.h"

namespace quillfen {
namespace {

class ElementListTest : public ::testing::Test {
  protected:
    ElementListTest() {
        settings.scriptFolder = folder.path();
        folder.touch("a.jpg");
        folder.touch("b.jpg");
        for (int i = 0; i < 40; ++i)
            folder.touch(formatText("s%02d.png", i));
    }
    void source(const char* name, int frames) {
        list.push_back(std::make_unique<SourceElement>(line++, settings, name, frames));
    }
    void transition(double seconds) {
        list.push_back(std::make_unique<TransitionElement>(
            line++, settings, formatText("Wipe|%g", seconds), catalogue));
    }
    void sequence() {
        list.push_back(std::make_unique<SequenceElement>(line++, settings, "s[2].png"));
    }
    void text() { list.push_back(std::make_unique<TextElement>(line++, settings, "hi", tail)); }

    testing::TempFolder folder;
    MovieSettings settings;
    EffectCatalogue catalogue;
    CaptionTail tail;
    ElementList list;
    int line = 0;
};

TEST_F(ElementListTest, RoadExample) {
    settings.resizeWidth = 720;
    settings.resizeHeight = 576;
    source("a.jpg", 50);
    transition(1);
    source("b.jpg", 50);
    ASSERT_FALSE(linkElements(list));
    EXPECT_EQ(countFrames(list), 125);
    EXPECT_EQ(formatMovieTime(125 / settings.frameRate), "00:05.00");
    EXPECT_EQ(list[0]->describe(),
              "00:00.00  Source\tlineNum:0  nbFrames:75  nbAVIFrames:50  file:a.jpg");
    EXPECT_EQ(list[1]->describe(),
              "00:02.00  Transition\tlineNum:1  nbFrames:25  nbAVIFrames:25 Tr=Wipe  #0 --> #2");
    EXPECT_EQ(list[2]->describe(),
              "00:03.00  Source\tlineNum:2  nbFrames:75  nbAVIFrames:50  file:b.jpg");
}

TEST_F(ElementListTest, MovingNeighboursGiveUpFramesButKeepOne) {
    sequence();
    transition(0.4);
    sequence();
    ASSERT_FALSE(linkElements(list));
    EXPECT_EQ(list[0]->nbFrames(), 40);
    EXPECT_EQ(list[0]->nbAVIFrames(), 30);
    EXPECT_EQ(countFrames(list), 70);

    list.clear();
    sequence();
    transition(3);  // 75 frames, longer than the Sequence
    source("a.jpg", 1);
    ASSERT_FALSE(linkElements(list));
    EXPECT_EQ(list[0]->nbAVIFrames(), 1);
}

TEST_F(ElementListTest, OverlaysAreSkippedWhenLooking) {
    source("a.jpg", 25);
    text();
    transition(0.4);
    text();
    source("b.jpg", 25);
    ASSERT_FALSE(linkElements(list));
    auto& t = static_cast<TransitionElement&>(*list[2]);
    EXPECT_EQ(t.prev, list[0].get());
    EXPECT_EQ(t.next, list[4].get());
    EXPECT_EQ(list[0]->nbFrames(), 35);
    EXPECT_EQ(countFrames(list), 60);
    EXPECT_EQ(list[4]->firstMovieFrame(), 35);
}

TEST_F(ElementListTest, TransitionWithoutNeighbourIsAnError) {
    transition(1);
    source("a.jpg", 1);
    std::optional<LinkError> first = linkElements(list);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->lineIndex, 0);
    EXPECT_EQ(first->text, kIllegalPositionText);

    list.clear();
    source("a.jpg", 1);
    transition(1);
    text();
    std::optional<LinkError> last = linkElements(list);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->lineIndex, line - 2);
}

TEST_F(ElementListTest, EmptyListCountsZero) {
    EXPECT_FALSE(linkElements(list));
    EXPECT_EQ(countFrames(list), 0);
}

TEST(MovieTime, Formats) {
    EXPECT_EQ(formatMovieTime(0), "00:00.00");
    EXPECT_EQ(formatMovieTime(0.995), "00:00.100");
    EXPECT_EQ(formatMovieTime(61.5), "01:01.50");
    EXPECT_EQ(formatMovieTime(3725.25), "62:05.25");
    // Times beyond the int range of seconds (a tiny frame rate) stop at its end.
    EXPECT_EQ(formatMovieTime(1e300), "35791394:07.00");
    EXPECT_EQ(formatMovieTime(2147483647.5), "35791394:07.50");
}

TEST(GeometryValue, PercentagesAndPixels) {
    GeometryValue percent = GeometryValue::read(" 10%");
    EXPECT_TRUE(percent.percent);
    EXPECT_EQ(percent.pixels, 0);
    percent.layout(720);
    EXPECT_EQ(percent.pixels, 72);
    GeometryValue pixels = GeometryValue::read("12.9");
    pixels.layout(1000);
    EXPECT_EQ(pixels.pixels, 12);
    EXPECT_EQ(GeometryValue::read("150%").pixels, 2);
}

}  // namespace
}  // namespace quillfen
