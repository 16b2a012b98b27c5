#include "base/text_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "script/movie_settings.h"

namespace quillfen {

TEST(TextNumbers, NumbersAreReadByPrefix) {
    EXPECT_EQ(readInt("  42abc"), 42);
    EXPECT_EQ(readInt("-7"), -7);
    EXPECT_EQ(readInt("x1"), 0);
    EXPECT_EQ(readInt("99999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(readDouble(" 2.5s"), 2.5);
    EXPECT_DOUBLE_EQ(readDouble("-1e2x"), -100.0);
    EXPECT_DOUBLE_EQ(readDouble("1e"), 1.0);
    EXPECT_DOUBLE_EQ(readDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(readDouble("inf"), 0.0);
    EXPECT_DOUBLE_EQ(readDouble("0x10"), 0.0);
}

// Out of the double range a number is infinite or 0, as strtod gives it, never the 0 that a
// failed conversion leaves (which made "pic.jpg*1e999" last one frame).
TEST(TextNumbers, NumbersBeyondTheDoubleRangeSaturate) {
    EXPECT_EQ(readDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(readDouble("-123.5e400s"), -HUGE_VAL);
    EXPECT_EQ(readDouble(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(readDouble("0.000001e305"), 1e299);
    EXPECT_EQ(readDouble("1e-999"), 0.0);
    EXPECT_EQ(readDouble("0.0001e-400"), 0.0);
    EXPECT_EQ(readDouble("1e99999999999999"), HUGE_VAL);
    EXPECT_EQ(MovieSettings{}.secondsToFrames(readDouble("1e999")), 2147483647);
}

TEST(TextNumbers, EmptyPiecesHoldNoPlace) {
    auto pieces = splitPieces("|a||b|", '|');
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "a");
    EXPECT_EQ(pieces[1], "b");
    EXPECT_TRUE(splitPieces("", ',').empty());
    EXPECT_EQ(splitPiecesAny("1 ,2,,3", " ,").size(), 3u);
}

TEST(TextNumbers, HexScansLikePercentX) {
    EXPECT_EQ(readHex("ff8000").value, 0xff8000u);
    EXPECT_EQ(readHex("0x1F").value, 0x1Fu);
    EXPECT_FALSE(readHex("zz").ok);
}

}  // namespace quillfen
