#include "imaging/raster/font_environment.h"

#include <QGuiApplication>
#include <memory>

namespace quillfen {
namespace {

// The one application object made for headless drawing. Its arguments must outlive it; the
// platform is given on the command line so that the user's environment is left untouched.
struct OffscreenApplication {
    OffscreenApplication() : application(std::make_unique<QGuiApplication>(argc, argv)) {}

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
