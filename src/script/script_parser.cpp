#include "script/script_parser.h"

#include <array>
#include <cmath>

#include "base/text_numbers.h"
#include "script/script_paths.h"

namespace quillfen {
namespace {

constexpr std::string_view kTwoTransitionsText = "Error: cannot have two consecutive transitions.";
constexpr std::string_view kFrameNeedsResizeText =
    "Error: Resize command must be defined before using the 'Frame' command.";
constexpr std::string_view kBadFrameRateText = "Error: frame rate must be a positive number.";

// Positive and finite: a rate too large to hold reads as infinite.
bool validFrameRate(double rate) {
    return rate > 0.0 && std::isfinite(rate);
}

/// The name a repeated once command shows in its warning, or empty for other commands.
std::string_view onceCommandName(Command code) {
    switch (code) {
        case Command::Resize:
            return "Resize";
        case Command::ResizeMode:
            return "ResizeMode";
        case Command::Stereo:
            return "Stereo";
        case Command::Convert:
            return "Convert";
        case Command::FlipV:
            return "FlipV";
        case Command::FrameRate:
            return "FrameRate";
        case Command::Transpose:
            return "Transpose";
        case Command::Mirror:
            return "Mirror";
        default:
            return {};
    }
}

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && isWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

/// The n-th value of a comma list (empty pieces skipped), 0 when missing.
int intValueAt(std::string_view text, std::size_t n) {
    std::vector<std::string_view> values = splitPieces(text, ',');
    return n < values.size() ? readInt(values[n]) : 0;
}

class ScriptParser {
  public:
    ScriptParser(MovieSettings& settings, ElementFactory& factory, ParseListener& listener)
        : settings_(settings), factory_(factory), listener_(listener) {}

    ParseResult run(const ScriptLines& lines) {
        ParseResult result;
        result.succeeded = parseLines(lines);
        result.debugFlags = debugFlags_;
        return result;
    }

  private:
    enum class Step { Next, Stop, Fail };

    bool parseLines(const ScriptLines& lines) {
        const int count = lines.lineCount();
        for (int i = 0; i < count; ++i) {
            std::string_view line = lines.line(i);
            if (line.empty() || line.front() == ';') continue;
            Step step = parseLine(i, line);
            if (step == Step::Stop) return true;
            if (step == Step::Fail) return false;
        }
        return true;
    }

    Step parseLine(int i, std::string_view line) {
        SplitLine split = splitScriptLine(line);
        if (!split.ok) return fail(i, split.message);
        if (split.code == Command::Stop) return Step::Stop;
        if (split.code == Command::Skip) {
            skipCount_ = readInt(split.parameters);
            return Step::Next;
        }
        // A skipped block is still split (above) so its syntax errors are reported.
        if (skipCount_ != 0) return Step::Next;
        return execute(i, split.code, split.parameters);
    }

    Step execute(int i, Command code, std::string_view text) {
        std::string_view onceName = onceCommandName(code);
        if (!onceName.empty()) return executeOnce(i, code, onceName, text);
        switch (code) {
            case Command::Path:
                return setPath(i, text);
            case Command::MovieFile:
                listener_.movieFileChanged(resolvePicturePath(text, settings_.pictureFolder));
                return Step::Next;
            case Command::Debug:
                setDebugFlags(text);
                return Step::Next;
            case Command::Crop:
                setCrop(text);
                return Step::Next;
            case Command::Background:
                settings_.imageOptions.background = parseColour(text);
                return Step::Next;
            case Command::MergeFrames:
            case Command::Logo:
                return Step::Next;
            case Command::Transition:
            case Command::Pip:
                // A Text between two of them would leave the second without a real neighbour.
                if (isTwoInputKind(lastNonOverlay_)) return fail(i, kTwoTransitionsText);
                return build(i, factory_.buildElement(code, i, settings_, text));
            case Command::Frame:
                if (!onceDone_[static_cast<int>(Command::Resize)]) {
                    return fail(i, kFrameNeedsResizeText);
                }
                return build(i, factory_.buildElement(code, i, settings_, text));
            case Command::Picture:
                return buildPicture(i, text);
            case Command::Soundtrack: {
                // Not an Element: it adds no frames and leaves the neighbours of Transitions.
                BuiltElement cue = factory_.buildSoundtrack(i, settings_, text);
                return cue.valid ? Step::Next : fail(i, cue.message);
            }
            default:
                return build(i, factory_.buildElement(code, i, settings_, text));
        }
    }

    Step executeOnce(int i, Command code, std::string_view name, std::string_view text) {
        bool& done = onceDone_[static_cast<int>(code)];
        if (done) {
            listener_.warning("Warning: Command '" + std::string(name) +
                              "' already defined, extraneous commands ignored.");
            return Step::Next;
        }
        if (code == Command::FrameRate && !validFrameRate(readDouble(text))) {
            return fail(i, kBadFrameRateText);
        }
        done = true;
        setOnceValue(code, text);
        return Step::Next;
    }

    void setOnceValue(Command code, std::string_view text) {
        ImageOptions& options = settings_.imageOptions;
        switch (code) {
            case Command::Resize:
                setResize(text);
                break;
            case Command::ResizeMode:
                options.resizeMode = readInt(text);
                break;
            case Command::Stereo:
                settings_.stereo = readInt(text) == 1 ? 1 : 0;
                break;
            case Command::Convert:
                settings_.convert = readInt(text);
                break;
            case Command::FlipV:
                options.flipV = intValueAt(text, 0);
                break;
            case Command::FrameRate:
                settings_.frameRate = readDouble(text);
                break;
            case Command::Transpose:
                options.transpose = readInt(text);
                break;
            case Command::Mirror:
                options.mirrorLeft = intValueAt(text, 0);
                options.mirrorRight = intValueAt(text, 1);
                break;
            default:
                break;
        }
    }

    void setResize(std::string_view text) {
        std::size_t x = text.find('x');
        if (x == std::string_view::npos) {
            settings_.resizeWidth = 0;
            settings_.resizeHeight = readInt(text);
        } else {
            settings_.resizeWidth = readInt(text.substr(0, x));
            settings_.resizeHeight = readInt(text.substr(x + 1));
        }
    }

    Step setPath(int i, std::string_view text) {
        std::string folder(text);
        if (folder.back() != '/' && folder.back() != '\\') folder += '/';
        settings_.pictureFolder = folder;
        if (!factory_.folderExists(folder, settings_)) {
            if (isDrivePath(folder)) listener_.warning("Warning: " + drivePathText(folder));
            return fail(i, "Error: Specified path '" + folder + "' doesn't exist.");
        }
        return Step::Next;
    }

    void setDebugFlags(std::string_view text) {
        for (char c : text) {
            if (c == 'X') debugFlags_ |= kDebugCaption;
            if (c == 'T') debugFlags_ |= kDebugTransitions;
            if (c == 'W') debugFlags_ |= kDebugOverwrite;
        }
    }

    void setCrop(std::string_view text) {
        std::vector<std::string_view> pieces = splitPiecesAny(text, ":|");
        settings_.imageOptions.crop = pieces.empty() ? '0' : pieces.front().front();
    }

    Step buildPicture(int i, std::string_view text) {
        std::size_t star = text.rfind('*');
        if (star == std::string_view::npos)
            return build(i, factory_.buildPicture(i, settings_, text, 1));
        int frames = settings_.secondsToFrames(readDouble(text.substr(star + 1)));
        if (frames <= 0) frames = 1;
        // A duration fixes the frame rate its frames were counted with.
        onceDone_[static_cast<int>(Command::FrameRate)] = true;
        return build(i,
                     factory_.buildPicture(i, settings_, trimRight(text.substr(0, star)), frames));
    }

    Step build(int i, const BuiltElement& element) {
        if (!element.valid) return fail(i, element.message);
        if (!element.message.empty()) listener_.warning(element.message);
        if (!isOverlayKind(element.kind)) lastNonOverlay_ = element.kind;
        return Step::Next;
    }

    Step fail(int i, std::string_view text) {
        listener_.lineError(i, text);
        return Step::Fail;
    }

    MovieSettings& settings_;
    ElementFactory& factory_;
    ParseListener& listener_;
    std::array<bool, kCommandKeywords.size()> onceDone_{};
    int skipCount_ = 0;
    std::uint32_t debugFlags_ = 0;
    ElementKind lastNonOverlay_ = ElementKind::None;
};

}  // namespace

SplitLine splitScriptLine(std::string_view line) {
    SplitLine split;
    if (line.empty() || line.front() != '>') {
        split.ok = true;
        split.word = "pic";
        split.parameters = line;
        return split;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals + 1 == line.size()) {
        split.message = kSyntaxErrorText;
        return split;
    }
    split.word = line.substr(1, equals - 1);
    split.parameters = line.substr(equals + 1);
    std::optional<Command> code = findCommandKeyword(line.substr(0, equals));
    if (!code) {
        split.message = "Unknown command found: '" + std::string(split.word) + "'";
        return split;
    }
    split.ok = true;
    split.code = *code;
    return split;
}

ParseResult parseScript(const ScriptLines& lines, MovieSettings& settings, ElementFactory& factory,
                        ParseListener& listener) {
    return ScriptParser(settings, factory, listener).run(lines);
}

}  // namespace quillfen
