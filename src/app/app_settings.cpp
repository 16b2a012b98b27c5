#include "app/app_settings.h"

#include "editor/view/editor_settings.h"

namespace quillfen {

namespace {
const char* const kOutputFileKey = "Settings/OutputFile";
const char* const kRecentGroup = "Recent Scripts";
}  // namespace

AppSettings::AppSettings() : store_(openEditorSettings()) {}

AppSettings::AppSettings(std::unique_ptr<QSettings> store) : store_(std::move(store)) {}

LogFont AppSettings::scriptFont() {
    return readScriptFont(*store_);
}

ScriptColours AppSettings::scriptColours() {
    return readScriptColours(*store_);
}

std::string AppSettings::outputFile() {
    return settingText(*store_, kOutputFileKey).toStdString();
}

void AppSettings::setOutputFile(const std::string& name) {
    store_->setValue(kOutputFileKey, QString::fromStdString(name));
    store_->sync();
}

RecentScripts AppSettings::recentScripts() {
    store_->beginGroup(kRecentGroup);
    RecentScripts list = RecentScripts::read([this](int index) -> std::optional<std::string> {
        const QString key = QString::fromStdString(recentScriptValueName(index));
        if (!store_->contains(key)) return std::nullopt;
        return settingText(*store_, key).toStdString();
    });
    store_->endGroup();
    return list;
}

void AppSettings::writeRecentScripts(const RecentScripts& list) {
    // Replace the whole section: values beyond the new count would otherwise linger.
    store_->remove(kRecentGroup);
    store_->beginGroup(kRecentGroup);
    const std::vector<std::string> entries = list.entriesToWrite();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        store_->setValue(QString::fromStdString(recentScriptValueName(i)),
                         QString::fromStdString(entries[static_cast<std::size_t>(i)]));
    }
    store_->endGroup();
    store_->sync();
}

}  // namespace quillfen
