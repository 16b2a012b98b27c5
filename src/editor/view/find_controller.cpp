#include "editor/view/find_controller.h"

#include <QMessageBox>

#include "editor/view/find_dialog.h"
#include "editor/view/text_finder.h"

namespace quillfen {

FindController::FindController(QPlainTextEdit& editor)
    : editor_(editor),
      prompt_([&editor](FindOptions& options) {
          FindDialog dialog(options, &editor);
          const bool accepted = dialog.exec() == QDialog::Accepted;
          options = dialog.options();
          return accepted;
      }),
      notFound_([&editor](const QString& message) {
          QMessageBox::information(&editor, QStringLiteral("Quillfen"), message);
      }) {}

const FindOptions& FindController::options() {
    if (!options_) options_ = store_ ? readFindOptions(*store_) : FindOptions{};
    return *options_;
}

bool FindController::find() {
    FindOptions values = options();
    const QTextCursor cursor = editor_.textCursor();
    if (cursor.hasSelection()) {
        QTextCursor start(editor_.document());
        start.setPosition(cursor.selectionStart());
        QTextCursor end(editor_.document());
        end.setPosition(cursor.selectionEnd());
        if (start.blockNumber() == end.blockNumber()) values.what = cursor.selectedText();
    }
    const bool accepted = prompt_(values);
    options_ = values;
    if (store_) {
        writeFindOptions(*store_, values);
        store_->sync();  // on disk at once, so a crash later keeps them
    }
    return accepted && search(values.up);
}

bool FindController::findNext(bool reverse) {
    if (options().what.isEmpty()) return find();
    return search(options_->up != reverse);
}

bool FindController::search(bool up) {
    if (options_->what.isEmpty()) return false;
    const QTextCursor found = findText(*editor_.document(), editor_.textCursor(), *options_, up);
    if (found.isNull()) {
        notFound_(QStringLiteral("Cannot find string \"%1\"").arg(options_->what));
        return false;
    }
    editor_.setTextCursor(found);
    return true;
}

}  // namespace quillfen
