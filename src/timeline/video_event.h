#pragma once
// An automatic-reset event: a binary semaphore that one thread signals and another waits for.
// Signalling an already signalled event changes nothing; a successful wait clears it.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quillfen {

class AutoResetEvent {
  public:
    AutoResetEvent() = default;
    AutoResetEvent(const AutoResetEvent&) = delete;
    AutoResetEvent& operator=(const AutoResetEvent&) = delete;

    /// Sets the event and wakes one waiter.
    void signal() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        wake_.notify_one();
    }

    /// Waits until the event is set, then clears it.
    void wait() {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
    }

    /// Waits at most `limit`; true (and the event cleared) when it was set in time.
    bool waitFor(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        if (!wake_.wait_for(lock, limit, [this] { return signalled_; })) return false;
        signalled_ = false;
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool signalled_ = false;
};

}  // namespace quillfen
