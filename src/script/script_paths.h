#pragma once
// Names as a Script gives them, and where they are on disk. "\" in a Script name is a
// separator too, so Scripts written on Windows keep working; the conversion to a native
// path happens only in `nativePath`.

#include <string>
#include <string_view>

#include "base/name_lookup.h"

namespace quillfen {

struct MovieSettings;

/// A name is used as written when it starts with "/" or "\", or holds ":" or "\\".
bool isAbsoluteScriptName(std::string_view name);

/// True when the name starts with a drive letter and ":" ("C:\Shows\"), which names
/// nothing on this system.
bool isDrivePath(std::string_view name);

/// The text that says so, for a name that isDrivePath.
std::string drivePathText(std::string_view name);

/// The name with the picture folder put in front unless it is absolute (messages and dump
/// lines show this form).
std::string resolvePicturePath(std::string_view name, std::string_view pictureFolder);

/// The file-system path of a resolved Script name: "\" becomes "/", a name that is not
/// absolute (see isAbsoluteScriptName) is taken relative to `scriptFolder` (empty: the
/// current directory), and a name that does not exist exactly as written is looked up
/// without regard to letter case (see FindOnDisk).
std::string nativePath(std::string_view name, std::string_view scriptFolder);
std::string nativePath(std::string_view name, const MovieSettings& settings);

/// nativePath with the other names that matched as well as the one chosen.
DiskName diskPath(std::string_view name, std::string_view scriptFolder);

/// The warning for a Script name that matched several files differing only in letter case
/// (empty when it matched one or none).
std::string caseWarning(std::string_view name, const MovieSettings& settings);

}  // namespace quillfen
