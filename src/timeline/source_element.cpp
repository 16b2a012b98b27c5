#include "timeline/source_element.h"

#include <climits>
#include <system_error>

#include "base/file_system.h"
#include "base/helper_threads.h"
#include "base/text_numbers.h"
#include "imaging/dib_ops.h"
#include "imaging/picture_kind.h"
#include "imaging/picture_loader.h"
#include "imaging/resize.h"
#include "script/script_paths.h"
#include "timeline/fit_settings.h"
#include "timeline/movie_time.h"

namespace quillfen {
namespace {

// A frame of the background colour that the frame pipeline turns into a movie frame as it
// would a picture: of the resize size, or without one of the movie's size when no stereo
// conversion changes it. Empty when neither is known yet.
FrameImage backgroundFrame(const MovieSettings& settings) {
    int width = settings.resizeWidth, height = settings.resizeHeight;
    if ((width <= 0 || height <= 0) && settings.convert < 0)
        width = settings.frameWidth, height = settings.frameHeight;
    if (width <= 0 || height <= 0) return {};
    return DibCreateBlank(width, height, 32, settings.imageOptions.background);
}

}  // namespace

SourceElement::SourceElement(int lineIndex, const MovieSettings& movieSettings)
    : lineNum(lineIndex), settings(movieSettings) {}

SourceElement::SourceElement(int lineIndex, const MovieSettings& movieSettings,
                             std::string_view name, int frameCount)
    : SourceElement(lineIndex, movieSettings) {
    file = resolvePicturePath(name, settings.pictureFolder);
    nbFrames_ = nbAVIFrames_ = frameCount;
    message = checkPictureFile(file);
    valid = message.empty();
    if (valid) parsedStamp_ = ReadFileStamp(nativePath(file, settings));
}

void SourceElement::reset() {
    kind = ElementKind::Source;
    lineNum = 0;
    valid = false;
    nbFrames_ = nbAVIFrames_ = 0;
    file.clear();
    cachedPicture_.reset();
    message.clear();
    firstFrame_ = true;
    firstMovieFrame_ = 0;
    unreadablePicture_.clear();
    standInPicture_.clear();
    parsedStamp_.reset();
    prefetched_ = {};
}

void SourceElement::layout(int, int) {}

FrameImage SourceElement::nextFrame() {
    if (nbFrames_ <= 0) {
        cachedPicture_.reset();
        return {};
    }
    // A picture that failed once is not read again for every later frame.
    if (!cachedPicture_ && !file.empty() && unreadablePicture_.empty()) loadCachedPicture();
    firstFrame_ = false;
    --nbFrames_;
    FrameImage frame = DibCopy(cachedPicture_);
    if (nbFrames_ == 0) cachedPicture_.reset();
    return frame;
}

std::string SourceElement::describe() const {
    return dumpHead("Source\t") + "  file:" + file;
}

void SourceElement::lendFrames(int frames) {
    auto atLeastOne = [](long long value) {
        return value < 1 ? 1 : value > INT_MAX ? INT_MAX : static_cast<int>(value);
    };
    if (isStillKind(kind))
        nbFrames_ = atLeastOne(static_cast<long long>(nbFrames_) + frames);
    else if (isMovingKind(kind))
        nbAVIFrames_ = atLeastOne(static_cast<long long>(nbAVIFrames_) - frames);
}

FrameImage SourceElement::nextMovieFrame() {
    if (nbAVIFrames_ > 0) {
        --nbAVIFrames_;
        return nextFrame();
    }
    if (nbFrames_ == 0) cachedPicture_.reset();
    return {};
}

void SourceElement::dropFrame() {
    if (nbFrames_ > 0) --nbFrames_;
    if (nbFrames_ == 0) cachedPicture_.reset();
}

PulledFrame SourceElement::pullMovieFrame(bool previousKept) {
    if (previousKept && nextMovieFrameRepeats()) {
        repeatMovieFrame();
        return {.frame = {}, .unchanged = true};
    }
    return {.frame = nextMovieFrame()};
}

bool SourceElement::nextMovieFrameRepeats() const {
    return isStillKind(kind) && !firstFrame_ && cachedPicture_ && nbAVIFrames_ > 0 && nbFrames_ > 0;
}

void SourceElement::repeatMovieFrame() {
    --nbAVIFrames_;
    --nbFrames_;
    if (nbFrames_ == 0) cachedPicture_.reset();
}

void SourceElement::loadCachedPicture() {
    const FitOptions fit = fitOptionsFor(settings);
    if (prefetched_.valid()) {
        Prefetched ahead = prefetched_.get();
        // One that failed, or whose file changed since, is read again below, where a stand-in
        // is found for it: as if it had not been read ahead.
        if (ahead.picture && ahead.fit == fit && ahead.stamp &&
            ReadFileStamp(nativePath(file, settings)) == ahead.stamp) {
            cachedPicture_ = std::move(ahead.picture);
            return;
        }
    }
    cachedPicture_ = loadPictureForFrame(file, parsedStamp_);
    // Every frame of the picture is fitted the same way: fit it once and let the large
    // original go, when fitting the result again changes nothing.
    if (FrameImage fitted = FinallyFitted(cachedPicture_, fit)) cachedPicture_ = std::move(fitted);
}

bool SourceElement::prefetchPicture() {
    if (prefetched_.valid()) return true;
    if (kind != ElementKind::Source || !valid || nbFrames_ <= 0 || cachedPicture_ ||
        !unreadablePicture_.empty())
        return false;
    // The thread gets values only: the settings stay the loop's. It yields to the frames
    // being made and encoded now; when they wait for it, it has their core.
    auto read = [path = nativePath(file, settings), fit = fitOptionsFor(settings)] {
        nameThread("quillfen-read");
        lowerThreadPriority();
        Prefetched ahead{.picture = {}, .fit = fit, .stamp = ReadFileStamp(path)};
        ahead.picture = LoadPicture(path);
        if (FrameImage fitted = FinallyFitted(ahead.picture, fit))
            ahead.picture = std::move(fitted);
        return ahead;
    };
    try {
        prefetched_ = std::async(std::launch::async, std::move(read));
    } catch (const std::system_error&) {
        // No thread to spare: the picture is read when it is needed, as without this.
    }
    return prefetched_.valid();
}

FrameImage SourceElement::loadPictureForFrame(const std::string& name,
                                              const std::optional<FileStamp>& parsed) {
    if (FrameImage picture = LoadPicture(nativePath(name, settings))) return picture;
    if (FrameImage standIn = standInFor(name, parsed)) return standIn;
    // A picture never readable leaves its frames out.
    unreadablePicture_ = name;
    return {};
}

FrameImage SourceElement::standInFor(const std::string& name,
                                     const std::optional<FileStamp>& parsed) {
    // Changed or gone since the Script was read: the background keeps the movie's length,
    // and the sound in step with it.
    if (!parsed || ReadFileStamp(nativePath(name, settings)) == parsed) return {};
    FrameImage standIn = backgroundFrame(settings);
    if (standIn) standInPicture_ = name;
    return standIn;
}

std::string SourceElement::startTimeText() const {
    return formatMovieTime(firstMovieFrame_ / settings.frameRate);
}

std::string SourceElement::dumpHead(std::string_view kindWord) const {
    return formatText("%s  %.*slineNum:%d  nbFrames:%d  nbAVIFrames:%d", startTimeText().c_str(),
                      static_cast<int>(kindWord.size()), kindWord.data(), lineNum, nbFrames_,
                      nbAVIFrames_);
}

std::string SourceElement::checkPictureFile(const std::string& resolvedName) const {
    if (!FileExists(nativePath(resolvedName, settings))) {
        return "Error: picture '" + resolvedName + "' doesn't exist.";
    }
    if (PictureKindFromName(resolvedName) == PictureKind::none)
        return std::string(kBadImageFormatText);
    return {};
}

}  // namespace quillfen
