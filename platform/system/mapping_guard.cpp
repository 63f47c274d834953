#include "platform/system/mapping_guard.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

// Slots are read by the signal handler, so they are plain atomics in static
// storage: no allocation, no lock. A slot is live while begin is non-zero.
struct Slot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> damaged{false};
    std::atomic<bool> taken{false};
};
constexpr int kSlots = 64;
Slot gSlots[kSlots];
static_assert(std::atomic<std::uintptr_t>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler needs lock-free atomics");

struct sigaction gPrevious {};
std::uintptr_t gPageMask = 0;
bool gInstalled = false;

void passOn(int sig, siginfo_t* info, void* context)
{
    if (gPrevious.sa_flags & SA_SIGINFO) {
        if (gPrevious.sa_sigaction)
            gPrevious.sa_sigaction(sig, info, context);
        return;
    }
    if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != SIG_IGN) {
        gPrevious.sa_handler(sig);
        return;
    }
    // The default action: end the process as if we had never been here.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    raise(sig);
}

void onBusError(int sig, siginfo_t* info, void* context)
{
    auto addr = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Slot& s : gSlots) {
        std::uintptr_t b = s.begin.load(std::memory_order_acquire);
        std::uintptr_t e = s.end.load(std::memory_order_acquire);
        if (b == 0 || addr < b || addr >= e)
            continue;
        // Zeros from the missing page to the end of the range: the file is
        // shorter now, so the rest would fault page by page anyway. A raw
        // system call, so no interposed mmap runs inside the handler.
        std::uintptr_t page = addr & gPageMask;
        long r = ::syscall(SYS_mmap, page, e - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (r == -1)
            break;
        s.damaged.store(true, std::memory_order_release);
        return;
    }
    passOn(sig, info, context);
}

bool install() noexcept
{
    static std::once_flag once;
    std::call_once(once, [] {
        long page = ::sysconf(_SC_PAGESIZE);
        if (page <= 0)
            return;
        gPageMask = ~(static_cast<std::uintptr_t>(page) - 1);
        struct sigaction sa {};
        sa.sa_sigaction = onBusError;
        sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&sa.sa_mask);
        gInstalled = sigaction(SIGBUS, &sa, &gPrevious) == 0;
    });
    return gInstalled;
}

} // namespace

int guardMapping(const void* begin, std::size_t length) noexcept
{
    if (!begin || length == 0 || !install())
        return -1;
    auto b = reinterpret_cast<std::uintptr_t>(begin);
    for (int i = 0; i < kSlots; ++i) {
        Slot& s = gSlots[i];
        bool expected = false;
        if (!s.taken.compare_exchange_strong(expected, true, std::memory_order_acq_rel))
            continue;
        s.damaged.store(false, std::memory_order_relaxed);
        s.end.store(b + length, std::memory_order_release);
        s.begin.store(b, std::memory_order_release);
        return i;
    }
    return -1;
}

void unguardMapping(int slot) noexcept
{
    if (slot < 0 || slot >= kSlots)
        return;
    Slot& s = gSlots[slot];
    s.begin.store(0, std::memory_order_release);
    s.end.store(0, std::memory_order_release);
    s.taken.store(false, std::memory_order_release);
}

bool mappingDamaged(int slot) noexcept
{
    return slot >= 0 && slot < kSlots && gSlots[slot].damaged.load(std::memory_order_acquire);
}

} // namespace platform
