#include "timeline/text_element.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/text_numbers.h"

namespace quillfen {
namespace {

// Script numbers reach the ends of the int range. Edges are worked out in 64 bits and kept
// where neither an edge nor a width or height (one edge minus another) can overflow; this
// only cuts what lies far off the frame.
constexpr long long kEdgeLimit = 1LL << 29;

TextRect boundedRect(long long left, long long top, long long right, long long bottom) {
    auto edge = [](long long v) {
        return static_cast<int>(std::clamp(v, -kEdgeLimit, kEdgeLimit));
    };
    return {edge(left), edge(top), edge(right), edge(bottom)};
}

}  // namespace

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
    if (!firstFrame_) return;
    layout(frameWidth, frameHeight);
    // Font sizes are written for a frame 768 pixels high.
    // Scaled up, sizes near the int range's ends would leave it: they saturate.
    font.height = truncToInt(static_cast<double>(frameHeight) * font.height / 768);
    font.width = truncToInt(static_cast<double>(frameHeight) * font.width / 768);
    for (std::size_t at = caption.find("\\n"); at != std::string::npos;
         at = caption.find("\\n", at + 2))
        caption.replace(at, 2, "\r\n");
    firstFrame_ = false;
}

std::vector<TextDrawing> TextElement::drawings(int frameWidth) const {
    const long long left = x.pixels, top = y.pixels;
    const long long right = left + width.pixels, bottom = top + height.pixels;
    auto placed = [&](long long dx, long long dy) {
        return boundedRect(left + dx, top + dy, right + dx, bottom + dy);
    };
    std::vector<long long> copies{0};
    if (settings.stereo) copies.push_back(frameWidth / 2 + static_cast<long long>(shift.pixels));
    std::vector<TextDrawing> out;
    if (backColour != kNoColour)
        for (long long dx : copies)
            out.push_back({caption, placed(dx, 0), formatFlags, kNoColour, backColour});
    if (shadowColour != kNoColour) {
        const long long offset = shadowOffset.pixels;
        for (long long dx : copies)
            out.push_back(
                {caption, placed(dx + offset, offset), formatFlags, shadowColour, kNoColour});
    }
    for (long long dx : copies)
        out.push_back({caption, placed(dx, 0), formatFlags, textColour, kNoColour});
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

bool TextElement::applyToOverlays(OverlayList& overlays) {
    if (!removesCaptions()) {
        overlays.push_back(this);
    } else {
        std::erase_if(overlays, [&](const TextElement* other) { return other->kind == kind; });
    }
    return true;
}

}  // namespace quillfen
