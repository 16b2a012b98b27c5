#include "editor/view/bookmarks.h"

#include <algorithm>

namespace quillfen {

void Bookmarks::toggleNumbered(int number, int line) {
    if (number < 0 || number >= kNumbered) return;
    auto& slot = numbered_[static_cast<std::size_t>(number)];
    if (slot && slot->line() == line) {
        slot.reset();
    } else {
        slot.emplace(document_, line);
    }
}

std::optional<int> Bookmarks::numberedLine(int number) const {
    if (number < 0 || number >= kNumbered) return std::nullopt;
    const auto& slot = numbered_[static_cast<std::size_t>(number)];
    if (!slot) return std::nullopt;
    return slot->line();
}

std::optional<int> Bookmarks::numberAt(int line) const {
    for (int n = 0; n < kNumbered; ++n) {
        if (numberedLine(n) == line) return n;
    }
    return std::nullopt;
}

void Bookmarks::togglePlain(int line) {
    // Lines that merged through deletions may hold several anchors: remove them all.
    const auto removed =
        std::erase_if(plain_, [line](const LineAnchor& a) { return a.line() == line; });
    if (removed == 0) plain_.emplace_back(document_, line);
}

std::vector<int> Bookmarks::plainLines() const {
    std::vector<int> lines;
    for (const LineAnchor& anchor : plain_)
        lines.push_back(anchor.line());
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

std::optional<int> Bookmarks::nextPlain(int line) const {
    const auto lines = plainLines();
    if (lines.empty()) return std::nullopt;
    const auto it = std::upper_bound(lines.begin(), lines.end(), line);
    return it != lines.end() ? *it : lines.front();
}

std::optional<int> Bookmarks::previousPlain(int line) const {
    const auto lines = plainLines();
    if (lines.empty()) return std::nullopt;
    const auto it = std::lower_bound(lines.begin(), lines.end(), line);
    return it != lines.begin() ? *(it - 1) : lines.back();
}

}  // namespace quillfen
