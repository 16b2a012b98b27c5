#include "app/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/compression_dialog.h"

namespace quillfen {

Answer QtDialogs::ask(const QString& text, const QString& title) {
    const auto pressed = QMessageBox::question(
        parent_, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (pressed == QMessageBox::Yes) return Answer::Yes;
    if (pressed == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

void QtDialogs::warn(const QString& text, const QString& title) {
    QMessageBox::warning(parent_, title, text);
}

std::optional<QString> QtDialogs::openFileName(const QString& title, const QString& filter) {
    const QString name = QFileDialog::getOpenFileName(parent_, title, QString(), filter);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<QString> QtDialogs::saveFileName(const QString& title, const QString& filter) {
    // Qt's save dialog asks before overwriting and needs an existing folder, as we want.
    const QString name = QFileDialog::getSaveFileName(parent_, title, QString(), filter);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<CodecChoice> QtDialogs::chooseCompression(const QString& movieFile) {
    CompressionDialog dialog(movieFile, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

}  // namespace quillfen
