#include "app/quillfen_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>

#include "app/app_icon.h"
#include "app/app_settings.h"
#include "app/help_window.h"
#include "app/preview_controller.h"
#include "app/preview_panel.h"
#include "app/qt_dialogs.h"
#include "app/script_files.h"
#include "app/splitter_bar.h"
#include "app/trace_list.h"
#include "app/window_build_host.h"
#include "app/window_controls.h"
#include "editor/view/my_crystal_view.h"
#include "imaging/effects/effect_registry.h"
#include "output/version_text.h"
#include "timeline/caption_tail.h"

namespace quillfen {

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

bool isHelpKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    return static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
}

}  // namespace

QString droppedFilesText(const QStringList& paths) {
    QString text = QStringLiteral("\r\n");
    for (const QString& path : paths)
        text += path + QStringLiteral("\r\n");
    return text;
}

CQuillfenDlg::CQuillfenDlg(AppSettings& settings, std::unique_ptr<DialogSeam> dialogs,
                           QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this)),
      controls_(std::make_unique<WindowControls>(*this)) {
    setWindowTitle(tr("Quillfen"));
    setWindowIcon(appIcon());
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);  // our own grip sits in the lower area's corner
    setAcceptDrops(true);
    resize(760, 560);

    WindowControls& c = *controls_;
    const ScriptColours colours = settings_.scriptColours();
    c.editor->setColours(colours);
    c.editor->setScriptFont(settings_.scriptFont());
    c.editor->finder().setStore(settings_.store());
    files_ = std::make_unique<ScriptFiles>(*c.editor, *c.scriptBox, *dialogs_);
    c.trace->setColours(colours.background, colours.normal);
    host_ = std::make_unique<WindowBuildHost>(
        BuildControls{*c.trace, *c.editor, *c.run, *c.frameCounter, *c.preview, *c.outputFile},
        *dialogs_, settings_);
    driver_ = std::make_unique<BuildDriver>(*host_, builtinEffectCatalogue(), programCaptionTail());
    preview_ = std::make_unique<PreviewController>(
        PreviewControls{*c.editor, *c.preview, *c.scrub, *c.previewNote},
        [this] { return scriptFolder(); });
    host_->followFrames([this](const FrameImage& frame) { preview_->showBuildFrame(frame); });

    recent_ = settings_.recentScripts();
    showRecentScripts();
    c.scriptBox->setEditText(QString());
    c.outputFile->setText(QString::fromStdString(settings_.outputFile()));
    connectCommands();
    c.placeAreas(*this, tracePercent_);

    host_->addTrace(makeTraceEntry("Quillfen v" + programVersionText() + " ready!",
                                   trace_colour::kBlue, kIconGreenDot));
    c.editor->setFocus();
}

CQuillfenDlg::~CQuillfenDlg() = default;

void CQuillfenDlg::connectCommands() {
    WindowControls& c = *controls_;
    connect(c.load, &QPushButton::clicked, this, &CQuillfenDlg::load);
    connect(c.save, &QPushButton::clicked, this, &CQuillfenDlg::save);
    connect(c.quit, &QPushButton::clicked, this, &CQuillfenDlg::quit);
    connect(c.help, &QPushButton::clicked, this, &CQuillfenDlg::showHelp);
    connect(c.run, &QPushButton::clicked, this, [this] { runBuild(BuildMode::Run); });
    connect(c.check, &QPushButton::clicked, this, [this] { runBuild(BuildMode::Check); });
    connect(c.select, &QPushButton::clicked, this, &CQuillfenDlg::selectOutputFile);
    connect(c.copyTrace, &QPushButton::clicked, this, &CQuillfenDlg::copyTrace);
    connect(c.scriptBox, &QComboBox::activated, this, &CQuillfenDlg::recentScriptChosen);
    connect(c.splitter, &SplitterBar::moved, this, &CQuillfenDlg::splitterMoved);
    connect(c.editor, &CMyCrystalView::runRequested, this, [this] { runBuild(BuildMode::Run); });
    connect(c.editor, &CMyCrystalView::checkRequested, this,
            [this] { runBuild(BuildMode::Check); });
    connect(c.editor, &CMyCrystalView::loadRequested, this, &CQuillfenDlg::load);
    connect(c.editor, &CMyCrystalView::saveRequested, this, &CQuillfenDlg::save);
    // The editor takes every plain key, F1 included, and file drops would land in it as text.
    c.editor->installEventFilter(this);
    c.editor->viewport()->installEventFilter(this);
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, &CQuillfenDlg::showHelp);
}

bool CQuillfenDlg::openScript(const QString& name) {
    return files_->openScript(name);
}

void CQuillfenDlg::focusEditor() {
    controls_->editor->setFocus();
}

void CQuillfenDlg::load() {
    files_->load();
}

void CQuillfenDlg::save() {
    files_->save();
}

void CQuillfenDlg::runBuild(BuildMode mode) {
    if (building_) {
        // A press while frames are written only asks the build to stop after the frame in
        // hand (the driver hears it at its next event pump and says so in the Trace); a
        // second build is never started from inside the first.
        host_->requestStop();
        return;
    }
    building_ = true;
    files_->fetchPath();
    driver_->settings().scriptFolder = scriptFolder();
    driver_->setOutputFile(controls_->outputFile->text().toStdString());
    host_->beginBuild();
    preview_->beginBuild();
    controls_->preview->forgetFrameSize();
    driver_->runBuild(*controls_->editor, mode);
    controls_->preview->forgetFrameSize();
    preview_->endBuild();
    building_ = false;
}

std::string CQuillfenDlg::scriptFolder() const {
    const QString script = files_->scriptPath();
    return (script.isEmpty() ? QDir::currentPath() : QFileInfo(script).absolutePath())
        .toStdString();
}

void CQuillfenDlg::quit() {
    if (!files_->askToSave()) return;
    if (isVisible()) saveRecentScripts();
    if (canExit()) accept();
}

bool CQuillfenDlg::canExit() {
    if (heldByAutomation_) {
        hide();
        return false;
    }
    return !building_;
}

void CQuillfenDlg::saveRecentScripts() {
    recent_.add(controls_->scriptBox->currentText().toStdString());
    settings_.writeRecentScripts(recent_);
    const QString shown = controls_->scriptBox->currentText();
    showRecentScripts();
    controls_->scriptBox->setEditText(shown);
}

void CQuillfenDlg::showRecentScripts() {
    QComboBox& box = *controls_->scriptBox;
    box.clear();
    for (const std::string& name : recent_.entries())
        box.addItem(QString::fromStdString(name));
}

void CQuillfenDlg::selectOutputFile() {
    if (building_) return;
    if (std::optional<QString> name =
            dialogs_->saveFileName(tr("Enter the filename for the new movie"), kMovieFilter)) {
        controls_->outputFile->setText(*name);
    }
}

void CQuillfenDlg::recentScriptChosen(int index) {
    QComboBox& box = *controls_->scriptBox;
    // The box already shows the picked entry; a save asked for first must not write there.
    files_->restoreBoxText();
    if (!files_->askToSave()) {
        files_->showPath();
        return;
    }
    if (index < 0 || index >= box.count()) return;
    const QString name = box.itemText(index);
    box.setEditText(name);
    files_->openScript(name);
    focusEditor();
}

void CQuillfenDlg::splitterMoved(int windowY) {
    tracePercent_ = tracePercentFor(windowY, height());
    controls_->placeAreas(*this, tracePercent_);
}

void CQuillfenDlg::dropFiles(const QStringList& paths) {
    if (building_ || paths.isEmpty()) return;
    files_->fetchPath();
    // The editor's document separates lines itself; each CR LF becomes one line break there.
    QString text = droppedFilesText(paths);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    controls_->editor->insertTextAtCaret(text);
}

void CQuillfenDlg::copyTrace() {
    controls_->trace->copyToClipboard();
}

void CQuillfenDlg::showHelp() {
    if (help_ == nullptr) help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void CQuillfenDlg::reject() {
    // Escape, and closing from the frame: Quit, unless frames are being written.
    if (!building_) quit();
}

void CQuillfenDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void CQuillfenDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    controls_->placeAreas(*this, tracePercent_);
}

void CQuillfenDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (splitterHomeSet_) return;
    // The bar's reach is measured from where it stands when the window first opens.
    controls_->placeAreas(*this, tracePercent_);
    controls_->splitter->setHome(controls_->splitter->mapTo(this, QPoint(0, 0)).y());
    splitterHomeSet_ = true;
}

void CQuillfenDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CQuillfenDlg::dropEvent(QDropEvent* event) {
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    dropFiles(paths);
}

bool CQuillfenDlg::eventFilter(QObject* watched, QEvent* event) {
    if (isHelpKey(event)) {
        if (event->type() == QEvent::KeyPress) showHelp();
        event->accept();
        return true;
    }
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!localFiles(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = localFiles(drop->mimeData());
        if (!paths.isEmpty()) {
            drop->acceptProposedAction();
            dropFiles(paths);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quillfen
