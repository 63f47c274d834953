#include "platform/system/large_stack.h"

#include <exception>
#include <pthread.h>
#include <sys/mman.h>
#include <ucontext.h>

#if defined(__SANITIZE_ADDRESS__)
#define TAVRIN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRIN_ASAN 1
#endif
#endif

#ifdef TAVRIN_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace platform {

namespace {

// A guard region at the bottom: running past the end faults instead of
// writing into whatever lies below.
constexpr std::size_t kGuard = 64 * 1024;

struct Switch {
    const std::function<void()>* fn = nullptr;
    std::exception_ptr error;
    ucontext_t caller{};
    ucontext_t callee{};
    StackBounds bounds;
    // The caller's stack, as the address sanitizer needs it to switch back.
    const void* callerBottom = nullptr;
    std::size_t callerSize = 0;
    void* callerFake = nullptr;
};

thread_local Switch* tActive = nullptr;
thread_local StackBounds tThreadStack;

StackBounds threadStack() noexcept
{
    if (tThreadStack.high)
        return tThreadStack;
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void* addr = nullptr;
        std::size_t size = 0;
        if (pthread_attr_getstack(&attr, &addr, &size) == 0) {
            tThreadStack.low = reinterpret_cast<std::uintptr_t>(addr);
            tThreadStack.high = tThreadStack.low + size;
        }
        pthread_attr_destroy(&attr);
    }
    return tThreadStack;
}

void entry()
{
    Switch* s = tActive;
#ifdef TAVRIN_ASAN
    __sanitizer_finish_switch_fiber(nullptr, &s->callerBottom, &s->callerSize);
#endif
    try {
        (*s->fn)();
    } catch (...) {
        s->error = std::current_exception();
    }
#ifdef TAVRIN_ASAN
    // This stack is left for good: no fake frames to keep.
    __sanitizer_start_switch_fiber(nullptr, s->callerBottom, s->callerSize);
#endif
    // uc_link returns to the caller.
}

} // namespace

// Not inlined: the frame address would make every caller keep a frame
// pointer.
__attribute__((noinline)) std::uintptr_t StackPosition() noexcept
{
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

StackBounds CurrentStackBounds() noexcept
{
    if (tActive)
        return tActive->bounds;
    return threadStack();
}

std::uintptr_t StackFloor(std::size_t reserve) noexcept
{
    StackBounds b = CurrentStackBounds();
    if (!b.high)
        return 0;
    std::size_t keep = reserve > b.size() / 8 ? reserve : b.size() / 8;
    if (keep >= b.size())
        keep = b.size() / 2;
    return b.low + keep;
}

void RunOnLargeStack(const std::function<void()>& fn, std::size_t size)
{
    // Enough left where the caller is (a large stack already, with room):
    // no switch.
    if (tActive) {
        std::uintptr_t here = StackPosition();
        if (here > tActive->bounds.low && here - tActive->bounds.low >= size - size / 8) {
            fn();
            return;
        }
    }
    void* mem = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK,
                       -1, 0);
    if (mem == MAP_FAILED) {
        fn();
        return;
    }
    ::mprotect(mem, kGuard, PROT_NONE);

    Switch s;
    s.fn = &fn;
    s.bounds.low = reinterpret_cast<std::uintptr_t>(mem) + kGuard;
    s.bounds.high = reinterpret_cast<std::uintptr_t>(mem) + size;
    Switch* outer = tActive;
    // getcontext returns twice: now, and when the large stack's work ends
    // (uc_link). setcontext rather than swapcontext, which the address
    // sanitizer warns about on standard error.
    volatile bool started = false;
    bool ok = ::getcontext(&s.callee) == 0 && ::getcontext(&s.caller) == 0;
    if (ok && !started) {
        started = true;
        s.callee.uc_stack.ss_sp = static_cast<char*>(mem) + kGuard;
        s.callee.uc_stack.ss_size = size - kGuard;
        s.callee.uc_link = &s.caller;
        ::makecontext(&s.callee, entry, 0);
        tActive = &s;
#ifdef TAVRIN_ASAN
        __sanitizer_start_switch_fiber(&s.callerFake, s.callee.uc_stack.ss_sp, s.callee.uc_stack.ss_size);
#endif
        ::setcontext(&s.callee);
        ok = false; // setcontext returned: it failed
    } else if (ok) {
#ifdef TAVRIN_ASAN
        __sanitizer_finish_switch_fiber(s.callerFake, nullptr, nullptr);
#endif
    }
    tActive = outer;
    ::munmap(mem, size);
    if (!ok) {
        fn();
        return;
    }
    if (s.error)
        std::rethrow_exception(s.error);
}

} // namespace platform
