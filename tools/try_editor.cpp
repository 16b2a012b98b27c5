// Opens the Script editor view on a file, with the colours and font of the settings, for
// trying the editor during development. F5/F6/Ctrl+O/Ctrl+S are reported on standard output;
// Ctrl+S writes the text back.
#include <QApplication>
#include <QFile>
#include <cstdio>

#include "editor/view/editor_settings.h"
#include "editor/view/my_crystal_view.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto settings = quillfen::openEditorSettings();
    quillfen::CMyCrystalView view;
    view.finder().setStore(*settings);
    view.setColours(quillfen::readScriptColours(*settings));
    view.setScriptFont(quillfen::readScriptFont(*settings));

    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!path.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) view.setPlainText(QString::fromUtf8(file.readAll()));
        view.setModified(false);
    }
    auto say = [](const char* text) { std::printf("%s\n", text), std::fflush(stdout); };
    QObject::connect(&view, &quillfen::CMyCrystalView::runRequested, [&] { say("run"); });
    QObject::connect(&view, &quillfen::CMyCrystalView::checkRequested, [&] { say("check"); });
    QObject::connect(&view, &quillfen::CMyCrystalView::loadRequested, [&] { say("load"); });
    QObject::connect(&view, &quillfen::CMyCrystalView::modifiedChanged,
                     [&](bool modified) { say(modified ? "modified" : "unmodified"); });
    QObject::connect(&view, &quillfen::CMyCrystalView::saveRequested, [&] {
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::WriteOnly)) return say("cannot save");
        file.write(view.toPlainText().toUtf8());
        view.setModified(false);
    });
    view.resize(800, 600);
    view.setWindowTitle(path.isEmpty() ? QStringLiteral("Script") : path);
    view.show();
    return app.exec();
}
