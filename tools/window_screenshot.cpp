// window-screenshot: opens the main window on a Script, runs it, and saves a screenshot of the
// window while frames are being written (Trace coloured, preview showing a frame, the current
// line marked; or, when the build ends before that frame, the window as the build left it, e.g.
// with an error line marked). Questions are answered without a user: the movie goes to the given
// file, overwritten, with the container's default codec. Meant for a virtual X server
// (tools/window_screenshot.sh).
//
//   window-screenshot SCRIPT MOVIE SHOT.png [FRAME]

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/app_settings.h"
#include "app/dialog_seam.h"
#include "app/quillfen_dlg.h"
#include "app/window_controls.h"

namespace quillfen {
namespace {

class UnattendedDialogs : public DialogSeam {
  public:
    Answer ask(const QString&, const QString&) override { return Answer::Yes; }
    void warn(const QString& text, const QString&) override {
        std::fprintf(stderr, "window-screenshot: %s\n", text.toLocal8Bit().constData());
    }
    std::optional<QString> openFileName(const QString&, const QString&) override { return {}; }
    std::optional<QString> saveFileName(const QString&, const QString&) override { return {}; }
    std::optional<CodecChoice> chooseCompression(const QString& movieFile) override {
        const std::optional<Container> container = containerForPath(movieFile.toStdString());
        if (!container) return std::nullopt;
        return defaultCodecChoice(defaultCodecName(*container));
    }
};

// The frame number in "Frame #12 [40]", or -1.
long frameShown(const QLabel& counter) {
    const QString text = counter.text();
    if (!text.startsWith("Frame #")) return -1;
    return text.mid(7).section(' ', 0, 0).toLong();
}

}  // namespace
}  // namespace quillfen

int main(int argc, char** argv) {
    using namespace quillfen;
    if (argc < 4) {
        std::fprintf(stderr, "usage: window-screenshot SCRIPT MOVIE SHOT.png [FRAME]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString shot = QString::fromLocal8Bit(argv[3]);
    const long wanted = argc > 4 ? std::stol(argv[4]) : 60;

    AppSettings settings;
    CQuillfenDlg window(settings, std::make_unique<UnattendedDialogs>());
    if (!window.openScript(QString::fromLocal8Bit(argv[1]))) return 1;
    window.show();
    window.focusEditor();

    bool saved = false;
    // Between frames the build pumps events, so this timer looks at every frame shown.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (saved || frameShown(*window.controls().frameCounter) < wanted) return;
        QScreen* screen = window.screen();
        saved = screen->grabWindow(window.winId()).save(shot, "PNG");
        std::fprintf(stderr, "window-screenshot: %s %s\n", saved ? "saved" : "could not save",
                     argv[3]);
    });
    watch.start(0);
    QTimer::singleShot(300, [&] {  // let the window appear on the server first
        window.controls().outputFile->setText(QString::fromLocal8Bit(argv[2]));
        window.runBuild(BuildMode::Run);
        if (saved) {
            app.quit();
            return;
        }
        // The build ended early (a Script error): the window as it was left, once repainted.
        QTimer::singleShot(300, [&] {
            saved = window.screen()->grabWindow(window.winId()).save(shot, "PNG");
            std::fprintf(stderr, "window-screenshot: frame %ld not reached; %s %s\n", wanted,
                         saved ? "saved the end state to" : "could not save", argv[3]);
            app.quit();
        });
    });
    app.exec();
    return saved ? 0 : 1;
}
