#include "app/recent_scripts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace quillfen {

namespace {

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

RecentScripts RecentScripts::read(const ValueReader& read) {
    RecentScripts list;
    // Two-digit value names stop at 99; a hand-edited store cannot make this loop forever.
    for (int index = 0; index < 100; ++index) {
        std::optional<std::string> value = read(index);
        if (!value || value->empty()) break;
        list.entries_.push_back(std::move(*value));
    }
    return list;
}

void RecentScripts::add(std::string_view name) {
    const std::string_view clean = trimmed(name);
    if (clean.empty()) return;
    std::erase_if(entries_,
                  [&](const std::string& entry) { return equalIgnoringCase(entry, clean); });
    entries_.insert(entries_.begin(), std::string(clean));
}

std::vector<std::string> RecentScripts::entriesToWrite() const {
    const auto count = std::min<std::size_t>(entries_.size(), kWrittenLimit);
    return {entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::string recentScriptValueName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "Script_%02d", index);
    return name;
}

}  // namespace quillfen
