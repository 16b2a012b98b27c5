#pragma once
// What check, build and frame start from: the Script read from its file, a host that writes
// the Trace to the terminal, and a build driver with the built-in effects that reads relative
// names against the Script's folder.

#include <string>

#include "cli/cli_build_host.h"
#include "editor/text_buffer.h"
#include "output/build_driver.h"

namespace quillfen {

class CommandSession {
  public:
    /// Reads the Script `options.scriptName` names. On failure "quillfen: cannot open script
    /// ..." and the reason go to standard error, and `loaded()` is false. The Trace is
    /// coloured when standard output is a terminal.
    explicit CommandSession(CliHostOptions options);
    CommandSession(const CommandSession&) = delete;
    CommandSession& operator=(const CommandSession&) = delete;

    bool loaded() const { return loaded_; }
    CCrystalTextBuffer& script() { return script_; }
    BuildDriver& driver() { return driver_; }

  private:
    CCrystalTextBuffer script_;
    bool loaded_;
    CliBuildHost host_;
    BuildDriver driver_;
};

/// The folder relative Script names are read against: the Script file's own folder.
std::string scriptFolderOf(const std::string& name);

}  // namespace quillfen
