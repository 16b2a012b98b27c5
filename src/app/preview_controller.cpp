#include "app/preview_controller.h"

#include <QLabel>
#include <chrono>
#include <cmath>

#include "app/preview_panel.h"
#include "app/preview_window.h"
#include "app/scrub_bar.h"
#include "editor/view/my_crystal_view.h"

namespace quillfen {

namespace {

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

PreviewController::PreviewController(PreviewControls controls, FolderSource folder,
                                     std::unique_ptr<PreviewRenderer> renderer, Clock clock,
                                     QObject* parent)
    : QObject(parent),
      controls_(controls),
      folder_(std::move(folder)),
      clock_(clock ? std::move(clock) : steadyMilliseconds) {
    caretTimer_.setSingleShot(true);
    caretTimer_.setInterval(kCaretDelayMs);
    connect(&caretTimer_, &QTimer::timeout, this, &PreviewController::showCaretLine);
    connect(&playTimer_, &QTimer::timeout, this, &PreviewController::tick);

    CMyCrystalView& editor = controls_.editor;
    connect(&editor, &QPlainTextEdit::textChanged, this, &PreviewController::textChanged);
    connect(&editor, &QPlainTextEdit::cursorPositionChanged, this, &PreviewController::caretMoved);
    connect(&controls_.scrub, &ScrubBar::frameChosen, this, &PreviewController::seekFrame);
    connect(&controls_.scrub, &ScrubBar::timeChosen, this, &PreviewController::seekTime);
    connect(&controls_.scrub, &ScrubBar::playToggled, this, &PreviewController::togglePlay);
    connect(&controls_.panel, &PreviewPanel::doubleClicked, this,
            &PreviewController::openLargeView);

    worker_ = std::make_unique<PreviewWorker>(
        renderer ? std::move(renderer) : makeDriverPreviewRenderer(),
        [this](PreviewShot shot) { post(std::move(shot)); });
}

PreviewController::~PreviewController() {
    worker_.reset();  // no result may arrive while the rest goes
}

void PreviewController::textChanged() {
    ++textVersion_;
    caretMoved();
}

void PreviewController::caretMoved() {
    if (marking_ || building_) return;
    caretTimer_.start();
}

void PreviewController::showCaretLine() {
    caretTimer_.stop();
    if (building_ || playing_) return;
    request(controls_.editor.textCursor().blockNumber(), 0);
}

void PreviewController::seekFrame(std::int64_t frame) {
    if (building_) return;
    currentTime_ = timeOfFrame(timeline_, frame);
    if (playing_) {
        playFrom_ = currentTime_;
        playStart_ = clock_();
    }
    request(std::nullopt, frame);
}

void PreviewController::seekTime(double seconds) {
    const std::int64_t frame = frameAtTime(timeline_, seconds);
    showPosition(frame, timeOfFrame(timeline_, frame));
    seekFrame(frame);
}

void PreviewController::togglePlay() {
    if (playing_) {
        pause();
    } else {
        play();
    }
}

void PreviewController::play() {
    if (building_ || playing_ || timeline_.totalFrames <= 0 || timeline_.frameRate <= 0) return;
    if (shownFrame_ >= timeline_.totalFrames - 1) currentTime_ = 0;  // from the start again
    playFrom_ = currentTime_;
    playStart_ = clock_();
    playing_ = true;
    playTimer_.start(std::max(5, static_cast<int>(std::lround(1000 / timeline_.frameRate))));
    controls_.scrub.setPlaying(true);
}

void PreviewController::pause() {
    if (!playing_) return;
    playing_ = false;
    playTimer_.stop();
    controls_.scrub.setPlaying(false);
}

void PreviewController::tick() {
    if (!playing_) return;
    const double end = timeOfFrame(timeline_, timeline_.totalFrames - 1);
    // The time comes from the clock, never from frames shown: a slow frame is skipped over.
    double time = playFrom_ + static_cast<double>(clock_() - playStart_) / 1000.0;
    const bool atEnd = time >= end;
    if (atEnd) time = end;
    currentTime_ = time;
    const std::int64_t frame = frameAtTime(timeline_, time);
    showPosition(frame, time);
    request(std::nullopt, frame);
    if (atEnd) pause();
}

void PreviewController::beginBuild() {
    building_ = true;
    pause();
    caretTimer_.stop();
    acceptFrom_ = nextId_;
    worker_->cancel();
}

void PreviewController::endBuild() {
    building_ = false;
    acceptFrom_ = nextId_;
}

void PreviewController::openLargeView() {
    if (!largeView_) {
        largeView_ = new PreviewWindow(controls_.panel.window());  // owned through Qt
        if (lastFrame_) largeView_->showFrame(*lastFrame_);
    }
    largeView_->show();
    largeView_->raise();
}

void PreviewController::showBuildFrame(const FrameImage& frame) {
    if (largeView_ && largeView_->isVisible()) largeView_->showFrame(frame);
}

PreviewWindow* PreviewController::largeView() const {
    return largeView_;
}

void PreviewController::request(std::optional<int> caretLine, std::int64_t frame) {
    PreviewJob job;
    job.id = nextId_++;
    job.script = snapshot();
    job.caretLine = caretLine;
    job.frame = frame;
    worker_->request(std::move(job));
}

std::shared_ptr<const ScriptSnapshot> PreviewController::snapshot() {
    if (!snapshot_ || snapshot_->version() != textVersion_)
        snapshot_ =
            ScriptSnapshot::of(controls_.editor, folder_ ? folder_() : std::string(), textVersion_);
    return snapshot_;
}

void PreviewController::post(PreviewShot shot) {
    {
        std::lock_guard lock(inboxMutex_);
        inbox_ = std::move(shot);
    }
    // The shot itself stays in the inbox: the queued call carries nothing but this object.
    QMetaObject::invokeMethod(this, &PreviewController::takeShot, Qt::QueuedConnection);
}

void PreviewController::takeShot() {
    std::optional<PreviewShot> shot;
    {
        std::lock_guard lock(inboxMutex_);
        shot.swap(inbox_);
    }
    if (shot) receive(std::move(*shot));
}

void PreviewController::receive(PreviewShot shot) {
    if (building_ || shot.id < acceptFrom_ || shot.id <= lastShown_) return;
    lastShown_ = shot.id;
    timeline_ = std::move(shot.timeline);
    controls_.scrub.setFrameCount(timeline_.totalFrames);
    const QString note = QString::fromStdString(shot.note);
    // One line under the preview; the whole message is in the tooltip.
    controls_.note.setText(
        controls_.note.fontMetrics().elidedText(note, Qt::ElideRight, controls_.note.width()));
    controls_.note.setToolTip(note);
    if (shot.frame || shot.index < 0) {
        lastFrame_ = shot.frame;
        const FrameImage none;
        controls_.panel.showFrame(lastFrame_ ? *lastFrame_ : none);
        if (largeView_) largeView_->showFrame(lastFrame_ ? *lastFrame_ : none);
    }
    shownFrame_ = shot.index;
    if (!playing_ && shot.index >= 0) {
        currentTime_ = timeOfFrame(timeline_, shot.index);
        showPosition(shot.index, currentTime_);
    }
    if (!shot.forCaret && shot.index >= 0) markElementLine(shot.index);
    emit shotShown();
}

void PreviewController::showPosition(std::int64_t frame, double seconds) {
    controls_.scrub.showPosition(frame, seconds);
}

void PreviewController::markElementLine(std::int64_t frame) {
    const std::optional<int> line = lineAtFrame(timeline_, frame);
    if (!line || controls_.editor.markedLine(LineMark::Current) == line) return;
    marking_ = true;
    controls_.editor.markCurrentLine(*line);
    marking_ = false;
}

}  // namespace quillfen
