#include "timeline/pip_element.h"

#include <algorithm>
#include <vector>

#include "script/text_numbers.h"

namespace quillfen {

PipElement::PipElement(int lineIndex, const MovieSettings& movieSettings,
                       std::string_view parameters)
    : TwoInputElement(lineIndex, movieSettings) {
    kind = ElementKind::Pip;
    std::vector<std::string_view> groups = splitPieces(parameters, '|');
    double seconds = groups.size() > 2 ? readDouble(groups[2]) : 0.0;
    nbFrames = nbAVIFrames = std::max(1, settings.secondsToFrames(seconds));
    if (!groups.empty()) readPlacement(groups[0], first, seconds);
    if (groups.size() > 1) readPlacement(groups[1], second, seconds);
    valid = true;
}

void PipElement::readPlacement(std::string_view text, PipPlacement& placement,
                               double& seconds) const {
    std::vector<std::string_view> values = splitPieces(text, ',');
    GeometryValue* geometry[] = {&placement.x, &placement.y, &placement.width, &placement.shift};
    for (std::size_t i = 0; i < 4 && i < values.size(); ++i)
        *geometry[i] = GeometryValue::read(values[i]);
    if (values.size() > 4) seconds = readDouble(values[4]);
    placement.frames = seconds > 0 ? settings.secondsToFrames(seconds) : 0;
    if (values.size() > 5) placement.extra = readInt(values[5]);
}

void PipElement::reset() {
    TwoInputElement::reset();
    kind = ElementKind::Pip;
    first = second = PipPlacement{};
    keptPrevFrame.reset();
    keptNextFrame.reset();
}

FrameImage PipElement::nextFrame() {
    if (nbFrames <= 0) return {};
    --nbFrames;
    firstFrame = false;
    // Drawing the inset arrives with the frame pipeline.
    return {};
}

std::string PipElement::describe() const {
    return dumpHead("PIP\t\t") + "  #" + prevLineText() + " and #" + nextLineText();
}

}  // namespace quillfen
