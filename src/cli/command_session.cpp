#include "cli/command_session.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "imaging/effects/effect_registry.h"

namespace quillfen {
namespace {

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

CliHostOptions withTerminalColour(CliHostOptions options) {
    options.colour = isatty(STDOUT_FILENO) != 0;
    return options;
}

}  // namespace

CommandSession::CommandSession(CliHostOptions options)
    : loaded_(loadScriptFile(options.scriptName, script_)),
      host_(withTerminalColour(options), script_, std::cout, std::cerr),
      driver_(host_, builtinEffectCatalogue(), programCaptionTail()) {
    driver_.settings().scriptFolder = scriptFolderOf(options.scriptName);
}

std::string scriptFolderOf(const std::string& name) {
    return std::filesystem::path(name).parent_path().string();
}

}  // namespace quillfen
