#include "timeline/kbe_element.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "script/script_paths.h"
#include "script/text_numbers.h"

namespace quillfen {

KbeElement::KbeElement(int lineIndex, const MovieSettings& movieSettings,
                       std::string_view parameters)
    : SourceElement(lineIndex, movieSettings) {
    kind = ElementKind::Kbe;
    std::vector<std::string_view> groups = splitPieces(parameters, '|');
    auto group = [&](std::size_t i) { return i < groups.size() ? groups[i] : std::string_view(); };
    file = resolvePicturePath(group(0), settings.pictureFolder);
    double seconds = readDouble(group(3));
    // A negative movement would take frames off the movie's total.
    steps = std::max(0, settings.secondsToFrames(seconds));
    readWindow(group(1), start, seconds);
    startHold = std::max(0, settings.secondsToFrames(seconds));
    readWindow(group(2), target, seconds);
    targetHold = std::max(0, settings.secondsToFrames(seconds));
    long long frames = static_cast<long long>(startHold) + steps + targetHold -
                       (startHold == 1 ? 1 : 0) - (targetHold == 1 ? 1 : 0);
    nbFrames = nbAVIFrames = static_cast<int>(std::min<long long>(frames, INT_MAX));
    stepIndex = startHold != 0 ? 1 : 0;
    std::vector<std::string_view> extras = splitPieces(group(4), ',');
    for (std::size_t i = 0; i < 2 && i < extras.size(); ++i) {
        extraSeconds[i] = readDouble(extras[i]);
        if (extraSeconds[i] != 0) extraFrames[i] = settings.secondsToFrames(extraSeconds[i]);
    }
    message = checkPictureFile(file);
    valid = message.empty();
}

void KbeElement::readWindow(std::string_view text, KbeWindow& window, double& seconds) {
    std::vector<std::string_view> values = splitPieces(text, ',');
    GeometryValue* fields[] = {&window.x, &window.y, &window.width, &window.z};
    for (std::size_t i = 0; i < 4 && i < values.size(); ++i)
        *fields[i] = GeometryValue::read(values[i]);
    if (values.size() > 4) seconds = readDouble(values[4]);
}

void KbeElement::reset() {
    SourceElement::reset();
    kind = ElementKind::Kbe;
    steps = stepIndex = frameCounter = 0;
    start = target = KbeWindow{};
    startHold = targetHold = 0;
    extraSeconds = {};
    extraFrames = {};
}

FrameImage KbeElement::nextFrame() {
    if (nbFrames < 1) return {};
    --nbFrames;
    ++frameCounter;
    if (startHold < frameCounter && frameCounter < startHold + steps) ++stepIndex;
    firstFrame = false;
    // Drawing the window arrives with the frame pipeline.
    return {};
}

std::string KbeElement::describe() const {
    return dumpHead("KBE\t\t") +
           formatText(
               "  file:%s  S=(%d,%d)x%d z=%d t=%d  T=(%d,%d)x%d z=%d t=%d in %d steps (%d/%d)",
               file.c_str(), start.x.pixels, start.y.pixels, start.width.pixels, start.z.pixels,
               startHold, target.x.pixels, target.y.pixels, target.width.pixels, target.z.pixels,
               targetHold, steps, extraFrames[0], extraFrames[1]);
}

}  // namespace quillfen
