#include "timeline/text_element.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "script/text_numbers.h"

namespace quillfen {

TextElement::TextElement(int lineIndex, const MovieSettings& movieSettings,
                         std::string_view parameters, CaptionTail& tail)
    : SourceElement(lineIndex, movieSettings) {
    kind = ElementKind::Text;
    valid = true;
    file = std::string(parameters);
    if (removesCaptions()) return;
    std::string text = file;
    std::size_t bar = text.find('|');
    if (bar == std::string::npos) {
        text += tail.text();
    } else {
        tail.remember(text.substr(bar));
    }
    std::vector<std::string_view> groups = splitPieces(text, '|');
    if (!groups.empty()) caption = std::string(groups[0]);
    if (groups.size() > 1) readPosition(groups[1]);
    if (groups.size() > 2) fontText = std::string(groups[2]);
    if (!fontText.empty()) font = ParseFontSpec(fontText);
    if (groups.size() > 3) readStyle(groups[3]);
}

void TextElement::readPosition(std::string_view text) {
    std::vector<std::string_view> values = splitPieces(text, ',');
    GeometryValue* fields[] = {&x, &y, &width, &height, &shift, &shadowOffset};
    for (std::size_t i = 0; i < 6 && i < values.size(); ++i)
        *fields[i] = GeometryValue::read(values[i]);
}

void TextElement::readStyle(std::string_view text) {
    std::vector<std::string_view> values = splitPieces(text, ',');
    if (values.empty()) return;
    formatFlags = readInt(values[0]);
    ColourValue* colours[] = {&textColour, &backColour, &shadowColour};
    for (std::size_t i = 0; i < 3 && i + 1 < values.size(); ++i)
        *colours[i] = parseColour(values[i + 1]);
}

void TextElement::reset() {
    SourceElement::reset();
    kind = ElementKind::Text;
    caption.clear();
    fontText.clear();
    x = y = shift = width = height = GeometryValue{};
    shadowOffset = GeometryValue::ofPixels(2);
    font = LogFont{};
    textColour = 0;
    backColour = shadowColour = kNoColour;
    formatFlags = kSingleLineFlag;
    layer_ = TextLayer{};
    layerWidth_ = layerHeight_ = 0;
}

void TextElement::layout(int frameWidth, int frameHeight) {
    int viewWidth = settings.stereo ? frameWidth / 2 : frameWidth;
    for (GeometryValue* value : {&x, &width, &shift, &shadowOffset})
        value->layout(viewWidth);
    y.layout(frameHeight);
    height.layout(frameHeight);
}

void TextElement::prepareForDrawing(int frameWidth, int frameHeight) {
    if (!firstFrame) return;
    layout(frameWidth, frameHeight);
    // Font sizes are written for a frame 768 pixels high.
    font.height = static_cast<int>(static_cast<double>(frameHeight) * font.height / 768);
    font.width = static_cast<int>(static_cast<double>(frameHeight) * font.width / 768);
    for (std::size_t at = caption.find("\\n"); at != std::string::npos;
         at = caption.find("\\n", at + 2))
        caption.replace(at, 2, "\r\n");
    firstFrame = false;
}

std::vector<TextDrawing> TextElement::drawings(int frameWidth) const {
    TextRect rect{x.pixels, y.pixels, x.pixels + width.pixels, y.pixels + height.pixels};
    std::vector<int> copies{0};
    if (settings.stereo) copies.push_back(frameWidth / 2 + shift.pixels);
    std::vector<TextDrawing> out;
    if (backColour != kNoColour)
        for (int dx : copies)
            out.push_back({caption, rect.moved(dx, 0), formatFlags, kNoColour, backColour});
    if (shadowColour != kNoColour) {
        TextRect shadow = rect.moved(shadowOffset.pixels, shadowOffset.pixels);
        for (int dx : copies)
            out.push_back({caption, shadow.moved(dx, 0), formatFlags, shadowColour, kNoColour});
    }
    for (int dx : copies)
        out.push_back({caption, rect.moved(dx, 0), formatFlags, textColour, kNoColour});
    return out;
}

bool TextElement::drawOnto(FrameImage& frame) {
    if (!frame) return false;
    int frameWidth = frame.width(), frameHeight = std::abs(frame.height());
    prepareForDrawing(frameWidth, frameHeight);
    if (frameWidth != layerWidth_ || frameHeight != layerHeight_) {
        std::optional<LogFont> drawingFont;
        if (!fontText.empty()) drawingFont = font;
        layer_ = RenderTextLayer(frameWidth, frameHeight, drawingFont, drawings(frameWidth));
        layerWidth_ = frameWidth;
        layerHeight_ = frameHeight;
    }
    return layer_.empty() || layer_.compositeOnto(frame);
}

std::string TextElement::describe() const {
    return startTimeText() + formatText("  Text\t\tlineNum:%d", lineNum);
}

}  // namespace quillfen
