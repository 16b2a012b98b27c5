#include "editor/text_buffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include "editor/atomic_file_write.h"

namespace quillfen {
namespace {

constexpr std::size_t kDetectionBlock = 32768;
// Far beyond any Script; a larger file is something else and would only fill the memory.
constexpr std::uintmax_t kLargestScript = std::uintmax_t{64} << 20;
constexpr const char* kTooLargeText = "File is larger than 64 MiB";

std::string_view separatorOf(int style) {
    switch (style) {
        case kLfCrStyle:
            return "\n\r";
        case kLfStyle:
            return "\n";
        default:
            return "\r\n";
    }
}

bool knownStyle(int style) {
    return style == kCrlfStyle || style == kLfCrStyle || style == kLfStyle;
}

int detectStyle(std::string_view bytes) {
    const std::string_view block = bytes.substr(0, kDetectionBlock);
    const std::size_t lf = block.find('\n');
    if (lf == std::string_view::npos) return kCrlfStyle;
    if (lf > 0 && block[lf - 1] == '\r') return kCrlfStyle;
    if (lf + 1 < block.size() && block[lf + 1] == '\r') return kLfCrStyle;
    return kLfStyle;
}

// Splits at every whole separator; the rest, possibly empty, is the last line.
std::vector<std::string> splitLines(std::string_view text, std::string_view separator) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;) {
        lines.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

struct FileContents {
    std::string bytes;
    bool readOnly = false;
};

// The whole file, or nullopt with `error` set. Only regular files are read, so a named pipe
// or a device cannot hang or flood the editor (O_NONBLOCK keeps the open itself from waiting).
std::optional<FileContents> readWholeFile(const std::filesystem::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    FileContents contents;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
    } else if (static_cast<std::uintmax_t>(st.st_size) > kLargestScript) {
        error = kTooLargeText;
    } else {
        contents.bytes.reserve(static_cast<std::size_t>(st.st_size));
        char block[kDetectionBlock];
        for (;;) {
            const ssize_t n = ::read(fd, block, sizeof block);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) error = std::strerror(errno);
            if (n <= 0) break;
            contents.bytes.append(block, static_cast<std::size_t>(n));
            // The file may grow while it is read.
            if (contents.bytes.size() > kLargestScript) error = kTooLargeText;
            if (!error.empty()) break;
        }
    }
    ::close(fd);
    // No text holds a NUL byte; a picture or a program loaded by mistake almost always does.
    if (error.empty() && contents.bytes.find('\0') != std::string::npos)
        error = "Not a text file (it holds NUL bytes)";
    if (!error.empty()) return std::nullopt;
    // Root may write anything, so the permission bits count as well as access().
    contents.readOnly = (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
    return contents;
}

}  // namespace

void CCrystalTextBuffer::InitNew(int style) {
    lines_.assign(1, std::string());
    style_ = knownStyle(style) ? style : kCrlfStyle;
    encoding_ = TextEncoding::Utf8;
    initialised_ = true;
    readOnly_ = false;
    SetModified(false);
}

void CCrystalTextBuffer::FreeAll() {
    lines_.clear();
    lines_.shrink_to_fit();
    initialised_ = false;
}

bool CCrystalTextBuffer::LoadFromFile(const std::filesystem::path& path, int style) {
    std::string error;
    auto contents = readWholeFile(path, error);
    if (!contents) {
        lastError_ = std::move(error);
        return false;
    }
    style_ = knownStyle(style) ? style : detectStyle(contents->bytes);
    const std::string_view bytes = contents->bytes;
    if (bytes.starts_with(kUtf8ByteOrderMark) &&
        isValidUtf8(bytes.substr(kUtf8ByteOrderMark.size()))) {
        // Otherwise the mark would glue itself to the first command and hide it.
        encoding_ = TextEncoding::Utf8WithBom;
        lines_ = splitLines(bytes.substr(kUtf8ByteOrderMark.size()), separatorOf(style_));
    } else if (isValidUtf8(bytes)) {
        encoding_ = TextEncoding::Utf8;
        lines_ = splitLines(bytes, separatorOf(style_));
    } else {
        // Line ends are ASCII, so converting first splits at the same places.
        encoding_ = TextEncoding::Windows1252;
        lines_ = splitLines(windows1252ToUtf8(contents->bytes), separatorOf(style_));
    }
    initialised_ = true;
    readOnly_ = contents->readOnly;
    lastError_.clear();
    SetModified(false);
    return true;
}

bool CCrystalTextBuffer::SaveToFile(const std::filesystem::path& path, int style,
                                    bool clearModified) {
    const std::string_view separator = separatorOf(knownStyle(style) ? style : style_);
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) text += separator;
        text += lines_[i];
    }
    TextEncoding written = TextEncoding::Utf8;
    if (encoding_ == TextEncoding::Utf8WithBom) {
        text.insert(0, kUtf8ByteOrderMark);
        written = TextEncoding::Utf8WithBom;
    } else if (encoding_ == TextEncoding::Windows1252) {
        if (auto narrow = utf8ToWindows1252(text)) {
            text = std::move(*narrow);
            written = TextEncoding::Windows1252;
        }
    }
    if (!writeFileAtomically(path, text, lastError_)) return false;
    encoding_ = written;
    lastError_.clear();
    if (clearModified) SetModified(false);
    return true;
}

void CCrystalTextBuffer::SetLines(std::vector<std::string> lines) {
    if (lines.empty()) lines.emplace_back();
    lines_ = std::move(lines);
    initialised_ = true;
    SetModified(true);
}

int CCrystalTextBuffer::GetLineLength(int line) const {
    return static_cast<int>(this->line(line).size());
}

const char* CCrystalTextBuffer::GetLineChars(int line) const {
    if (line < 0 || line >= GetLineCount()) return "";
    return lines_[static_cast<std::size_t>(line)].c_str();
}

std::string_view CCrystalTextBuffer::StyleName(int style) {
    switch (style) {
        case kCrlfStyle:
            return "DOS";
        case kLfCrStyle:
            return "UNIX";
        default:
            return "";
    }
}

void CCrystalTextBuffer::SetModified(bool modified) {
    const bool changed = modified != modified_;
    modified_ = modified;
    if (changed && onModified_) onModified_(modified);
}

std::string_view CCrystalTextBuffer::line(int index) const {
    if (index < 0 || index >= GetLineCount()) return {};
    return lines_[static_cast<std::size_t>(index)];
}

}  // namespace quillfen
