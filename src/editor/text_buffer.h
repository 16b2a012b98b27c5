#pragma once
// The Script as an array of lines, with the file duties of the editor: loading with line-end
// detection, saving without ever losing the file, and the modified flag. Text editing and undo
// live in the editor view; this buffer is also the command line's `ScriptLines`.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text_encoding.h"
#include "script/script_lines.h"

namespace quillfen {

/// Line-end styles: what is written between two lines.
inline constexpr int kCrlfStyle = 0;  ///< carriage return, line feed ("DOS")
inline constexpr int kLfCrStyle = 1;  ///< line feed, carriage return ("UNIX")
inline constexpr int kLfStyle = 2;    ///< line feed alone

class CCrystalTextBuffer final : public ScriptLines {
  public:
    using ModifiedCallback = std::function<void(bool modified)>;

    /// An uninitialised buffer with no lines.
    CCrystalTextBuffer() = default;
    CCrystalTextBuffer(const CCrystalTextBuffer&) = delete;
    CCrystalTextBuffer& operator=(const CCrystalTextBuffer&) = delete;

    /// Empties the buffer to one empty line in `style` (an unknown style counts as 0), UTF-8;
    /// initialised, writable, not modified.
    void InitNew(int style = kCrlfStyle);
    /// Drops every line; the buffer is uninitialised until the next `InitNew` or load.
    void FreeAll();

    /// Reads `path`. With `style` -1 the line-end style is found from the first 32768 bytes: no
    /// line feed or a carriage return before the first one gives 0, a carriage return after it
    /// gives 1, otherwise 2. Only that style's whole separator splits lines; a file ending with
    /// it has an empty last line. Text that is not valid UTF-8 is read as Windows-1252; a UTF-8
    /// byte order mark is set aside (see `GetEncoding`).
    /// Returns false (reason in `GetLastError`) and leaves the buffer unchanged on failure,
    /// which includes a file that is not a regular file, holds NUL bytes (not text) or is
    /// larger than 64 MiB.
    bool LoadFromFile(const std::filesystem::path& path, int style = -1);

    /// Writes the lines with the separator of `style` (-1: the buffer's own) between them, in
    /// the encoding the text was loaded in (UTF-8 when Windows-1252 cannot hold it), through a
    /// temporary file renamed over `path`. On success clears the modified flag if asked.
    /// Returns false (reason in `GetLastError`) and leaves `path` as it was on failure.
    bool SaveToFile(const std::filesystem::path& path, int style = -1, bool clearModified = true);

    /// Replaces the whole text (UTF-8 lines without line ends) and marks the buffer modified;
    /// how the editor view hands its document over before a save. No lines give one empty line.
    void SetLines(std::vector<std::string> lines);

    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    /// Length in bytes of line `line`; 0 outside the buffer.
    int GetLineLength(int line) const;
    /// The bytes of line `line` (UTF-8); "" outside the buffer. Valid until the lines change.
    const char* GetLineChars(int line) const;

    int GetCRLFMode() const { return style_; }
    /// "DOS", "UNIX" or "" for the styles 0, 1 and 2.
    static std::string_view StyleName(int style);
    TextEncoding GetEncoding() const { return encoding_; }

    /// Records the flag; the modified callback hears of every change of it.
    void SetModified(bool modified);
    bool IsModified() const { return modified_; }
    /// Set on load when the file may not be written (no write permission bit, or no access).
    bool IsReadOnly() const { return readOnly_; }
    bool IsInitialised() const { return initialised_; }
    /// Called with the new value whenever the modified flag changes.
    void SetModifiedCallback(ModifiedCallback callback) { onModified_ = std::move(callback); }

    /// The reason of the last failed load or save, e.g. "No such file or directory".
    const std::string& GetLastError() const { return lastError_; }

    int lineCount() const override { return GetLineCount(); }
    std::string_view line(int index) const override;

  private:
    std::vector<std::string> lines_;
    int style_ = kCrlfStyle;
    TextEncoding encoding_ = TextEncoding::Utf8;
    bool initialised_ = false;
    bool readOnly_ = false;
    bool modified_ = false;
    ModifiedCallback onModified_;
    std::string lastError_;
};

}  // namespace quillfen
