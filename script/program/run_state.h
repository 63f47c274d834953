#pragma once
// What the statements of one compiled program share while it runs: the
// owner of the line hook (looked up once per run, not per statement) and
// the guard against unbounded recursion.

#include <cstddef>
#include <cstdint>
#include <string>

namespace script {

class TfsScript;
class TfsStatement;

struct RunState {
    TfsScript* root = nullptr;
    // The scope whose OnRunLine is called, or none.
    TfsScript* hookOwner = nullptr;
    bool running = false;
    unsigned depth = 0;
    std::uintptr_t stackFloor = 0; // a call below this address is refused

    void CallHook(TfsScript& sender, const std::string& unitName, const std::string& pos);

    // Enters a routine call; "Stack overflow" when recursion goes too deep.
    void Enter()
    {
        char probe;
        if (++depth > kMaxDepth || reinterpret_cast<std::uintptr_t>(&probe) < stackFloor) {
            --depth;
            overflow();
        }
    }
    void Leave() noexcept { --depth; }
    // Sets the stack floor from the calling thread's stack.
    void ArmStackGuard();

    static constexpr unsigned kMaxDepth = 100000;

private:
    [[noreturn]] static void overflow();
};

} // namespace script
