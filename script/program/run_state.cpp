#include "script/program/run_state.h"

#include "script/program/run_error.h"
#include "script/program/script.h"


namespace script {

namespace {
thread_local TfsScript* tRunOwner = nullptr;
} // namespace

TfsScript* CurrentRunOwner() noexcept
{
    return tRunOwner;
}

RunOwnerScope::RunOwnerScope(TfsScript* owner) noexcept : saved_(tRunOwner)
{
    if (!tRunOwner)
        tRunOwner = owner;
}

RunOwnerScope::~RunOwnerScope()
{
    tRunOwner = saved_;
}

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
    // analyser allows, a host function) even in a sanitizer build. A stop
    // already asked for keeps the floor out of reach.
    if (!stopRequested.load(std::memory_order_relaxed))
        stackFloor.store(platform::StackFloor(std::size_t(1) << 20), std::memory_order_relaxed);
}

void RunState::refused(bool stop)
{
    if (stop)
        stopped();
    RaiseRuntime("Stack overflow");
}

void RunState::stopped()
{
    throw TfsScriptStopped("Script stopped");
}

} // namespace script
