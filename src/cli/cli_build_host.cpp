#include "cli/cli_build_host.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "base/text_numbers.h"

namespace quillfen {

namespace {

// The progress line is redrawn at most this often; a terminal cannot show more anyway.
constexpr auto kProgressInterval = std::chrono::milliseconds(200);
constexpr std::size_t kProgressWidth = 100;

std::string clockText(double seconds) {
    long long s = static_cast<long long>(seconds + 0.5);
    return s >= 3600 ? formatText("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60)
                     : formatText("%lld:%02lld", s / 60, s % 60);
}

}  // namespace

std::string ansiColour(ColourValue colour) {
    if (colour == kNoColour) return {};
    return formatText("\033[38;2;%d;%d;%dm", redOf(colour), greenOf(colour), blueOf(colour));
}

CodecChoice codecChoiceFor(std::string_view path, const CodecRequest& request) {
    std::string name;
    if (request.name) {
        name = *request.name;
    } else if (std::optional<Container> container = containerForPath(path)) {
        name = std::string(defaultCodecName(*container));
    }
    CodecChoice choice = defaultCodecChoice(name);
    if (request.quality) choice.quality = *request.quality;
    if (request.keyFrameInterval) choice.keyFrameInterval = *request.keyFrameInterval;
    if (request.dataRateKbps) choice.dataRateKbps = *request.dataRateKbps;
    return choice;
}

CliBuildHost::CliBuildHost(CliHostOptions options, const ScriptLines& lines, std::ostream& out,
                           std::ostream& err)
    : options_(std::move(options)), lines_(lines), out_(out), err_(err) {}

void CliBuildHost::addTrace(const TraceEntry& entry) {
    clearProgress();
    std::string colour = options_.colour ? ansiColour(entry.colour) : std::string();
    out_ << colour << entry.text << (colour.empty() ? "" : "\033[0m") << '\n';
}

void CliBuildHost::markErrorLine(int lineIndex, std::string_view text) {
    // Editors count lines from 1.
    clearProgress();
    out_.flush();
    err_ << options_.scriptName << ':' << lineIndex + 1 << ": " << text << '\n';
    if (lineIndex >= 0 && lineIndex < lines_.lineCount()) err_ << lines_.line(lineIndex) << '\n';
    err_.flush();
}

OverwriteAnswer CliBuildHost::askOverwrite(std::string_view question, std::string_view) {
    if (options_.overwrite) return OverwriteAnswer::Yes;
    std::string name = options_.movieFile.empty() ? outputFile_ : options_.movieFile;
    if (!options_.interactive || !options_.answers) {
        out_.flush();
        err_ << "quillfen: movie file '" << name
             << "' already exists; give -y or --overwrite to replace it\n";
        return OverwriteAnswer::Cancel;
    }
    out_.flush();
    err_ << question << " [y]es, [n]o, [c]ancel: " << std::flush;
    std::string answer;
    if (!std::getline(*options_.answers, answer)) answer.clear();
    char first = answer.empty() ? 'c' : static_cast<char>(answer.front() | 0x20);
    if (first == 'y') return OverwriteAnswer::Yes;
    if (first == 'n') {
        declinedOverwrite_ = true;
        return OverwriteAnswer::No;
    }
    return OverwriteAnswer::Cancel;
}

std::optional<std::string> CliBuildHost::chooseMovieFile(std::string_view) {
    // There is no save dialog on the command line: the build ends here.
    out_.flush();
    if (declinedOverwrite_) {
        err_ << "quillfen: the movie file was kept; give -o to write another one\n";
    } else {
        err_ << "quillfen: no movie file: give -o or a moviefile command\n";
    }
    return std::nullopt;
}

void CliBuildHost::movieFramesCounted(std::int64_t totalFrames) {
    totalFrames_ = totalFrames;
    loopStart_ = Clock::now();
    lastDrawn_ = loopStart_ - kProgressInterval;
}

void CliBuildHost::setFrameCounter(std::string_view text) {
    if (!options_.progress) return;
    long long frame = 0;
    if (std::sscanf(std::string(text).c_str(), "Frame #%lld", &frame) != 1) return;
    drawProgress(frame);
}

void CliBuildHost::drawProgress(std::int64_t frame) {
    Clock::time_point now = Clock::now();
    if (now - lastDrawn_ < kProgressInterval) return;
    lastDrawn_ = now;
    std::string text = progressText(frame, std::chrono::duration<double>(now - loopStart_).count());
    if (text.size() > kProgressWidth) text.resize(kProgressWidth);
    out_.flush();
    err_ << "\r\033[K" << text << std::flush;
    progressShown_ = true;
}

std::string CliBuildHost::progressText(std::int64_t frame, double elapsed) const {
    double fps = elapsed > 0 ? static_cast<double>(frame) / elapsed : 0.0;
    std::string text = formatText("frame %lld of %lld", static_cast<long long>(frame),
                                  static_cast<long long>(totalFrames_));
    if (fps > 0) {
        double left = static_cast<double>(totalFrames_ - frame) / fps;
        text += formatText("  %.1f fps  %s left", fps, clockText(left < 0 ? 0 : left).c_str());
    }
    if (currentLine_ >= 0 && currentLine_ < lines_.lineCount()) {
        text += formatText("  line %d: ", currentLine_ + 1);
        text += lines_.line(currentLine_);
    }
    return text;
}

void CliBuildHost::clearProgress() {
    if (!progressShown_) return;
    err_ << "\r\033[K" << std::flush;
    progressShown_ = false;
}

}  // namespace quillfen
