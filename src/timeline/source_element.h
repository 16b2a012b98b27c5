#pragma once
// The base of every timeline Element, itself the Source kind: one picture shown for a number
// of frames. The two counters let a neighbouring Transition or PIP borrow frames: nbFrames is
// what the Element will still produce for anyone, nbAVIFrames what the driver still takes
// directly.

#include <string>
#include <string_view>

#include "imaging/frame_image.h"
#include "script/element_kind.h"
#include "script/movie_settings.h"

namespace quillfen {

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

    /// True when the next movie frame is known to equal the one before it: a still kind
    /// whose picture is in hand and that has movie frames left.
    bool nextMovieFrameRepeats() const;
    /// Takes the next movie frame without copying it, for a caller that kept the previous
    /// one; the counters move exactly as for nextMovieFrame. Only when nextMovieFrameRepeats.
    void repeatMovieFrame();

    ElementKind kind = ElementKind::Source;
    int lineNum = 0;
    bool valid = false;
    int nbFrames = 0;
    int nbAVIFrames = 0;
    /// Resolved picture path; a Sequence's numbering pattern; a Text's parameter text.
    std::string file;
    FrameImage cachedPicture;
    /// The error of an invalid Element, or a warning for a valid one.
    std::string message;
    bool firstFrame = true;
    int firstMovieFrame = 0;
    /// The resolved name of a picture that could not be read for a frame; empty otherwise.
    std::string unreadablePicture;
    /// Not owned; outlives the Element.
    const MovieSettings& settings;

  protected:
    /// For the other kinds: only the line and the settings set.
    SourceElement(int lineIndex, const MovieSettings& settings);

    /// formatMovieTime of the Element's start in the movie, the head of every dump line.
    std::string startTimeText() const;
    /// The head shared by most dump lines: "<time>  <word>lineNum:..  nbFrames:..  nbAVIFrames:..".
    std::string dumpHead(std::string_view kindWord) const;
    /// Empty when `resolvedName` names an existing picture of a readable kind, else the error.
    std::string checkPictureFile(const std::string& resolvedName) const;
};

}  // namespace quillfen
