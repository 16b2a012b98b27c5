#pragma once
// The real dialogs: message boxes, file dialogs and the compression dialog, owned by `parent`.

#include <QPointer>
#include <QWidget>

#include "app/dialog_seam.h"

namespace quillfen {

class QtDialogs : public DialogSeam {
  public:
    /// `parent` is not owned; the dialogs are centred on it while it lives.
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    Answer ask(const QString& text, const QString& title) override;
    void warn(const QString& text, const QString& title) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter) override;
    std::optional<CodecChoice> chooseCompression(const QString& movieFile) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace quillfen
