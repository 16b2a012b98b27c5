#pragma once
// The base of every timeline Element, itself the Source kind: one picture shown for a number
// of frames. The two counters let a neighbouring Transition or PIP borrow frames: nbFrames is
// what the Element will still produce for anyone, nbAVIFrames what the driver still takes
// directly. Only the Element moves them, as it gives frames; linking says how many there
// are to begin with.

#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "imaging/fit_options.h"
#include "imaging/frame_image.h"
#include "script/element_kind.h"
#include "script/movie_settings.h"

namespace quillfen {

class TextElement;
/// The captions shown over every frame, in the order they were given; not owned.
using OverlayList = std::vector<TextElement*>;

/// One answer to the frame loop's pull: a new frame, or word that the frame's content is
/// unchanged since the Element's previous frame (no pixels were made), or, with neither,
/// the end of the Element's frames.
struct PulledFrame {
    FrameImage frame;
    bool unchanged = false;

    bool ended() const { return !frame && !unchanged; }
};

inline constexpr std::string_view kBadImageFormatText =
    "Error: Bad image format (only BMP, JPEG and PNG files are supported).";

class SourceElement {
  public:
    /// A picture line's Source: `name` as written (resolved against the picture folder of
    /// `settings`), shown for `frameCount` frames. Invalid, with a message, when the file does
    /// not exist or is not a kind of picture that can be read.
    SourceElement(int lineIndex, const MovieSettings& settings, std::string_view name,
                  int frameCount);
    virtual ~SourceElement() = default;
    SourceElement(const SourceElement&) = delete;
    SourceElement& operator=(const SourceElement&) = delete;

    /// Every field of the class back to its default; kinds set their own kind after the base.
    virtual void reset();
    /// Converts percentage geometry to pixels for frames of `width` x `height`.
    virtual void layout(int width, int height);
    /// The next frame (owned by the caller), or an empty image; consumes one of nbFrames.
    virtual FrameImage nextFrame();
    /// The one-line dump text.
    virtual std::string describe() const;

    /// The driver's request: a frame while nbAVIFrames remain, else an empty image.
    FrameImage nextMovieFrame();
    /// Consumes one frame without producing it (a neighbour holding on to a still picture).
    void dropFrame();

    /// The frame loop's one request. When `previousKept` (the caller still holds what it made
    /// of this Element's previous frame) and the next frame's content is known to equal it,
    /// no pixels are made and the answer is `unchanged`; the counters move as for
    /// nextMovieFrame either way.
    PulledFrame pullMovieFrame(bool previousKept);

    /// True when the next movie frame is known to equal the one before it: a still kind
    /// whose picture is in hand and that has movie frames left; kinds that move say when
    /// they stand still.
    virtual bool nextMovieFrameRepeats() const;
    /// Takes the next movie frame without drawing it, for a caller that kept the previous
    /// one; the counters move exactly as for nextMovieFrame. Only when nextMovieFrameRepeats.
    virtual void repeatMovieFrame();

    /// Starts reading and fitting a plain Source's picture on another thread, for its first
    /// frame, unless it is in hand or on its way already. The frames are the same as without
    /// it. Does nothing for the other kinds. True when the picture is on its way.
    bool prefetchPicture();

    /// A caption Element adds itself to `overlays` (or removes captions) when it starts and
    /// returns true; the other kinds leave the list alone.
    virtual bool applyToOverlays(OverlayList& /*overlays*/) { return false; }
    /// The Elements this one takes frames from (a Transition's or PIP's linked neighbours).
    virtual std::vector<const SourceElement*> inputs() const { return {}; }

    /// Frames the Element will still produce for anyone (its own and those a neighbouring
    /// Transition or PIP takes).
    int nbFrames() const { return nbFrames_; }
    /// Frames the driver will still take directly.
    int nbAVIFrames() const { return nbAVIFrames_; }
    /// The Element's first frame in the movie, once the Elements are counted.
    int firstMovieFrame() const { return firstMovieFrame_; }
    /// True until the Element has made its first frame.
    bool firstFrame() const { return firstFrame_; }
    /// True while the Element holds its picture (read and fitted) for frames still to come.
    bool pictureInHand() const { return static_cast<bool>(cachedPicture_); }
    /// The resolved name of a picture that could not be read for a frame; empty otherwise.
    const std::string& unreadablePicture() const { return unreadablePicture_; }
    /// The resolved name of a picture that was there when the Script was read but cannot be
    /// read now: the background colour stands in for it. Empty otherwise.
    const std::string& standInPicture() const { return standInPicture_; }

    /// Linking: a Transition or PIP beside the Element takes `frames` of it. A still kind
    /// lends them beyond its own frames; a moving kind gives up that many of its own. Either
    /// keeps at least one frame.
    void lendFrames(int frames);
    /// Counting: where the Element's frames start in the movie.
    void placeAt(int firstMovieFrame) { firstMovieFrame_ = firstMovieFrame; }
    /// Sets both counters outright, for tests and benchmarks that stand in for the Script's
    /// counting.
    void setFrameCount(int frames) { nbFrames_ = nbAVIFrames_ = frames; }

    ElementKind kind = ElementKind::Source;
    int lineNum = 0;
    bool valid = false;
    /// Resolved picture path; a Sequence's numbering pattern; a Text's parameter text.
    std::string file;
    /// The error of an invalid Element, or a warning for a valid one.
    std::string message;
    /// Not owned; outlives the Element.
    const MovieSettings& settings;

  protected:
    int nbFrames_ = 0;
    int nbAVIFrames_ = 0;
    FrameImage cachedPicture_;
    bool firstFrame_ = true;
    int firstMovieFrame_ = 0;
    std::string unreadablePicture_;
    std::string standInPicture_;
    /// The picture file as it was when the Script was read; none when it could not be asked.
    std::optional<FileStamp> parsedStamp_;

    /// For the other kinds: only the line and the settings set.
    SourceElement(int lineIndex, const MovieSettings& settings);

    /// Loads the picture `name` (resolved) for a frame: the picture, or the background colour
    /// in its place when the file changed since `parsed`, its stamp when the Script was read
    /// (standInPicture names it then), or empty when it was never readable
    /// (unreadablePicture names it).
    FrameImage loadPictureForFrame(const std::string& name, const std::optional<FileStamp>& parsed);
    /// The background colour for a frame of a file that changed since `parsed`, its stamp
    /// when the Script was read (standInPicture names it then); empty when it did not change.
    FrameImage standInFor(const std::string& name, const std::optional<FileStamp>& parsed);

    /// The picture read ahead by prefetchPicture, fitted as the Element fits it.
    struct Prefetched {
        FrameImage picture;              // empty when it could not be read then
        FitOptions fit;                  // what it was fitted for
        std::optional<FileStamp> stamp;  // the file's before it was read
    };
    /// Reads and fits the picture into cachedPicture_, or takes the one read ahead.
    void loadCachedPicture();

    std::future<Prefetched> prefetched_;  // none until prefetchPicture

    /// formatMovieTime of the Element's start in the movie, the head of every dump line.
    std::string startTimeText() const;
    /// The head shared by most dump lines: "<time>  <word>lineNum:..  nbFrames:..  nbAVIFrames:..".
    std::string dumpHead(std::string_view kindWord) const;
    /// Empty when `resolvedName` names an existing picture of a readable kind, else the error.
    std::string checkPictureFile(const std::string& resolvedName) const;
};

}  // namespace quillfen
