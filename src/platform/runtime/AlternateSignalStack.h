#pragma once

namespace pt {

// A stack of its own for the calling thread's signal handlers, so that a handler installed with SA_ONSTACK (the
// crash reporter's) still runs when the thread has overflowed its own stack. Each thread needs one: the kernel
// keeps it per thread, and a thread without one dies of the overflow silently.
class AlternateSignalStack {
public:
    // Gives the calling thread its stack the first time it is called on that thread; later calls do nothing. A
    // stack that someone else set up is left alone. The stack is freed when the thread ends.
    static void ensureForCurrentThread();
};

} // namespace pt
