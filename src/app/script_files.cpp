#include "app/script_files.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/dialog_seam.h"
#include "editor/view/my_crystal_view.h"

namespace quillfen {

namespace {

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(name.toStdString());
}

std::vector<std::string> editorLines(const CMyCrystalView& editor) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(editor.lineCount()));
    for (int i = 0; i < editor.lineCount(); ++i)
        lines.emplace_back(editor.line(i));
    return lines;
}

}  // namespace

ScriptFiles::ScriptFiles(CMyCrystalView& editor, QComboBox& scriptBox, DialogSeam& dialogs)
    : editor_(editor), scriptBox_(scriptBox), dialogs_(dialogs) {
    // Picking a list entry replaces the box's text before the window hears of the choice;
    // only typing counts as the name the Script would be saved under.
    if (QLineEdit* edit = scriptBox_.lineEdit()) {
        typing_ = QObject::connect(edit, &QLineEdit::textEdited,
                                   [this](const QString& text) { boxText_ = text; });
    }
    startEmpty();
}

ScriptFiles::~ScriptFiles() {
    QObject::disconnect(typing_);
}

void ScriptFiles::startEmpty() {
    buffer_.InitNew();
    showBuffer();
}

void ScriptFiles::showBuffer() {
    editor_.setScript(buffer_);
    // A Script whose file may not be written is shown but not edited, as its file is.
    editor_.setReadOnly(buffer_.IsReadOnly());
}

bool ScriptFiles::askToSave() {
    if (!editor_.isModified()) return true;
    switch (dialogs_.ask(QObject::tr("Script modified, do you want to save it ?"),
                         QObject::tr("Caution!"))) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            // Going on after a failed or cancelled save would lose the text (Quit, Load).
            return save();
        case Answer::No:
            return true;
    }
    return true;
}

void ScriptFiles::load() {
    if (!askToSave()) return;
    if (std::optional<QString> name =
            dialogs_.openFileName(QObject::tr("Select the script to load"), kScriptFilter)) {
        openScript(*name);
    }
    editor_.setFocus();
}

bool ScriptFiles::openScript(const QString& name) {
    // A file that cannot be read leaves the text and its name as they were: with the failed
    // name kept, a later Save would write over the very file that could not be read.
    const bool loaded = buffer_.LoadFromFile(toPath(name));
    if (loaded) {
        scriptPath_ = name;
        showBuffer();
    }
    showPath();
    if (!loaded) {
        dialogs_.warn(QObject::tr("Error when trying to open script file:\n\"%1\"").arg(name),
                      QObject::tr("Error!"));
    }
    return loaded;
}

bool ScriptFiles::save() {
    fetchPath();
    if (scriptPath_.isEmpty()) {
        std::optional<QString> name = dialogs_.saveFileName(
            QObject::tr("Enter the filename for the new script"), kScriptFilter);
        if (!name) {
            editor_.setFocus();
            return false;
        }
        scriptPath_ = *name;
        showPath();
    }
    // The buffer keeps the Script's line-end style and encoding; hand it the current text.
    buffer_.SetLines(editorLines(editor_));
    const bool saved = buffer_.SaveToFile(toPath(scriptPath_));
    if (saved) {
        editor_.setModified(false);
    } else {
        // The reason (a full disk, a missing folder) is what the user can act on.
        dialogs_.warn(QObject::tr("Error when saving script. Script not saved.") + "\n" +
                          QString::fromStdString(buffer_.GetLastError()),
                      QObject::tr("Error!"));
    }
    editor_.setFocus();
    return saved;
}

void ScriptFiles::fetchPath() {
    scriptPath_ = scriptBox_.currentText();
}

void ScriptFiles::showPath() {
    scriptBox_.setEditText(scriptPath_);
    boxText_ = scriptPath_;
}

void ScriptFiles::restoreBoxText() {
    scriptBox_.setEditText(boxText_);
}

}  // namespace quillfen
