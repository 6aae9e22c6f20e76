#pragma once

#include "platform/runtime/DispatchQueue.h"

#include <functional>

// Runs the block on the queue after the delay; a delay of 0 still runs it later, never inside the call.
void PTDispatchAfter(pt::DispatchQueue::Task block, const pt::DispatchQueue& queue, double seconds);

// Plays blocks one after another with pauses between them. Every call queues one job on the process-wide
// serial queue "com.pictern.timeout.queue"; jobs run in call order. With waitAfter zero a job pauses for its
// delay and then dispatches its block to the target queue, so delays of calls made together add up (1, 4, 2
// dispatch at 1, 5 and 7 seconds); with waitAfter nonzero it dispatches first and then pauses, holding back the
// jobs behind it.
void PTDispatchAfterOnTimeoutQueue(pt::DispatchQueue::Task block, const pt::DispatchQueue& queue, qint64 waitAfter,
                                   double seconds);

// A block that runs at most once, on the main queue, or is dropped: called with cancel false it queues the block
// there, with cancel true it does not; either way its first call lets go of the block, and later calls do
// nothing. Copies share that one chance, and a call on one thread cannot race a cancel on another.
using PTCancellableBlock = std::function<void(bool cancel)>;
PTCancellableBlock PTNewCancellableBlock(pt::DispatchQueue::Task block);
// Drops the block unless it has already run; nothing for an empty one.
void PTCancelBlock(const PTCancellableBlock& block);
