#include "editor/view/editor_settings.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillfen {

namespace {

const char* const kFindGroup = "CrystalEdit/Find";

ColourValue readColour(QSettings& settings, const char* key, const char* fallback) {
    return ParseColorTriple(settingText(settings, key, fallback).toStdString());
}

QString freeFace(const std::string& face) {
    const QString name = QString::fromStdString(face);
    if (name.compare("Courier New", Qt::CaseInsensitive) == 0) return "Liberation Mono";
    if (name.compare("Arial", Qt::CaseInsensitive) == 0) return "Liberation Sans";
    if (name.isEmpty() || name.compare("FixedSys", Qt::CaseInsensitive) == 0) return "monospace";
    return name;
}

}  // namespace

QString settingText(QSettings& settings, const QString& key, const QString& fallback) {
    const QVariant value = settings.value(key, fallback);
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',');
    return value.toString();
}

std::unique_ptr<QSettings> openEditorSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Brindlemoor",
                                       "Quillfen");
}

ScriptColours readScriptColours(QSettings& settings) {
    settings.beginGroup("Settings");
    ScriptColours colours;
    colours.normal = readColour(settings, "ColorScriptNormal", "0,0,0");
    colours.background = readColour(settings, "ColorScriptBk", "255,255,255");
    colours.comment = readColour(settings, "ColorScriptComment", "0,128,0");
    colours.keyword = readColour(settings, "ColorScriptKeyword", "0,0,255");
    colours.string = readColour(settings, "ColorScriptString", "255,0,255");
    colours.number = readColour(settings, "ColorScriptNumber", "128,0,0");
    settings.endGroup();
    return colours;
}

LogFont readScriptFont(QSettings& settings) {
    const QString text = settingText(settings, "Settings/ScriptFont", "Courier New,16,0,400,0,0,0");
    return ParseFontSpec(text.toStdString());
}

QFont toQFont(const LogFont& logFont) {
    QFont font(freeFace(logFont.faceName));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (logFont.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.weight, 1, 1000)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    if (logFont.height < 0) {
        font.setPixelSize(-logFont.height);
    } else if (logFont.height > 0) {
        // A positive height is the whole cell (ascent + descent): scale the em to fit it.
        font.setPixelSize(logFont.height);
        const double cell = QFontMetricsF(font).height();
        if (cell > 0)
            font.setPixelSize(
                std::max(1, static_cast<int>(std::lround(logFont.height * logFont.height / cell))));
    }
    return font;
}

FindOptions readFindOptions(QSettings& settings) {
    settings.beginGroup(kFindGroup);
    FindOptions options;
    options.matchCase = settings.value("MatchCase", 0).toInt() != 0;
    options.wholeWord = settings.value("WholeWord", 0).toInt() != 0;
    options.what = settingText(settings, "FindWhat");
    settings.endGroup();
    return options;
}

void writeFindOptions(QSettings& settings, const FindOptions& options) {
    settings.beginGroup(kFindGroup);
    settings.setValue("MatchCase", options.matchCase ? 1 : 0);
    settings.setValue("WholeWord", options.wholeWord ? 1 : 0);
    settings.setValue("FindWhat", options.what);
    settings.endGroup();
    settings.sync();
}

}  // namespace quillfen
