#pragma once

#include <string_view>

namespace quillfen {

/// Read access to a Script's lines, the only thing the parser reads. Lines carry no line ends.
/// The text buffer, the editor view and tests implement it.
class ScriptLines {
  public:
    virtual ~ScriptLines() = default;
    virtual int lineCount() const = 0;
    /// The characters of line `index` (0-based); valid until the lines change.
    virtual std::string_view line(int index) const = 0;
};

}  // namespace quillfen
