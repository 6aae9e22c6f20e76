#pragma once

#include <functional>

// Layer work runs inside these brackets where the platform needs a transaction. Our layer tree has no implicit
// animations and no shared transaction state, so opening and closing one does nothing; a document serialises
// its own drawing with its lock.
inline void PTSVGCATransactionBegin() {}
inline void PTSVGCATransactionEnd() {}

// Runs the block on the calling thread, or synchronously on the main queue when asked (never from the main
// queue itself: it would wait on itself).
void PTSVGPerformInTransaction(const std::function<void()>& block, bool onMainQueue);
