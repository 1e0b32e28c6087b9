// Signals that ask a run to stop: caught, so that the run ends through its own clean-up.
#pragma once

namespace zav {

/// Makes SIGINT, SIGTERM and SIGHUP (where the host has it) only note that they came, so that the
/// front end can end the run as Close does, at a point where it leaves the game's lists whole and
/// its temporaries removed. A second such signal, for a run that does not get there, ends the
/// process at once as the signal would have.
void CatchStopSignals();

/// The stop signal caught since CatchStopSignals, or 0.
int CaughtStopSignal();

/// Ends the process as `signal` ends it by default, so that a parent sees how the run ended.
[[noreturn]] void EndBySignal(int signal);

} // namespace zav
