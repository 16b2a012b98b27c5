#pragma once
// The window's Script file duties: Ask to save, Load, Open Script and Save. The text lives in
// the editor view; the text buffer reads and writes the file and keeps its line-end style and
// encoding, so a Script saves in the form it was loaded in.

#include <QObject>
#include <QString>

#include "editor/text_buffer.h"

class QComboBox;

namespace quillfen {

class CMyCrystalView;
class DialogSeam;

class ScriptFiles {
  public:
    /// Starts with a new, empty Script. None of the references is owned; all must outlive this.
    ScriptFiles(CMyCrystalView& editor, QComboBox& scriptBox, DialogSeam& dialogs);
    ~ScriptFiles();
    ScriptFiles(const ScriptFiles&) = delete;
    ScriptFiles& operator=(const ScriptFiles&) = delete;

    /// When the Script is modified, asks whether to save it first. Returns false when the
    /// user cancelled, or answered Yes and the Script was not saved (the calling action stops).
    bool askToSave();

    /// Asks to save, lets the user choose a Script and opens it; then focuses the editor.
    void load();

    /// Makes `name` the Script: loads it with its line ends detected and shows its name; the
    /// editor is read-only when the file may not be written. When it cannot be read the
    /// editor shows an empty, unmodified text, the name is kept (a later Save writes there) and
    /// the user is told; returns false then.
    bool openScript(const QString& name);

    /// Saves to the name in the Script file box, asking for one when it is empty. Returns true
    /// when the file was written; a failure is reported to the user and leaves the text and its
    /// modified flag as they were.
    bool save();

    /// The Script's file name (the box's text as last fetched or shown).
    const QString& scriptPath() const { return scriptPath_; }
    /// Copies the box's text into scriptPath.
    void fetchPath();
    /// Shows scriptPath in the box.
    void showPath();
    /// Puts back the box's text from before an entry was picked from its list (what the user
    /// typed or what showPath showed), so that a save asked for first goes to that name.
    void restoreBoxText();

    const CCrystalTextBuffer& buffer() const { return buffer_; }

  private:
    void startEmpty();
    void showBuffer();

    CMyCrystalView& editor_;
    QComboBox& scriptBox_;
    DialogSeam& dialogs_;
    CCrystalTextBuffer buffer_;
    QString scriptPath_;
    QString boxText_;  // the box's text, not counting an entry just picked from the list
    QMetaObject::Connection typing_;
};

}  // namespace quillfen
