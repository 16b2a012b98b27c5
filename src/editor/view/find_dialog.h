#pragma once
// The modal Find dialog: search text, whole word, case, direction.

#include <QDialog>

#include "editor/view/editor_settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillfen {

class FindDialog : public QDialog {
    Q_OBJECT
  public:
    /// Shows `initial` in the controls; "&Find Next" accepts, "Cancel" rejects.
    FindDialog(const FindOptions& initial, QWidget* parent = nullptr);

    /// The values in the controls now.
    FindOptions options() const;

    QLineEdit* whatEdit() const { return what_; }

  private:
    QLineEdit* what_;
    QCheckBox* wholeWord_;
    QCheckBox* matchCase_;
    QRadioButton* up_;
    QRadioButton* down_;
    QPushButton* findNext_;
};

}  // namespace quillfen
