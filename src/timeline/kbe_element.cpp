#include "timeline/kbe_element.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "base/text_numbers.h"
#include "imaging/stretch.h"
#include "script/script_paths.h"

namespace quillfen {
namespace {

KbeEnd endOf(const KbeWindow& w) {
    return {w.x.pixels, w.y.pixels, w.width.pixels, w.z.pixels};
}

bool inside(const SourceWindow& w, int width, int height) {
    return w.x >= 0 && w.y >= 0 && w.x + w.width <= width && w.y + w.height <= height;
}

// The whole target in one colour; "none" shows as black.
void fillPixels(const PixelTarget& target, ColourValue colour) {
    if (colour == kNoColour) colour = 0;
    const std::uint8_t pixel[4] = {static_cast<std::uint8_t>(blueOf(colour)),
                                   static_cast<std::uint8_t>(greenOf(colour)),
                                   static_cast<std::uint8_t>(redOf(colour)), target.fourth};
    for (int y = 0; y < target.height; ++y) {
        std::uint8_t* row = target.top + target.rowStep * y;
        for (int x = 0; x < target.width; ++x)
            std::memcpy(row + 4 * x, pixel, 4);
    }
}

}  // namespace

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
    nbFrames_ = nbAVIFrames_ = static_cast<int>(std::min<long long>(frames, INT_MAX));
    stepIndex = startHold != 0 ? 1 : 0;
    std::vector<std::string_view> extras = splitPieces(group(4), ',');
    for (std::size_t i = 0; i < 2 && i < extras.size(); ++i) {
        extraSeconds[i] = readDouble(extras[i]);
        if (extraSeconds[i] != 0) extraFrames[i] = settings.secondsToFrames(extraSeconds[i]);
    }
    message = checkPictureFile(file);
    if (message.empty()) message = widthError();
    valid = message.empty();
    if (valid) parsedStamp_ = ReadFileStamp(nativePath(file, settings));
}

std::string KbeElement::widthError() const {
    // A percentage's pixels depend on the picture, read only at build time; these are the
    // widths that stay 0 or below for any picture, where the zoom factor has no meaning.
    auto hopeless = [](const GeometryValue& w) {
        return w.percent ? !(w.number > 0) : w.pixels < 0;
    };
    if (hopeless(start.width)) return "Error: KBE start width must be more than 0 pixels.";
    if (hopeless(target.width)) return "Error: KBE target width must be more than 0 pixels.";
    return {};
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
    window = {};
}

namespace {

// Whether frame number `counter` (counted from 1) moves the window a step on.
bool stepsOn(long long counter, int startHold, int steps) {
    // In 64 bits: a long movement saturates `steps` at the int range.
    return startHold < counter && counter < static_cast<long long>(startHold) + steps;
}

}  // namespace

FrameImage KbeElement::nextFrame() {
    if (nbFrames_ < 1) {
        cachedPicture_.reset();
        return {};
    }
    // A picture that failed once is not read again for every later frame.
    if (!cachedPicture_ && !file.empty() && unreadablePicture_.empty()) {
        cachedPicture_ = loadPictureForFrame(file, parsedStamp_);
    }
    --nbFrames_;
    ++frameCounter;
    if (stepsOn(frameCounter, startHold, steps)) ++stepIndex;
    FrameImage frame = cachedPicture_ ? drawWindow() : FrameImage{};
    firstFrame_ = false;
    if (nbFrames_ == 0) cachedPicture_.reset();
    return frame;
}

bool KbeElement::nextMovieFrameRepeats() const {
    return !firstFrame_ && cachedPicture_ && nbAVIFrames_ > 0 && nbFrames_ > 0 &&
           !stepsOn(frameCounter + 1LL, startHold, steps);
}

void KbeElement::repeatMovieFrame() {
    --nbAVIFrames_;
    --nbFrames_;
    ++frameCounter;
    if (nbFrames_ == 0) cachedPicture_.reset();
}

void KbeElement::completeWindows(int viewWidth, int height) {
    for (KbeWindow* w : {&start, &target}) {
        if (!w->width.percent && w->width.pixels == 0)
            w->width = GeometryValue::ofPixels(viewWidth);
        w->x.layout(viewWidth);
        w->width.layout(viewWidth);
        w->z.layout(viewWidth);
        w->y.layout(height);
        // A small percentage of a small picture can still come to nothing; one pixel keeps
        // the zoom defined.
        if (w->width.pixels < 1) w->width.pixels = 1;
    }
}

FrameImage KbeElement::drawWindow() {
    const FrameImage& picture = cachedPicture_;
    const int pw = picture.width();
    const int ph = picture.height();
    if (pw <= 0 || ph <= 0) return {};
    const int views = settings.stereo ? 2 : 1;
    if (firstFrame_) completeWindows(pw / views, ph);
    // Without a resize size frames keep the picture's size, as every other picture does.
    bool resized = settings.resizeWidth > 0 && settings.resizeHeight > 0;
    const int outW = resized ? settings.resizeWidth : pw;
    const int outH = resized ? settings.resizeHeight : ph;

    KbeMotion motion{endOf(start), endOf(target), steps, static_cast<double>(outW) / outH / views,
                     ph};
    const int i = stepIndex - 1;
    window = motion.windowAt(i);
    const KbeRect sampled = settings.smoothMotion ? motion.exactWindowAt(i) : window;

    FrameImage frame = FrameImage::create(outW, outH, 32);
    PixelTarget pixels = frameTarget(frame);
    if (!pixels.top) return {};
    SourceWindow left{sampled.x, sampled.y, sampled.width, sampled.height};
    SourceWindow right = left;
    right.x += sampled.z + pw / 2;
    bool bands = !inside(left, pw, ph) || (views == 2 && !inside(right, pw, ph));
    if (bands) fillPixels(pixels, settings.imageOptions.background);
    StretchInto(picture, left, pixels, {0, 0, outW / views, outH}, StretchMode::halftone);
    if (views == 2)
        StretchInto(picture, right, pixels, {outW / 2, 0, outW / 2, outH}, StretchMode::halftone);
    return frame;
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
