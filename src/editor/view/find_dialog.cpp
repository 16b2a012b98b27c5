#include "editor/view/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillfen {

FindDialog::FindDialog(const FindOptions& initial, QWidget* parent)
    : QDialog(parent),
      what_(new QLineEdit(initial.what, this)),
      wholeWord_(new QCheckBox(tr("Match &whole word only"), this)),
      matchCase_(new QCheckBox(tr("Match &case"), this)),
      up_(new QRadioButton(tr("&Up"), this)),
      down_(new QRadioButton(tr("&Down"), this)),
      findNext_(new QPushButton(tr("&Find Next"), this)) {
    setWindowTitle(tr("Find"));
    auto* label = new QLabel(tr("Fi&nd what:"), this);
    label->setBuddy(what_);
    wholeWord_->setChecked(initial.wholeWord);
    matchCase_->setChecked(initial.matchCase);
    (initial.up ? up_ : down_)->setChecked(true);

    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    auto* cancel = new QPushButton(tr("Cancel"), this);
    findNext_->setDefault(true);
    findNext_->setEnabled(!initial.what.isEmpty());
    connect(what_, &QLineEdit::textChanged, this,
            [this](const QString& text) { findNext_->setEnabled(!text.isEmpty()); });
    connect(findNext_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(what_, 0, 1, 1, 2);
    grid->addWidget(findNext_, 0, 3);
    grid->addWidget(wholeWord_, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);
    grid->addWidget(cancel, 1, 3);
    grid->addWidget(matchCase_, 2, 0, 1, 2);
    what_->selectAll();
}

FindOptions FindDialog::options() const {
    FindOptions options;
    options.what = what_->text();
    options.wholeWord = wholeWord_->isChecked();
    options.matchCase = matchCase_->isChecked();
    options.up = up_->isChecked();
    return options;
}

}  // namespace quillfen
