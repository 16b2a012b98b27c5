#pragma once
// The Recent Scripts list behind the Script file box: most recent first, changed only when the
// user quits. Pure logic, so the ordering rules are testable without a window.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

class RecentScripts {
  public:
    /// How many entries are written at Quit: the list's limit of 20 plus the name just added.
    static constexpr int kWrittenLimit = 21;

    /// Reads value 0, 1, 2, ... through `read` until the first missing or empty one.
    using ValueReader = std::function<std::optional<std::string>(int index)>;
    static RecentScripts read(const ValueReader& read);

    /// Puts `name`, without blanks at either end, at the top; an entry further down that
    /// equals it regardless of case is removed. An empty name changes nothing.
    void add(std::string_view name);

    const std::vector<std::string>& entries() const { return entries_; }
    /// The entries that Quit writes, in list order: at most kWrittenLimit.
    std::vector<std::string> entriesToWrite() const;

  private:
    std::vector<std::string> entries_;
};

/// "Script_" followed by the index in two digits: "Script_00", "Script_07", "Script_20".
std::string recentScriptValueName(int index);

}  // namespace quillfen
