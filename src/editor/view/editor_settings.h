#pragma once
// The settings the editor reads: its colours and font ("Settings") and the Find values
// ("CrystalEdit\Find"), in the program's QSettings store.

#include <QFont>
#include <QSettings>
#include <QString>
#include <memory>

#include "editor/script_colouring.h"
#include "imaging/font_colour_text.h"

namespace quillfen {

/// What Find searches for and how; kept for the whole run once read.
struct FindOptions {
    QString what;
    bool matchCase = false;
    bool wholeWord = false;
    bool up = false;

    friend bool operator==(const FindOptions&, const FindOptions&) = default;
};

/// The program's settings store: organization "Brindlemoor", application "Quillfen", native
/// format of the current user.
std::unique_ptr<QSettings> openEditorSettings();

/// The value of `key` as text, `fallback` when absent. A value typed into the file with commas
/// and no quotes reads back as a list; it is joined again with commas.
QString settingText(QSettings& settings, const QString& key, const QString& fallback = {});

/// The six "ColorScript..." values of the "Settings" section, with their defaults when absent.
/// The selection margin keeps its default; the view takes it from the system palette.
ScriptColours readScriptColours(QSettings& settings);

/// "ScriptFont" of the "Settings" section, default "Courier New,16,0,400,0,0,0".
LogFont readScriptFont(QSettings& settings);

/// A Qt font for `font`. Faces without a free counterpart fall back to a fixed-pitch font;
/// "Courier New" becomes its metric-compatible free font. Height 0 keeps the default size.
QFont toQFont(const LogFont& font);

/// "MatchCase", "WholeWord" and "FindWhat" of "CrystalEdit\Find"; the direction is down.
FindOptions readFindOptions(QSettings& settings);

/// Writes "MatchCase", "WholeWord" and "FindWhat" back; the direction is not kept.
void writeFindOptions(QSettings& settings, const FindOptions& options);

}  // namespace quillfen
