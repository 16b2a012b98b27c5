#include "timeline/text_overlays.h"

#include <cstdio>
#include <cstdlib>

#include "imaging/dib_convert.h"
#include "imaging/raster/text_drawing.h"
#include "timeline/text_element.h"

namespace quillfen {
namespace {

bool blendable(const FrameImage& frame) {
    BitmapInfoHeader header = frame.header();
    return header.biCompression == kBiRgb && (header.biBitCount == 24 || header.biBitCount == 32);
}

}  // namespace

FrameImage DrawTextOverlays(FrameImage frame, const OverlayList& overlays) {
    if (!frame || overlays.empty()) return frame;
    if (!blendable(frame)) {
        FrameImage wide = DibTo32(frame);
        if (!wide) return frame;
        frame = std::move(wide);
    }
    for (TextElement* text : overlays)
        if (text != nullptr && text->kind == ElementKind::Text) text->drawOnto(frame);
    return frame;
}

char debugKindLetter(ElementKind kind) {
    switch (kind) {
        case ElementKind::Source:
            return 'P';
        case ElementKind::Transition:
            return 'T';
        case ElementKind::Kbe:
            return 'K';
        case ElementKind::Sequence:
            return 'S';
        case ElementKind::Frame:
            return 'F';
        case ElementKind::Video:
            return 'V';
        case ElementKind::Pip:
            return 'I';
        default:
            return '?';
    }
}

std::string debugCaptionText(const DebugCaptionInfo& info) {
    char text[96];
    std::snprintf(text, sizeof text, "f:%04lld  %c-%d  fr=%d  fa=%d",
                  static_cast<long long>(info.frameIndex), debugKindLetter(info.kind), info.lineNum,
                  info.nbFrames, info.nbAVIFrames);
    return text;
}

FrameImage drawDebugCaption(FrameImage frame, const DebugCaptionInfo& info) {
    if (!frame) return frame;
    int width = frame.width(), height = std::abs(frame.height());
    TextRect inset{5, 5, width - 5, height - 5};
    return DibDrawText(std::move(frame), debugCaptionText(info), inset, "Arial,36",
                       makeColour(255, 0, 0), kNoColour, text_format::kSingleLine);
}

}  // namespace quillfen
