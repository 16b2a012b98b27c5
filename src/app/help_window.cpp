#include "app/help_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "output/version_text.h"

namespace quillfen {

QString aboutText() {
    return QObject::tr("Quillfen Version %1\nTurns Scripts of pictures into movies.")
        .arg(QString::fromStdString(programVersionText()));
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Quillfen Help"));
    resize(720, 600);
    auto* browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    browser->setMarkdown(referenceText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* about = buttons->addButton(tr("&About Quillfen..."), QDialogButtonBox::ActionRole);
    connect(about, &QPushButton::clicked, this, &HelpWindow::showAbout);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
}

QString HelpWindow::referenceText() {
    QFile file(QStringLiteral(":/quillfen/script-language.md"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

void HelpWindow::showAbout() {
    QMessageBox::about(this, tr("About Quillfen"), aboutText());
}

}  // namespace quillfen
