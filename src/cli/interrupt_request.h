#pragma once
// Ctrl+C as the Stop button: while an InterruptRequest lives, SIGINT (and SIGTERM and SIGHUP,
// which a service manager or a closed terminal send) only raises a flag that the build host
// reports between frames, so the frame in hand is written and the movie file is finished.

#include <atomic>

namespace quillfen {

class InterruptRequest {
  public:
    /// Installs the handler (one InterruptRequest at a time) with the flag lowered.
    InterruptRequest();
    /// Puts back the handler that was there before.
    ~InterruptRequest();
    InterruptRequest(const InterruptRequest&) = delete;
    InterruptRequest& operator=(const InterruptRequest&) = delete;

    /// Raised by SIGINT, SIGTERM or SIGHUP.
    static const std::atomic<bool>& flag();
    /// The first of those signals that arrived, or 0.
    static int signalNumber();
};

}  // namespace quillfen
