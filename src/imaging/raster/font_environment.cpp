#include "imaging/raster/font_environment.h"

#include <QGuiApplication>
#include <QtGlobal>
#include <memory>

namespace quillfen {
namespace {

QtMessageHandler previousHandler = nullptr;

// A headless run has no session runtime folder, and Qt's note that it made one of its own
// would only clutter the command line's error output.
void quietRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                            const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (previousHandler) previousHandler(type, context, text);
}

// The one application object made for headless drawing. Its arguments must outlive it; the
// platform is given on the command line so that the user's environment is left untouched.
struct OffscreenApplication {
    OffscreenApplication() {
        previousHandler = qInstallMessageHandler(quietRuntimeFolderNote);
        application = std::make_unique<QGuiApplication>(argc, argv);
    }

    char name[9] = "quillfen";
    char option[10] = "-platform";
    char platform[10] = "offscreen";
    char* argv[4] = {name, option, platform, nullptr};
    int argc = 3;
    std::unique_ptr<QGuiApplication> application;
};

}  // namespace

bool ensureFontSupport() {
    if (QCoreApplication::instance() != nullptr)
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    static OffscreenApplication offscreen;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace quillfen
