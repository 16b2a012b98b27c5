#pragma once
// The help window behind "&Help" and F1: the Script language reference, bundled with the
// program, and the way to the About box.

#include <QDialog>

namespace quillfen {

/// The About box's text: the program and its version, then a line of ours.
QString aboutText();

class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    /// The bundled reference as Markdown; empty if the resource is missing.
    static QString referenceText();

    void showAbout();
};

}  // namespace quillfen
