#pragma once
// Fonts need a GUI application object even when nothing is shown. The command line has none,
// so text drawing makes its own on first use.

namespace quillfen {

/// True when fonts can be used: a QGuiApplication exists, or one was created now with the
/// "offscreen" platform (no display needed). False when another kind of application object
/// already exists. Call on the thread that runs the build (the main thread).
bool ensureFontSupport();

}  // namespace quillfen
