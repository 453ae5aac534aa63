#pragma once

#include <chrono>

namespace tdxx {

// Runs the events that are pending, then goes on running events until `deadline`, with user
// input held back: mouse and key events wait in the toolkit's queue until the event loop runs
// without this restriction again, while painting, timers and posted events go on. A deadline
// that has passed runs the pending events once. Never returns before `deadline`; when the
// application is quitting (the event loop will not run) or none exists, it sleeps out the time.
//
// This is how a command lets the windows live while it waits: a click on a button whose
// handler is running cannot start that handler again inside itself.
void RunEventsWithoutInput(std::chrono::steady_clock::time_point deadline);

}  // namespace tdxx
