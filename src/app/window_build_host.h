#pragma once
// The window's side of a build: Trace rows, line marks in the editor, the Run button, the frame
// counter, the wait cursor, the preview, the questions (through the dialog seam) and the event
// pump that keeps the window responsive between frames.

#include <functional>

#include "output/build_host.h"

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace quillfen {

class AppSettings;
class CMyCrystalView;
class DialogSeam;
class PreviewPanel;
class TraceList;

/// The controls a build writes to; none owned.
struct BuildControls {
    TraceList& trace;
    CMyCrystalView& editor;
    QAbstractButton& runButton;
    QLabel& frameCounter;
    PreviewPanel& preview;
    QLineEdit& outputFile;
};

class WindowBuildHost : public BuildHost {
  public:
    /// Nothing is owned; everything must outlive the host.
    WindowBuildHost(BuildControls controls, DialogSeam& dialogs, AppSettings& settings);
    ~WindowBuildHost() override;

    /// A build starts: no stop is requested yet.
    void beginBuild() { stopRequested_ = false; }
    /// The user asked the running build to stop after the frame in hand.
    void requestStop() { stopRequested_ = true; }
    bool stopRequested() const { return stopRequested_; }
    /// Also hands every frame shown to `follower` (the larger preview view); none by default.
    void followFrames(std::function<void(const FrameImage&)> follower) {
        follower_ = std::move(follower);
    }

    void addTrace(const TraceEntry& entry) override;
    void clearTrace() override;
    void markCurrentLine(int lineIndex) override;
    void markErrorLine(int lineIndex, std::string_view text) override;
    void clearLineMark(int lineIndex) override;
    void setRunButtonText(std::string_view text) override;
    void setFrameCounter(std::string_view text) override;
    void setWaitCursor(bool busy) override;
    OverwriteAnswer askOverwrite(std::string_view question, std::string_view title) override;
    std::optional<std::string> chooseMovieFile(std::string_view title) override;
    std::optional<CodecChoice> chooseCompression(std::string_view movieFile) override;
    void showFrame(const FrameImage& frame) override;
    bool pumpEvents() override;
    void outputFileChanged(std::string_view name) override;
    void rememberOutputFile(std::string_view name) override;

  private:
    BuildControls controls_;
    DialogSeam& dialogs_;
    AppSettings& settings_;
    std::function<void(const FrameImage&)> follower_;
    bool stopRequested_ = false;
    bool waitCursor_ = false;
};

}  // namespace quillfen
