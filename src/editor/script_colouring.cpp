#include "editor/script_colouring.h"

#include "script/command_table.h"

namespace quillfen {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isWordChar(char c) {
    return isAsciiLetter(c) || isDigit(c) || c == '&' || c == '.' || c == '>' || c == '_';
}

std::int32_t colourForState(std::uint32_t state) {
    if (state & (kCookieComment | kCookieExtComment)) return kColourComment;
    if (state & kCookieString) return kColourString;
    return kColourNormalText;
}

// A block never goes before the last one: runs must stay in increasing order.
void addBlock(std::vector<TextBlock>* blocks, std::int32_t pos, std::int32_t colour) {
    if (blocks == nullptr) return;
    if (blocks->empty() || pos >= blocks->back().charPos) blocks->push_back({pos, colour});
}

void testWord(std::vector<TextBlock>* blocks, std::string_view line, int start, int end) {
    const std::string_view word = line.substr(start, end - start);
    if (findCommandKeyword(word)) {
        addBlock(blocks, start, kColourKeyword);
    } else if (isScriptNumber(word)) {
        addBlock(blocks, start, kColourNumber);
    }
}

}  // namespace

bool isScriptNumber(std::string_view word) {
    if (word.size() > 2 && word[0] == '&' && (word[1] == 'h' || word[1] == 'H')) {
        for (char c : word.substr(2)) {
            if (!isHexDigit(c)) return false;
        }
        return true;
    }
    if (word.empty() || !isDigit(word[0])) return false;
    for (char c : word.substr(1)) {
        if (!isDigit(c) && c != '+' && c != '-' && c != '.' && c != 'E' && c != 'e') return false;
    }
    return true;
}

ColourValue GetColor(int index, const ScriptColours& colours) {
    switch (index) {
        case kColourWhiteSpace:
        case kColourBackground:
        case kColourSelectedText:
            return colours.background;
        case kColourNormalText:
        case kColourSelectionBackground:
            return colours.normal;
        case kColourSelectionMargin:
            return colours.selectionMargin;
        case kColourKeyword:
            return colours.keyword;
        case kColourComment:
            return colours.comment;
        case kColourNumber:
            return colours.number;
        case kColourOperator:
            return makeColour(0, 0, 0);
        case kColourPreprocessor:
            return makeColour(0, 128, 192);
        default:
            return colours.string;
    }
}

std::uint32_t ParseLine(std::uint32_t state, std::string_view line,
                        std::vector<TextBlock>* blocks) {
    const int n = static_cast<int>(line.size());
    if (n <= 0) return state & kCookieExtComment;

    bool pendingBlock = true;
    bool backStep = false;
    int wordStart = -1;
    int stringChars = 0;
    int i = 0;
    for (;; ++i) {
        if (pendingBlock) {
            addBlock(blocks, backStep ? i - 1 : i, colourForState(state));
            pendingBlock = false;
            backStep = false;
        }
        if (i == n) break;
        if (state & kCookieComment) {
            addBlock(blocks, i, kColourComment);
            break;
        }
        const char c = line[i];
        if (state & kCookieString) {
            if (c == '"' && !(i > 0 && line[i - 1] == '"' && stringChars > 0)) {
                state &= ~kCookieString;
                pendingBlock = true;
            } else {
                ++stringChars;
            }
            continue;
        }
        if (c == ';') {
            addBlock(blocks, i, kColourComment);
            break;
        }
        if (blocks == nullptr) continue;
        if (isWordChar(c)) {
            if (wordStart == -1) wordStart = i;
        } else if (wordStart >= 0) {
            testWord(blocks, line, wordStart, i);
            pendingBlock = true;
            backStep = true;
            wordStart = -1;
        }
    }
    if (wordStart >= 0) testWord(blocks, line, wordStart, i);
    return state;
}

}  // namespace quillfen
