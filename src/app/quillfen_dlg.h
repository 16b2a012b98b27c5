#pragma once
// The main window: wires the controls (window_controls.h), the Script files, the Recent
// Scripts list, the Trace and the build driver together. Each duty lives in its own piece;
// this class only routes the user's commands to them.

#include <QDialog>
#include <QStringList>
#include <memory>

#include "app/dialog_seam.h"
#include "app/recent_scripts.h"
#include "output/build_driver.h"

namespace quillfen {

class AppSettings;
class HelpWindow;
class PreviewController;
class ScriptFiles;
class WindowBuildHost;
struct WindowControls;

/// The text that dropping `paths` inserts: a line break, then each path followed by a line
/// break, with carriage return and line feed as the line break.
QString droppedFilesText(const QStringList& paths);

class CQuillfenDlg : public QDialog {
    Q_OBJECT
  public:
    /// `settings` is not owned and must outlive the window. Without `dialogs` the window asks
    /// through real Qt dialogs.
    explicit CQuillfenDlg(AppSettings& settings, std::unique_ptr<DialogSeam> dialogs = nullptr,
                          QWidget* parent = nullptr);
    ~CQuillfenDlg() override;

    /// Makes `name` the Script (see ScriptFiles::openScript).
    bool openScript(const QString& name);
    void focusEditor();
    /// While `held` is true (an automation object exists), Quit hides the window instead of
    /// closing it.
    void setHeldByAutomation(bool held) { heldByAutomation_ = held; }
    /// Whether the window may close now; hides it instead when automation holds it.
    bool canExit();

    // The window's commands, callable directly (tests, the editor's keys).
    void load();
    void save();
    void runBuild(BuildMode mode);
    void quit();
    void selectOutputFile();
    void recentScriptChosen(int index);
    void splitterMoved(int windowY);
    void dropFiles(const QStringList& paths);
    void copyTrace();
    void showHelp();

    bool running() const { return building_; }
    int tracePercent() const { return tracePercent_; }
    const RecentScripts& recentScripts() const { return recent_; }
    WindowControls& controls() { return *controls_; }
    ScriptFiles& scriptFiles() { return *files_; }
    BuildDriver& driver() { return *driver_; }
    PreviewController& preview() { return *preview_; }

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectCommands();
    void showRecentScripts();
    void saveRecentScripts();
    std::string scriptFolder() const;

    AppSettings& settings_;
    std::unique_ptr<DialogSeam> dialogs_;
    std::unique_ptr<WindowControls> controls_;
    std::unique_ptr<ScriptFiles> files_;
    std::unique_ptr<WindowBuildHost> host_;
    std::unique_ptr<BuildDriver> driver_;
    std::unique_ptr<PreviewController> preview_;
    HelpWindow* help_ = nullptr;  // created on first use, owned by this window through Qt
    RecentScripts recent_;
    int tracePercent_ = 30;
    bool building_ = false;
    bool heldByAutomation_ = false;
    bool splitterHomeSet_ = false;
};

}  // namespace quillfen
