#pragma once
// Which file a build writes its movie to: the output file unless it exists and the user
// declines to overwrite it, else whatever the host's file chooser gives.

#include <optional>
#include <string>

#include "output/build_host.h"
#include "script/movie_settings.h"

namespace quillfen {

inline constexpr std::string_view kOverwriteQuestion =
    "Movie file already exists.\nDo you want to overwrite it?";

/// The movie file name for this build (Script form), or none when the user cancelled.
/// `outputFile` is used when it is not empty and either does not exist, `overwriteSilently`
/// is set, or the user answers Yes; No lets the user choose another file, Cancel ends the
/// choice. A chosen file is shown through outputFileChanged.
std::optional<std::string> chooseMovieFile(BuildHost& host, const std::string& outputFile,
                                           bool overwriteSilently, const MovieSettings& settings);

}  // namespace quillfen
