#include "editor/view/script_highlighter.h"

#include <string>
#include <vector>

namespace quillfen {

QColor toQColor(ColourValue value) {
    return QColor(redOf(value), greenOf(value), blueOf(value));
}

ScriptHighlighter::ScriptHighlighter(QTextDocument* document, const ScriptColours& colours)
    : QSyntaxHighlighter(document), colours_(colours) {}

void ScriptHighlighter::setColours(const ScriptColours& colours) {
    colours_ = colours;
    rehighlight();
}

void ScriptHighlighter::highlightBlock(const QString& text) {
    // The colouring works on the bytes of the line; map byte offsets back to QString offsets.
    const std::string bytes = text.toStdString();
    std::vector<int> utf16At(bytes.size() + 1, 0);
    int byte = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int width =
            QStringView(text).mid(i, text.at(i).isHighSurrogate() ? 2 : 1).toUtf8().size();
        for (int k = 0; k < width && byte < static_cast<int>(bytes.size()); ++k)
            utf16At[byte++] = i;
        if (text.at(i).isHighSurrogate()) ++i;
    }
    for (; byte <= static_cast<int>(bytes.size()); ++byte)
        utf16At[byte] = text.size();

    std::vector<TextBlock> blocks;
    ParseLine(0, bytes, &blocks);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const int from = utf16At[blocks[b].charPos];
        const int to = b + 1 < blocks.size() ? utf16At[blocks[b + 1].charPos] : text.size();
        if (to > from)
            setFormat(from, to - from, toQColor(GetColor(blocks[b].colorIndex, colours_)));
    }
}

}  // namespace quillfen
