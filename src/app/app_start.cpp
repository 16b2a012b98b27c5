#include "app/app_start.h"

#include <QApplication>

#include "app/app_settings.h"
#include "app/automation.h"
#include "app/quillfen_dlg.h"

namespace quillfen {

std::optional<WindowStart> windowStartFromArgs(const std::vector<std::string>& args) {
    WindowStart start;
    for (const std::string& arg : args) {
        if (arg == "--automation" && !start.automation) {
            start.automation = true;
        } else if (!arg.empty() && arg[0] != '-' && start.script.empty()) {
            start.script = arg;
        } else {
            return std::nullopt;
        }
    }
    return start;
}

int runWindow(int argc, char** argv, const WindowStart& start) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Brindlemoor");
    QApplication::setApplicationName("Quillfen");
    QApplication::setDesktopFileName("quillfen");

    AppSettings settings;
    AutomationService automation;
    if (start.automation) automation.registerOnSessionBus();  // no bus is not an error

    CQuillfenDlg window(settings);
    window.setHeldByAutomation(automation.active());
    if (!start.script.empty()) window.openScript(QString::fromStdString(start.script));
    window.show();
    window.focusEditor();
    window.exec();
    return 0;
}

}  // namespace quillfen
