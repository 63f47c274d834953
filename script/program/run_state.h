#pragma once
// What the statements of one compiled program share while it runs: the
// owner of the line hook (looked up once per run, not per statement) and
// the guard against unbounded recursion, and the request to stop.

#include "platform/system/large_stack.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace script {

class TfsScript;
class TfsStatement;

// The script whose compilation or run is under way on this thread (the
// outermost, when one calls another), or none. What a run creates belongs
// to it.
TfsScript* CurrentRunOwner() noexcept;

class RunOwnerScope {
public:
    explicit RunOwnerScope(TfsScript* owner) noexcept;
    ~RunOwnerScope();
    RunOwnerScope(const RunOwnerScope&) = delete;
    RunOwnerScope& operator=(const RunOwnerScope&) = delete;

private:
    TfsScript* saved_;
};

struct RunState {
    TfsScript* root = nullptr;
    // The scope whose OnRunLine is called, or none.
    TfsScript* hookOwner = nullptr;
    bool running = false;
    unsigned depth = 0;
    // A call below this address is refused. A request to stop raises it
    // out of reach, so that calls see the request without a check of their
    // own.
    std::atomic<std::uintptr_t> stackFloor{0};
    // Set from any thread to end the run: loops look at it once a round.
    std::atomic<bool> stopRequested{false};

    void CallHook(TfsScript& sender, const std::string& unitName, const std::string& pos);

    // Enters a routine call; "Stack overflow" when recursion goes too deep,
    // "Script stopped" once a stop was asked for.
    void Enter()
    {
        // The address of a local stands for the stack position: inline,
        // as every call passes here.
        char probe;
        if (++depth > kMaxDepth ||
            reinterpret_cast<std::uintptr_t>(&probe) < stackFloor.load(std::memory_order_relaxed)) {
            --depth;
            refused(stopRequested.load(std::memory_order_relaxed));
        }
    }
    // Asks the run to stop (any thread).
    void RequestStop() noexcept
    {
        stopRequested.store(true, std::memory_order_relaxed);
        stackFloor.store(UINTPTR_MAX, std::memory_order_relaxed);
    }
    void Leave() noexcept { --depth; }
    // Once per round of every loop.
    void CheckStop()
    {
        if (stopRequested.load(std::memory_order_relaxed)) [[unlikely]]
            stopped();
    }
    // Sets the stack floor from the stack the run is on.
    void ArmStackGuard();

    static constexpr unsigned kMaxDepth = 100000;

private:
    [[noreturn]] static void refused(bool stop);
    [[noreturn]] static void stopped();
};

} // namespace script
