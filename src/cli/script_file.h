#pragma once
// Reading the Script file that a command names.

#include <string>

#include "editor/text_buffer.h"

namespace quillfen {

/// Loads `name` into `script`; on failure writes "quillfen: cannot open script ..." with the
/// reason to standard error and returns false.
bool loadScriptFile(const std::string& name, CCrystalTextBuffer& script);

/// The folder relative Script names are read against: the Script file's own folder.
std::string scriptFolderOf(const std::string& name);

}  // namespace quillfen
