#include "cli/interrupt_request.h"

#include <array>
#include <csignal>

namespace quillfen {
namespace {

// A signal handler may touch nothing but lock-free atomics.
std::atomic<bool> interruptFlag{false};
std::atomic<int> interruptSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

// Ctrl+C, a plain kill and a closed terminal all ask for the same orderly stop.
constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kStopSignals.size()> previousActions{};

extern "C" void raiseInterruptFlag(int signalNumber) {
    int none = 0;
    interruptSignal.compare_exchange_strong(none, signalNumber);
    interruptFlag.store(true);
}

}  // namespace

InterruptRequest::InterruptRequest() {
    interruptFlag.store(false);
    interruptSignal.store(0);
    struct sigaction action {};
    action.sa_handler = raiseInterruptFlag;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &action, &previousActions[i]);
}

InterruptRequest::~InterruptRequest() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &previousActions[i], nullptr);
}

const std::atomic<bool>& InterruptRequest::flag() {
    return interruptFlag;
}

int InterruptRequest::signalNumber() {
    return interruptSignal.load();
}

}  // namespace quillfen
