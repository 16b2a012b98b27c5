#include "cli/interrupt_request.h"

#include <csignal>

namespace quillfen {
namespace {

// A signal handler may touch nothing but a lock-free atomic.
std::atomic<bool> interruptFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction previousAction {};

extern "C" void raiseInterruptFlag(int) {
    interruptFlag.store(true);
}

}  // namespace

InterruptRequest::InterruptRequest() {
    interruptFlag.store(false);
    struct sigaction action {};
    action.sa_handler = raiseInterruptFlag;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
}

InterruptRequest::~InterruptRequest() {
    sigaction(SIGINT, &previousAction, nullptr);
}

const std::atomic<bool>& InterruptRequest::flag() {
    return interruptFlag;
}

}  // namespace quillfen
