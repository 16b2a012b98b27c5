#pragma once
// The live preview: shows the frame at the caret's line once the caret and the text rest for
// a moment, follows the scrub bar, plays the movie in real time (skipping frames the worker
// cannot render in time), and gives way to Run and Check while they run.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "app/preview_worker.h"

class QLabel;

namespace quillfen {

class CMyCrystalView;
class PreviewPanel;
class PreviewWindow;
class ScrubBar;

/// The widgets the preview drives; none owned.
struct PreviewControls {
    CMyCrystalView& editor;
    PreviewPanel& panel;
    ScrubBar& scrub;
    QLabel& note;
};

class PreviewController : public QObject {
    Q_OBJECT
  public:
    /// Milliseconds on a steady clock.
    using Clock = std::function<std::int64_t()>;
    /// The folder the Script's relative names are read from, asked at each new text.
    using FolderSource = std::function<std::string()>;

    static constexpr int kCaretDelayMs = 250;

    /// `controls` must outlive the controller. Without `renderer` frames come from the build
    /// driver's own frame path; without `clock` play follows the steady clock.
    PreviewController(PreviewControls controls, FolderSource folder,
                      std::unique_ptr<PreviewRenderer> renderer = nullptr, Clock clock = nullptr,
                      QObject* parent = nullptr);
    ~PreviewController() override;

    /// Shows the frame for the caret's line now, without waiting for the caret to rest.
    void showCaretLine();
    void seekFrame(std::int64_t frame);
    void seekTime(double seconds);
    void togglePlay();
    void play();
    void pause();
    bool playing() const { return playing_; }
    /// While playing: moves to the clock's time and asks for its frame (the play timer calls
    /// this).
    void tick();
    /// A build takes the preview: all preview work stops and nothing more is shown until
    /// endBuild.
    void beginBuild();
    void endBuild();
    void openLargeView();
    /// A frame a build shows: the larger view, when open, follows it too.
    void showBuildFrame(const FrameImage& frame);

    /// The frame last shown (-1 before any), and the time of the movie the preview is at.
    std::int64_t shownFrame() const { return shownFrame_; }
    double currentTime() const { return currentTime_; }
    const PreviewTimeline& timeline() const { return timeline_; }
    PreviewWorker& worker() { return *worker_; }
    /// The larger view, once opened.
    PreviewWindow* largeView() const;

  signals:
    /// A result of the worker reached the preview.
    void shotShown();

  private:
    void textChanged();
    void caretMoved();
    void request(std::optional<int> caretLine, std::int64_t frame);
    std::shared_ptr<const ScriptSnapshot> snapshot();
    /// On the worker's thread: keeps `shot` (replacing one not yet taken) and wakes this thread.
    void post(PreviewShot shot);
    void takeShot();
    void receive(PreviewShot shot);
    void showPosition(std::int64_t frame, double seconds);
    void markElementLine(std::int64_t frame);

    PreviewControls controls_;
    FolderSource folder_;
    Clock clock_;
    QTimer caretTimer_;
    QTimer playTimer_;
    QPointer<PreviewWindow> largeView_;
    FrameCache::Frame lastFrame_;

    std::uint64_t textVersion_ = 1;
    std::shared_ptr<const ScriptSnapshot> snapshot_;
    std::uint64_t nextId_ = 1;
    std::uint64_t acceptFrom_ = 1;  // shots of jobs before a cancel are dropped
    std::uint64_t lastShown_ = 0;
    PreviewTimeline timeline_;
    std::int64_t shownFrame_ = -1;
    double currentTime_ = 0;
    bool building_ = false;
    bool playing_ = false;
    bool marking_ = false;  // the current-line mark moves the caret; that is not the user's
    double playFrom_ = 0;
    std::int64_t playStart_ = 0;

    std::mutex inboxMutex_;
    std::optional<PreviewShot> inbox_;  // guarded by inboxMutex_

    std::unique_ptr<PreviewWorker> worker_;  // last: stopped first
};

}  // namespace quillfen
