#include "base/colour.h"

#include <gtest/gtest.h>

namespace quillfen {

TEST(ParseColour, HexIsRrggbbStoredAsBbggrr) {
    EXPECT_EQ(parseColour("#FF8000"), makeColour(255, 128, 0));
    EXPECT_EQ(parseColour("#000000"), 0u);
    EXPECT_EQ(parseColour("#ffffffff"), kNoColour);
    EXPECT_EQ(parseColour("#zz"), 0u);
}

TEST(ParseColour, NamesIgnoreCaseAndUnknownIsBlack) {
    EXPECT_EQ(parseColour("NaVy"), makeColour(0, 0, 128));
    EXPECT_EQ(parseColour("ltgray"), makeColour(192, 192, 192));
    EXPECT_EQ(parseColour("none"), kNoColour);
    EXPECT_EQ(parseColour("teal2"), 0u);
    EXPECT_EQ(parseColour(""), 0u);
}

}  // namespace quillfen
