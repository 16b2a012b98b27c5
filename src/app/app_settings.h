#pragma once
// The program's settings store: QSettings in the native format of the current user,
// organization "Brindlemoor", application "Quillfen" (so $XDG_CONFIG_HOME/Brindlemoor/
// Quillfen.conf). The "Settings" values other than "OutputFile" are only read; users edit them
// outside the program.

#include <QSettings>
#include <memory>
#include <string>

#include "app/recent_scripts.h"
#include "editor/script_colouring.h"
#include "imaging/font_colour_text.h"

namespace quillfen {

class AppSettings {
  public:
    /// Opens the program's own store.
    AppSettings();
    /// Works on `store` instead (tests).
    explicit AppSettings(std::unique_ptr<QSettings> store);

    /// "ScriptFont", default "Courier New,16,0,400,0,0,0".
    LogFont scriptFont();
    /// The six "ColorScript..." colours with their defaults.
    ScriptColours scriptColours();

    /// "OutputFile", empty by default.
    std::string outputFile();
    /// Stores "OutputFile" and writes it to disk at once, so a crash later keeps it.
    void setOutputFile(const std::string& name);

    /// The "Recent Scripts" section read as "Script_00", "Script_01", ...
    RecentScripts recentScripts();
    /// Replaces the "Recent Scripts" section by the list's entriesToWrite.
    void writeRecentScripts(const RecentScripts& list);

    QSettings& store() { return *store_; }

  private:
    std::unique_ptr<QSettings> store_;
};

}  // namespace quillfen
