#pragma once

// Runs the main thread's event loop until `done` is true, sleeping while no event is due, so that a benchmark's
// CPU time counts work and not waiting. `done` must be set on the main thread, by the handler of an event (a
// completion on the main queue), or the wait never wakes to see it.
void waitUntilDone(const bool& done);
