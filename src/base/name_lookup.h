#pragma once
// Finding a name on disk the way the system Scripts come from finds it: without regard to
// letter case, and ignoring blanks and dots at the end of a name. Scripts written there name
// "B.PNG" where the file here is "b.png".

#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

struct DiskName {
    /// The path to use. An exact match is kept as it is; otherwise each missing component is
    /// replaced by the entry of its folder that matches it ignoring case (the first in byte
    /// order when several do). A last component that matches nothing is kept as written (a
    /// file still to be made); any other component that matches nothing gives the path as
    /// written.
    std::string path;
    /// Other entries that matched a component as well as the chosen one, as full paths.
    std::vector<std::string> otherMatches;
};

/// Looks `path` ("/" separators, relative to the current directory unless it starts with
/// "/") up on disk. Costs one status call when the path exists exactly as written.
DiskName FindOnDisk(std::string_view path);

/// Whether two names are the same ignoring case (ASCII and the Latin-1 letters in UTF-8) and
/// trailing blanks and dots.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quillfen
