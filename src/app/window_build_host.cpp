#include "app/window_build_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include "app/app_settings.h"
#include "app/dialog_seam.h"
#include "app/preview_panel.h"
#include "app/trace_list.h"
#include "editor/view/my_crystal_view.h"

namespace quillfen {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

}  // namespace

WindowBuildHost::WindowBuildHost(BuildControls controls, DialogSeam& dialogs, AppSettings& settings)
    : controls_(controls), dialogs_(dialogs), settings_(settings) {}

WindowBuildHost::~WindowBuildHost() {
    setWaitCursor(false);
}

void WindowBuildHost::addTrace(const TraceEntry& entry) {
    controls_.trace.addEntry(entry);
}

void WindowBuildHost::clearTrace() {
    controls_.trace.clearEntries();
}

void WindowBuildHost::markCurrentLine(int lineIndex) {
    controls_.editor.markCurrentLine(lineIndex);
    controls_.editor.viewport()->repaint();
}

void WindowBuildHost::markErrorLine(int lineIndex, std::string_view) {
    controls_.editor.markErrorLine(lineIndex);
}

void WindowBuildHost::clearLineMark(int lineIndex) {
    controls_.editor.clearErrorMark(lineIndex);
}

void WindowBuildHost::setRunButtonText(std::string_view caption) {
    controls_.runButton.setText(text(caption));
}

void WindowBuildHost::setFrameCounter(std::string_view counter) {
    controls_.frameCounter.setText(text(counter));
}

void WindowBuildHost::setWaitCursor(bool busy) {
    if (busy == waitCursor_) return;  // keeps the override cursor stack balanced
    waitCursor_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

OverwriteAnswer WindowBuildHost::askOverwrite(std::string_view question, std::string_view title) {
    switch (dialogs_.ask(text(question), text(title))) {
        case Answer::Yes:
            return OverwriteAnswer::Yes;
        case Answer::No:
            return OverwriteAnswer::No;
        case Answer::Cancel:
            break;
    }
    return OverwriteAnswer::Cancel;
}

std::optional<std::string> WindowBuildHost::chooseMovieFile(std::string_view title) {
    std::optional<QString> name = dialogs_.saveFileName(text(title), kMovieFilter);
    if (!name) return std::nullopt;
    controls_.outputFile.setText(*name);
    return name->toStdString();
}

std::optional<CodecChoice> WindowBuildHost::chooseCompression(std::string_view movieFile) {
    return dialogs_.chooseCompression(text(movieFile));
}

void WindowBuildHost::showFrame(const FrameImage& frame) {
    controls_.preview.showFrame(frame);
    if (follower_) follower_(frame);
}

bool WindowBuildHost::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return stopRequested_;
}

void WindowBuildHost::outputFileChanged(std::string_view name) {
    controls_.outputFile.setText(text(name));
}

void WindowBuildHost::rememberOutputFile(std::string_view name) {
    settings_.setOutputFile(std::string(name));
}

}  // namespace quillfen
