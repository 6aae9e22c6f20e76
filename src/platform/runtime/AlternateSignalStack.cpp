#include "platform/runtime/AlternateSignalStack.h"

#include <csignal>
#include <cstddef>
#include <sys/mman.h>

namespace pt {

namespace {

// Room for the crash reporter's handler: its report, backtrace() and the unwinder.
constexpr std::size_t StackSize = 64 * 1024;

class ThreadStack {
public:
    ThreadStack()
    {
        stack_t current = {};
        if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE))
            return;
        void* memory = mmap(nullptr, StackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return;
        stack_t stack = {};
        stack.ss_sp = memory;
        stack.ss_size = StackSize;
        if (sigaltstack(&stack, nullptr) != 0) {
            munmap(memory, StackSize);
            return;
        }
        memory_ = memory;
    }
    ~ThreadStack()
    {
        if (!memory_)
            return;
        // Off the stack before it goes, so that no late signal of this thread lands in freed memory.
        stack_t off = {};
        off.ss_flags = SS_DISABLE;
        if (sigaltstack(&off, nullptr) == 0)
            munmap(memory_, StackSize);
    }
    ThreadStack(const ThreadStack&) = delete;
    ThreadStack& operator=(const ThreadStack&) = delete;

private:
    void* memory_ = nullptr;
};

} // namespace

void AlternateSignalStack::ensureForCurrentThread()
{
    // Made on the thread's first call, destroyed as the thread exits.
    thread_local ThreadStack stack;
    (void)stack;
}

} // namespace pt
