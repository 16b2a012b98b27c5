#pragma once
// A main window with scripted dialogs and settings in the test's own folder.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <memory>

#include "app/app_settings.h"
#include "app/quillfen_dlg.h"
#include "app/script_files.h"
#include "app/trace_list.h"
#include "app/window_controls.h"
#include "editor/view/my_crystal_view.h"
#include "scripted_dialogs.h"

namespace quillfen {

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() { settings.store().clear(); }

    /// Creates the window; tests may fill the settings before.
    CQuillfenDlg& window() {
        if (!window_)
            window_ =
                std::make_unique<CQuillfenDlg>(settings, std::make_unique<ScriptedDialogs>(log));
        return *window_;
    }
    WindowControls& controls() { return window().controls(); }
    CMyCrystalView& editor() { return *controls().editor; }

    QString path(const QString& name) const { return folder.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void typeAtEnd(const QString& text) {
        QTextCursor cursor = editor().textCursor();
        cursor.movePosition(QTextCursor::End);
        editor().setTextCursor(cursor);
        editor().insertTextAtCaret(text);
    }
    std::vector<std::string> editorLines() {
        std::vector<std::string> lines;
        for (int i = 0; i < editor().lineCount(); ++i)
            lines.emplace_back(editor().line(i));
        return lines;
    }
    std::vector<std::string> traceTexts() {
        std::vector<std::string> texts;
        for (const TraceEntry& entry : controls().trace->entries())
            texts.push_back(entry.text);
        return texts;
    }

    QTemporaryDir folder;
    AppSettings settings;
    ScriptedDialogs::Log log;

  private:
    std::unique_ptr<CQuillfenDlg> window_;
};

}  // namespace quillfen
