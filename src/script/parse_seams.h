#pragma once
// What the parser asks of the rest of the program: an ElementFactory that builds and keeps
// Elements (the timeline implements it) and a ParseListener that hears warnings, the line
// error and a new movie file name (the build driver implements it).

#include <cstdint>
#include <string>
#include <string_view>

#include "script/command_table.h"
#include "script/element_kind.h"
#include "script/movie_settings.h"

namespace quillfen {

/// What became of one Element the factory was asked to build.
struct BuiltElement {
    bool valid = false;
    /// The error of an invalid Element, or a warning on a valid one (empty: nothing to say).
    std::string message;
    ElementKind kind = ElementKind::None;
};

class ElementFactory {
  public:
    virtual ~ElementFactory() = default;

    /// Builds the Element of element command `code` on Script line `lineIndex` from its
    /// parameter text. A valid Element is appended to the factory's list; an invalid one is
    /// discarded. `settings` outlives the Elements.
    virtual BuiltElement buildElement(Command code, int lineIndex, const MovieSettings& settings,
                                      std::string_view parameters) = 0;

    /// Builds the Source of a picture line (`name` as written, not yet resolved), appending it
    /// when it is valid.
    virtual BuiltElement buildPicture(int lineIndex, const MovieSettings& settings,
                                      std::string_view name, int frameCount) = 0;

    /// Whether the `path` command's folder (Script form, separator appended) exists.
    virtual bool folderExists(std::string_view folder, const MovieSettings& settings) = 0;

    /// Reads a `soundtrack` line and keeps its cue; an invalid one gives `valid` false and
    /// its error. Factories without sound accept and ignore it.
    virtual BuiltElement buildSoundtrack(int /*lineIndex*/, const MovieSettings& /*settings*/,
                                         std::string_view /*parameters*/) {
        return {true, {}, ElementKind::None};
    }
};

class ParseListener {
  public:
    virtual ~ParseListener() = default;
    /// A warning: the line is ignored (or the Element kept) and parsing goes on.
    virtual void warning(std::string_view text) = 0;
    /// The error that ends the parse, on Script line `lineIndex` (0-based).
    virtual void lineError(int lineIndex, std::string_view text) = 0;
    /// `moviefile` named a new output file (Script form, picture folder applied).
    virtual void movieFileChanged(std::string_view name) = 0;
};

/// Bits of the `debug` command's letters.
enum DebugFlag : std::uint32_t {
    kDebugCaption = 1,      // "X": a caption with frame numbers on every frame
    kDebugTransitions = 2,  // "T": list the transition effects after parsing
    kDebugOverwrite = 4,    // "W": overwrite an existing movie file without asking
};

}  // namespace quillfen
