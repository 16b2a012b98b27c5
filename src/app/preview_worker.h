#pragma once
// The preview's worker thread: parses a snapshot of the Script when it changes and renders the
// frame asked for last. A request replaces any request still waiting (stale positions are
// dropped); a new text or cancel() also stops the frame being rendered.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/frame_cache.h"
#include "app/preview_renderer.h"

namespace quillfen {

/// What to show: the frame for the caret's line, or a movie frame.
struct PreviewJob {
    std::uint64_t id = 0;
    std::shared_ptr<const ScriptSnapshot> script;
    std::optional<int> caretLine;
    std::int64_t frame = 0;
};

/// What the worker hands back for a job.
struct PreviewShot {
    std::uint64_t id = 0;
    bool forCaret = false;
    /// The movie frame shown; -1 when the movie has none.
    std::int64_t index = -1;
    /// Null when the frame could not be rendered.
    FrameCache::Frame frame;
    PreviewTimeline timeline;
    std::string note;
};

class PreviewWorker {
  public:
    /// `deliver` is called on the worker thread with every finished job that was not
    /// cancelled; the worker starts at once.
    PreviewWorker(std::unique_ptr<PreviewRenderer> renderer,
                  std::function<void(PreviewShot)> deliver,
                  std::size_t cacheBudget = FrameCache::kDefaultBudget);
    /// Stops the frame in hand and joins the thread.
    ~PreviewWorker();
    PreviewWorker(const PreviewWorker&) = delete;
    PreviewWorker& operator=(const PreviewWorker&) = delete;

    void request(PreviewJob job);
    /// Drops the waiting job and stops the one in hand; nothing is delivered for either.
    void cancel();

    /// The bytes the frame cache holds now, and its budget.
    std::size_t cacheBytes() const;
    std::size_t cacheBudget() const { return cacheBudget_; }
    /// Jobs whose frame was rendered (not found in the cache), for tests and benchmarks.
    std::uint64_t framesRendered() const { return framesRendered_.load(); }

  private:
    void run();
    void work(PreviewJob job);
    FrameCache::Frame frameFor(const PreviewJob& job, std::int64_t index);

    std::unique_ptr<PreviewRenderer> renderer_;
    std::function<void(PreviewShot)> deliver_;
    const std::size_t cacheBudget_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<PreviewJob> pending_;
    std::uint64_t busyVersion_ = 0;  // the text version of the job in hand
    bool busy_ = false;
    bool stopping_ = false;
    FrameCache cache_;  // guarded by mutex_
    std::atomic<bool> cancelled_{false};
    std::atomic<std::uint64_t> framesRendered_{0};

    // Worker thread only.
    std::optional<std::uint64_t> plannedVersion_;
    PreviewPlan plan_;

    std::thread thread_;  // last: starts after everything above is ready
};

}  // namespace quillfen
