#include "cli/script_file.h"

#include <filesystem>
#include <iostream>

namespace quillfen {

bool loadScriptFile(const std::string& name, CCrystalTextBuffer& script) {
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        std::cerr << "quillfen: cannot open script '" << name << "': Is a directory\n";
        return false;
    }
    if (!script.LoadFromFile(name)) {
        std::cerr << "quillfen: cannot open script '" << name << "': " << script.GetLastError()
                  << "\n";
        return false;
    }
    return true;
}

std::string scriptFolderOf(const std::string& name) {
    return std::filesystem::path(name).parent_path().string();
}

}  // namespace quillfen
