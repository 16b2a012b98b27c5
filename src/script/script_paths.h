#pragma once
// Names as a Script gives them, and where they are on disk. "\" in a Script name is a
// separator too, so Scripts written on Windows keep working; the conversion to a native
// path happens only in `nativePath`.

#include <string>
#include <string_view>

namespace quillfen {

struct MovieSettings;

/// A name is used as written when it starts with "/" or "\", or holds ":" or "\\".
bool isAbsoluteScriptName(std::string_view name);

/// The name with the picture folder put in front unless it is absolute (messages and dump
/// lines show this form).
std::string resolvePicturePath(std::string_view name, std::string_view pictureFolder);

/// The file-system path of a resolved Script name: "\" becomes "/", and a name that is not
/// absolute (see isAbsoluteScriptName) is taken relative to `scriptFolder` (empty: the
/// current directory).
std::string nativePath(std::string_view name, std::string_view scriptFolder);
std::string nativePath(std::string_view name, const MovieSettings& settings);

}  // namespace quillfen
