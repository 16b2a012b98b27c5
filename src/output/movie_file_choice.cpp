#include "output/movie_file_choice.h"

#include "base/file_system.h"
#include "script/script_paths.h"

namespace quillfen {

std::optional<std::string> chooseMovieFile(BuildHost& host, const std::string& outputFile,
                                           bool overwriteSilently, const MovieSettings& settings) {
    if (!outputFile.empty()) {
        if (overwriteSilently || !FileExists(nativePath(outputFile, settings))) return outputFile;
        OverwriteAnswer answer = host.askOverwrite(kOverwriteQuestion, "Caution!");
        if (answer == OverwriteAnswer::Yes) return outputFile;
        if (answer == OverwriteAnswer::Cancel) return std::nullopt;
    }
    std::optional<std::string> chosen =
        host.chooseMovieFile("Enter the filename for the new movie");
    if (!chosen || chosen->empty()) return std::nullopt;
    host.outputFileChanged(*chosen);
    return chosen;
}

}  // namespace quillfen
