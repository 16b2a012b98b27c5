#include "timeline/sequence_element.h"

#include <climits>
#include <vector>

#include "base/file_system.h"
#include "base/text_numbers.h"
#include "imaging/picture_loader.h"
#include "script/script_paths.h"

namespace quillfen {
namespace {

// Wider fields would only pad with zeros: the run is limited to a million files anyway.
constexpr int kMaxDigits = 9;
// Runs no longer than this keep each file's stamp, to tell a file changed during the build.
constexpr long long kMaxStampedFiles = 1'000'000;

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

/// "%" doubled, so the pattern shown in the dump reads as a printf format.
std::string escapePercent(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (c == '%') escaped += '%';
        escaped += c;
    }
    return escaped;
}

}  // namespace

SequenceElement::SequenceElement(int lineIndex, const MovieSettings& movieSettings,
                                 std::string_view parameters)
    : SourceElement(lineIndex, movieSettings) {
    kind = ElementKind::Sequence;
    std::vector<std::string_view> groups = splitPieces(parameters, '|');
    if (groups.size() > 1) firstNumber = readInt(groups[1]);
    if (groups.size() > 2) lastNumber = readInt(groups[2]);
    if (firstNumber < 0) firstNumber = 0;
    if (lastNumber < 0) lastNumber = 0;
    if (lastNumber != 0 && lastNumber < firstNumber) lastNumber = firstNumber;
    currentNumber = firstNumber;
    if (groups.empty() || !readPattern(groups[0])) {
        message = "Error: sequence '" + std::string(groups.empty() ? "" : groups[0]) +
                  "' needs its digit count in brackets, like img[4].jpg.";
        return;
    }
    if (lastNumber == 0) findLastNumber();
    if (!message.empty()) return;
    long long count = static_cast<long long>(lastNumber) - firstNumber + 1;
    nbFrames_ = nbAVIFrames_ = count > INT_MAX ? INT_MAX : static_cast<int>(count);
    if (count <= kMaxStampedFiles && stamps_.empty()) stampFiles();
    valid = true;
}

void SequenceElement::stampFiles() {
    // Counted wide: a run may end on the largest int. A missing file ends the run when it is
    // shown, so the files after it are not asked: each miss costs a search of the folders
    // without regard to case, and a long run of them would hold up reading the Script.
    for (long long number = firstNumber; number <= lastNumber; ++number) {
        std::optional<FileStamp> stamp =
            ReadFileStamp(nativePath(fileNameFor(static_cast<int>(number)), settings));
        if (!stamp) break;
        stamps_.push_back(stamp);
    }
}

bool SequenceElement::readPattern(std::string_view text) {
    std::size_t open = text.find('[');
    std::size_t close = open == std::string_view::npos ? open : text.find(']', open + 1);
    if (close == std::string_view::npos) return false;
    std::string_view count = trimBlanks(text.substr(open + 1, close - open - 1));
    // An empty or zero count numbers the files without padding (img[0].jpg: img7.jpg).
    digits_ = readInt(count);
    if (digits_ < 0 || digits_ > kMaxDigits) return false;
    // The whole pattern decides whether the picture folder goes in front, as for a picture.
    std::string prefix(text.substr(0, open));
    namePrefix_ = isAbsoluteScriptName(text) ? prefix : settings.pictureFolder + prefix;
    nameSuffix_ = std::string(text.substr(close + 1));
    file = escapePercent(namePrefix_) + formatText("%%0%dd", digits_) + escapePercent(nameSuffix_);
    return true;
}

void SequenceElement::findLastNumber() {
    // Numbers that fit the digit count, capped at a million files. Unpadded numbers fit
    // any width, so only the cap limits them.
    int limit = 1;
    for (int d = 0; d < (digits_ == 0 ? 6 : digits_) && d < 6; ++d)
        limit *= 10;
    // Each file found is stamped on the way, so that stampFiles need not look for it again.
    int number = firstNumber;
    for (; number < limit; ++number) {
        std::string path = nativePath(fileNameFor(number), settings);
        if (!FileExists(path)) break;
        stamps_.push_back(ReadFileStamp(path));
    }
    if (number == firstNumber) {
        message = "Error: no file of sequence '" + fileNameFor(firstNumber) + "' exists.";
    } else if (number == limit) {
        stamps_.clear();
        message = formatText("Error: sequence '%s' has more files than %d digits can number.",
                             file.c_str(), digits_);
    } else {
        lastNumber = number - 1;
    }
}

std::string SequenceElement::fileNameFor(int number) const {
    return namePrefix_ + formatText("%0*d", digits_, number) + nameSuffix_;
}

void SequenceElement::reset() {
    SourceElement::reset();
    kind = ElementKind::Sequence;
    firstNumber = lastNumber = currentNumber = 0;
    stamps_.clear();
}

FrameImage SequenceElement::nextFrame() {
    if (nbFrames_ <= 0) return {};
    --nbFrames_;
    firstFrame_ = false;
    const std::string name = fileNameFor(currentNumber);
    const auto index = static_cast<std::size_t>(currentNumber - firstNumber);
    // A run may end on the largest int; there is no number after it to step to.
    if (currentNumber < INT_MAX) ++currentNumber;
    // Nothing is cached: every frame reads its own file.
    return loadPictureForFrame(name, index < stamps_.size() ? stamps_[index] : std::nullopt);
}

std::string SequenceElement::describe() const {
    return dumpHead("Sequence\t") + "  file:" + file;
}

}  // namespace quillfen
