#include "script/program/run_state.h"

#include "script/program/run_error.h"
#include "script/program/script.h"

#include <pthread.h>

namespace script {

void RaiseRuntime(const std::string& message)
{
    throw TfsRuntimeError(message);
}

void RunState::CallHook(TfsScript& sender, const std::string& unitName, const std::string& pos)
{
    if (hookOwner && hookOwner->OnRunLine)
        hookOwner->OnRunLine(sender, unitName, pos);
}

void RunState::ArmStackGuard()
{
    // Leave room below the floor for the deepest stretch of native frames
    // between two routine calls (an expression nested as far as the
    // grammar allows, a host function) even in a sanitizer build.
    constexpr std::size_t kReserve = 1024 * 1024;
    stackFloor = 0;
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0)
        return;
    void* addr = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attr, &addr, &size) == 0 && size > 2 * kReserve)
        stackFloor = reinterpret_cast<std::uintptr_t>(addr) + kReserve;
    pthread_attr_destroy(&attr);
}

void RunState::overflow()
{
    RaiseRuntime("Stack overflow");
}

} // namespace script
