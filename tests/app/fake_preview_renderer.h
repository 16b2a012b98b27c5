#pragma once
// A preview renderer for tests: one Element over the whole movie, plain frames of a set size,
// and a gate that holds every frame until the test opens it (or the job is cancelled).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/preview_renderer.h"

namespace quillfen::testing {

class FakePreviewRenderer : public PreviewRenderer {
  public:
    struct Gate {
        std::mutex mutex;
        std::condition_variable changed;
        bool open = true;
        int waiting = 0;
        int cancelledRenders = 0;
        std::vector<std::int64_t> rendered;

        void setOpen(bool value) {
            std::lock_guard lock(mutex);
            open = value;
            changed.notify_all();
        }
        /// Waits (at most ten seconds) until `done` holds under the lock.
        template <typename Done>
        bool waitFor(Done done) {
            std::unique_lock lock(mutex);
            return changed.wait_for(lock, std::chrono::seconds(10), [&] { return done(*this); });
        }
    };

    FakePreviewRenderer(Gate& gate, std::int64_t frames, int width = 64, int height = 48)
        : gate_(gate), frames_(frames), width_(width), height_(height) {}

    PreviewPlan plan(const ScriptSnapshot&) override {
        PreviewPlan plan;
        plan.timeline.totalFrames = frames_;
        plan.timeline.entries = {{0, ElementKind::Frame, 0, frames_}};
        return plan;
    }

    FrameImage render(const ScriptSnapshot&, std::int64_t index,
                      const std::atomic<bool>& cancelled) override {
        std::unique_lock lock(gate_.mutex);
        ++gate_.waiting;
        gate_.changed.notify_all();
        // The real renderer polls between frames; so does this one.
        while (!gate_.open && !cancelled.load())
            gate_.changed.wait_for(lock, std::chrono::milliseconds(1));
        --gate_.waiting;
        gate_.changed.notify_all();
        if (cancelled.load()) {
            ++gate_.cancelledRenders;
            return {};
        }
        gate_.rendered.push_back(index);
        return FrameImage::create(width_, height_, 24);
    }

  private:
    Gate& gate_;
    std::int64_t frames_;
    int width_;
    int height_;
};

}  // namespace quillfen::testing
