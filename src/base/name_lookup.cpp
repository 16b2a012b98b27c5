#include "base/name_lookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quillfen {
namespace {

namespace fs = std::filesystem;

bool entryExists(const std::string& path) {
    std::error_code error;
    // symlink_status: a dangling link is still an entry by that name.
    return fs::exists(fs::symlink_status(fs::path(path.empty() ? "." : path), error));
}

std::string_view withoutTrailingBlanksAndDots(std::string_view name) {
    // "." and ".." keep their meaning.
    if (name == "." || name == "..") return name;
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.remove_suffix(1);
    return name;
}

/// Lower case for ASCII letters and for the Latin-1 capitals as UTF-8 (C3 80..C3 9E, but not
/// the multiplication sign C3 97), which is what Windows-1252 Scripts put in names.
std::string foldedName(std::string_view name) {
    std::string folded(withoutTrailingBlanksAndDots(name));
    for (std::size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < folded.size()) {
            unsigned char next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                folded[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return folded;
}

std::string joined(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

/// The entries of `folder` whose names match `name` ignoring case, sorted in byte order.
std::vector<std::string> matchesIn(const std::string& folder, std::string_view name) {
    std::vector<std::string> matches;
    const std::string wanted = foldedName(name);
    std::error_code error;
    fs::directory_iterator entries(fs::path(folder.empty() ? "." : folder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string entry = entries->path().filename().string();
        if (foldedName(entry) == wanted) matches.push_back(std::move(entry));
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return foldedName(a) == foldedName(b);
}

DiskName FindOnDisk(std::string_view path) {
    DiskName found{std::string(path), {}};
    if (path.empty() || entryExists(found.path)) return found;
    std::string current = path.front() == '/' ? "/" : "";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = std::min(path.find('/', start), path.size());
        std::string_view component = path.substr(start, slash - start);
        bool last = slash == path.size();
        start = slash + 1;
        if (component.empty()) {
            if (last && !current.empty() && current.back() != '/') current += '/';
            continue;
        }
        std::string exact = joined(current, component);
        if (entryExists(exact)) {
            current = std::move(exact);
            continue;
        }
        std::vector<std::string> matches = matchesIn(current, component);
        // A new file (a movie to write) still gets its folder found.
        if (matches.empty() && last)
            return DiskName{std::move(exact), std::move(found.otherMatches)};
        if (matches.empty()) return DiskName{std::string(path), {}};
        for (std::size_t m = 1; m < matches.size(); ++m)
            found.otherMatches.push_back(joined(current, matches[m]));
        current = joined(current, matches.front());
    }
    found.path = std::move(current);
    return found;
}

}  // namespace quillfen
