// Catching the stop signals in a flag.
#include "stop_signals.h"

#include <csignal>
#include <cstdlib>

namespace zav {
namespace {

volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void NoteStopSignal(int signal) {
    if (caughtSignal != 0) {
        // The run did not reach a point to stop at after the first one: the user insists.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    caughtSignal = signal;
}

constexpr int kStopSignals[] = {
    SIGINT,
    SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#endif
};

} // namespace

void CatchStopSignals() {
    for (const int signal : kStopSignals) {
        std::signal(signal, NoteStopSignal);
    }
}

int CaughtStopSignal() {
    return caughtSignal;
}

void EndBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal); // a signal the host does not end processes with
}

} // namespace zav
