#include "script/script_paths.h"

#include "script/movie_settings.h"

namespace quillfen {

bool isAbsoluteScriptName(std::string_view name) {
    if (!name.empty() && (name.front() == '/' || name.front() == '\\')) return true;
    return name.find(':') != std::string_view::npos || name.find("\\\\") != std::string_view::npos;
}

bool isDrivePath(std::string_view name) {
    if (name.size() < 2 || name[1] != ':') return false;
    char letter = name[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::string drivePathText(std::string_view name) {
    return "'" + std::string(name) + "' starts with the Windows drive '" +
           std::string(name.substr(0, 2)) + "'; there are no drive letters on this system.";
}

std::string resolvePicturePath(std::string_view name, std::string_view pictureFolder) {
    if (isAbsoluteScriptName(name)) return std::string(name);
    std::string path(pictureFolder);
    path += name;
    return path;
}

namespace {

std::string pathBeforeLookup(std::string_view name, std::string_view scriptFolder) {
    std::string path(name);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    // Names a Script treats as absolute are not moved under the Script's folder either.
    if (path.empty() || isAbsoluteScriptName(name) || scriptFolder.empty()) return path;
    std::string full(scriptFolder);
    if (full.back() != '/') full += '/';
    return full + path;
}

}  // namespace

DiskName diskPath(std::string_view name, std::string_view scriptFolder) {
    return FindOnDisk(pathBeforeLookup(name, scriptFolder));
}

std::string nativePath(std::string_view name, std::string_view scriptFolder) {
    return diskPath(name, scriptFolder).path;
}

std::string nativePath(std::string_view name, const MovieSettings& settings) {
    return nativePath(name, settings.scriptFolder);
}

std::string caseWarning(std::string_view name, const MovieSettings& settings) {
    DiskName found = diskPath(name, settings.scriptFolder);
    if (found.otherMatches.empty()) return {};
    std::string others;
    for (const std::string& other : found.otherMatches)
        others += (others.empty() ? "'" : ", '") + other + "'";
    return "Warning: '" + std::string(name) + "' matches files that differ only in letter case; '" +
           found.path + "' is used, not " + others + ".";
}

}  // namespace quillfen
