#pragma once
// Starting the window: `quillfen`, `quillfen SCRIPT` and `quillfen --automation [SCRIPT]`.
// QApplication is created here only, so the command line's headless commands never need a
// display.

#include <optional>
#include <string>
#include <vector>

namespace quillfen {

struct WindowStart {
    std::string script;       // a Script to open; empty for a new one
    bool automation = false;  // register the automation object and stay alive after Quit
};

/// The window start that the program's arguments (after its name) ask for: none, one Script
/// name, or "--automation" with an optional Script name. None for anything else.
std::optional<WindowStart> windowStartFromArgs(const std::vector<std::string>& args);

/// Runs the window until the user quits; returns the program's exit status.
int runWindow(int argc, char** argv, const WindowStart& start);

}  // namespace quillfen
