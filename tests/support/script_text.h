#pragma once
// A Script held in memory, for tests that parse or build without a file.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "script/script_lines.h"

namespace quillfen::testing {

class ScriptText : public ScriptLines {
  public:
    ScriptText(std::initializer_list<std::string> lines) : lines_(lines) {}
    explicit ScriptText(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    int lineCount() const override { return static_cast<int>(lines_.size()); }
    std::string_view line(int i) const override { return lines_[static_cast<std::size_t>(i)]; }

  private:
    std::vector<std::string> lines_;
};

}  // namespace quillfen::testing
