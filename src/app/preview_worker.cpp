#include "app/preview_worker.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace quillfen {

PreviewWorker::PreviewWorker(std::unique_ptr<PreviewRenderer> renderer,
                             std::function<void(PreviewShot)> deliver, std::size_t cacheBudget)
    : renderer_(std::move(renderer)),
      deliver_(std::move(deliver)),
      cacheBudget_(cacheBudget),
      cache_(cacheBudget),
      thread_([this] { run(); }) {}

PreviewWorker::~PreviewWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.reset();
        cancelled_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PreviewWorker::request(PreviewJob job) {
    {
        std::lock_guard lock(mutex_);
        // A frame of an older text is of no use any more; a frame of the same text still is
        // (dragging shows what it can), so that one finishes.
        if (busy_ && job.script->version() != busyVersion_) cancelled_ = true;
        pending_ = std::move(job);
    }
    wake_.notify_one();
}

void PreviewWorker::cancel() {
    std::lock_guard lock(mutex_);
    pending_.reset();
    if (busy_) cancelled_ = true;
}

std::size_t PreviewWorker::cacheBytes() const {
    std::lock_guard lock(mutex_);
    return cache_.bytes();
}

void PreviewWorker::run() {
    // Below the window's thread, so that typing keeps its core when both want one. Failing to
    // lower it only costs responsiveness on a loaded machine.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    for (;;) {
        PreviewJob job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
            if (stopping_) return;
            job = std::move(*pending_);
            pending_.reset();
            busy_ = true;
            busyVersion_ = job.script->version();
            cancelled_ = false;
        }
        work(std::move(job));
        std::lock_guard lock(mutex_);
        busy_ = false;
    }
}

void PreviewWorker::work(PreviewJob job) {
    if (plannedVersion_ != job.script->version()) {
        plan_ = renderer_->plan(*job.script);
        plannedVersion_ = job.script->version();
        std::lock_guard lock(mutex_);
        cache_.clear();
    }
    PreviewShot shot;
    shot.id = job.id;
    shot.forCaret = job.caretLine.has_value();
    shot.timeline = plan_.timeline;
    shot.note = plan_.note;
    const std::int64_t total = plan_.timeline.totalFrames;
    if (job.caretLine) {
        shot.index = frameForLine(plan_.timeline, *job.caretLine).value_or(-1);
    } else if (total > 0) {
        shot.index = std::clamp<std::int64_t>(job.frame, 0, total - 1);
    }
    if (shot.index >= 0) shot.frame = frameFor(job, shot.index);
    if (cancelled_.load()) return;
    deliver_(std::move(shot));
}

FrameCache::Frame PreviewWorker::frameFor(const PreviewJob& job, std::int64_t index) {
    {
        std::lock_guard lock(mutex_);
        if (FrameCache::Frame kept = cache_.find(index)) return kept;
    }
    FrameImage frame = renderer_->render(*job.script, index, cancelled_);
    ++framesRendered_;
    if (!frame) return nullptr;
    auto shared = std::make_shared<const FrameImage>(std::move(frame));
    std::lock_guard lock(mutex_);
    cache_.insert(index, shared);
    return shared;
}

}  // namespace quillfen
