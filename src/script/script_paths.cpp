#include "script/script_paths.h"

#include "script/movie_settings.h"

namespace quillfen {

bool isAbsoluteScriptName(std::string_view name) {
    if (!name.empty() && (name.front() == '/' || name.front() == '\\')) return true;
    return name.find(':') != std::string_view::npos || name.find("\\\\") != std::string_view::npos;
}

std::string resolvePicturePath(std::string_view name, std::string_view pictureFolder) {
    if (isAbsoluteScriptName(name)) return std::string(name);
    std::string path(pictureFolder);
    path += name;
    return path;
}

std::string nativePath(std::string_view name, std::string_view scriptFolder) {
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

std::string nativePath(std::string_view name, const MovieSettings& settings) {
    return nativePath(name, settings.scriptFolder);
}

}  // namespace quillfen
