#include "editor/script_colouring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillfen {
namespace {

std::vector<TextBlock> colour(std::string_view line) {
    std::vector<TextBlock> blocks;
    ParseLine(0, line, &blocks);
    return blocks;
}

// The colour index that the blocks give to the character at `pos`.
int colourAt(const std::vector<TextBlock>& blocks, int pos) {
    int colour = kColourBackground;
    for (const TextBlock& b : blocks) {
        if (b.charPos <= pos) colour = b.colorIndex;
    }
    return colour;
}

// One letter per character: k keyword, n number, c comment, . normal text.
std::string paint(std::string_view line) {
    const auto blocks = colour(line);
    std::string out;
    for (int i = 0; i < static_cast<int>(line.size()); ++i) {
        switch (colourAt(blocks, i)) {
            case kColourKeyword:
                out += 'k';
                break;
            case kColourNumber:
                out += 'n';
                break;
            case kColourComment:
                out += 'c';
                break;
            case kColourNormalText:
                out += '.';
                break;
            default:
                out += '?';
        }
    }
    return out;
}

TEST(ScriptColouring, CommandWordsNumbersAndPunctuation) {
    EXPECT_EQ(paint(">Resize=1920,1080"), "kkkkkkk.nnnn.nnnn");
    EXPECT_EQ(paint(">FRAMERATE=12.5"), "kkkkkkkkkk.nnnn");
    EXPECT_EQ(paint(">text=&hFF0000"), "kkkkk.nnnnnnnn");
    EXPECT_EQ(paint(">soundtrack=0"), "kkkkkkkkkkk.n");
    // The ">" belongs to the word: without it, or apart from it, there is no keyword.
    EXPECT_EQ(paint("resize=1"), ".......n");
    EXPECT_EQ(paint("> resize"), "........");
    EXPECT_EQ(paint(">resizer"), "........");
}

TEST(ScriptColouring, CommentRules) {
    EXPECT_EQ(paint(">frame=;note"), "kkkkkk.ccccc");
    // The keyword block would lie before the comment block, so the word stays normal text.
    EXPECT_EQ(paint(">frame;x"), "......cc");
    EXPECT_EQ(paint("; >resize 12"), "cccccccccccc");
    EXPECT_EQ(paint("a.jpg*2 ; 25"), "......n.cccc");
}

TEST(ScriptColouring, NumberTest) {
    EXPECT_FALSE(isScriptNumber("12abc"));
    EXPECT_FALSE(isScriptNumber("0x1F"));
    EXPECT_TRUE(isScriptNumber("1e5"));
    EXPECT_TRUE(isScriptNumber("3.14"));
    EXPECT_TRUE(isScriptNumber("1E+5"));
    EXPECT_FALSE(isScriptNumber("&h"));
    EXPECT_TRUE(isScriptNumber("&h1F"));
    EXPECT_TRUE(isScriptNumber("&Hab"));
    EXPECT_FALSE(isScriptNumber("&h1G"));
    EXPECT_FALSE(isScriptNumber(".5"));
    EXPECT_FALSE(isScriptNumber(""));
    EXPECT_EQ(paint("12abc 0x1F 1e5 &h &h1F"), "...........nnn....nnnn");
}

TEST(ScriptColouring, QuotedTextIsNormalAndStateNeverCarries) {
    std::vector<TextBlock> blocks;
    EXPECT_EQ(ParseLine(0, ">text=\"Hello 12\"", &blocks), 0u);
    for (const TextBlock& b : blocks)
        EXPECT_NE(b.colorIndex, kColourString);
    EXPECT_EQ(paint("\"a;b\""), "..ccc");
}

TEST(ScriptColouring, EmptyLineAndStateOnlyMode) {
    std::vector<TextBlock> blocks;
    EXPECT_EQ(ParseLine(kCookieComment | kCookieExtComment, "", &blocks), kCookieExtComment);
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(ParseLine(0, ">resize=1", nullptr), 0u);
    // A comment state colours the whole line as comment.
    EXPECT_EQ(ParseLine(kCookieComment, "abc", &blocks), kCookieComment);
    EXPECT_EQ(colourAt(blocks, 2), kColourComment);
}

TEST(ScriptColouring, BlocksAreAlwaysInIncreasingOrder) {
    const std::vector<std::string> lines = {">frame;x", "1;2;3", ">kbe=1,2;>stop", "&h1;", "a,b;"};
    for (const auto& line : lines) {
        const auto blocks = colour(line);
        for (std::size_t i = 1; i < blocks.size(); ++i) {
            EXPECT_LE(blocks[i - 1].charPos, blocks[i].charPos) << line;
        }
    }
}

TEST(ScriptColouring, ColourTable) {
    ScriptColours c;
    c.normal = 1;
    c.background = 2;
    c.comment = 3;
    c.keyword = 4;
    c.string = 5;
    c.number = 6;
    c.selectionMargin = 7;
    EXPECT_EQ(GetColor(kColourWhiteSpace, c), 2u);
    EXPECT_EQ(GetColor(kColourBackground, c), 2u);
    EXPECT_EQ(GetColor(kColourNormalText, c), 1u);
    EXPECT_EQ(GetColor(kColourSelectionMargin, c), 7u);
    // The selection is inverse.
    EXPECT_EQ(GetColor(kColourSelectionBackground, c), 1u);
    EXPECT_EQ(GetColor(kColourSelectedText, c), 2u);
    EXPECT_EQ(GetColor(kColourKeyword, c), 4u);
    EXPECT_EQ(GetColor(kColourComment, c), 3u);
    EXPECT_EQ(GetColor(kColourNumber, c), 6u);
    EXPECT_EQ(GetColor(kColourOperator, c), makeColour(0, 0, 0));
    EXPECT_EQ(GetColor(kColourString, c), 5u);
    EXPECT_EQ(GetColor(kColourPreprocessor, c), makeColour(0, 128, 192));
    EXPECT_EQ(GetColor(42, c), 5u);
}

}  // namespace
}  // namespace quillfen
