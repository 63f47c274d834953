#include "platform/automation/connection_point.h"

#include "platform/automation/dispatch_exception.h"

#include <algorithm>

namespace platform {

ConnectionPoint::Cookie ConnectionPoint::advise(Ref<Dispatch> sink)
{
    if (!sink)
        return 0;
    Cookie cookie = next_++;
    if (next_ == 0)
        next_ = 1;
    sinks_.push_back({cookie, std::move(sink)});
    return cookie;
}

bool ConnectionPoint::unadvise(Cookie cookie) noexcept
{
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Connection& c) { return c.cookie == cookie; });
    if (it == sinks_.end())
        return false;
    sinks_.erase(it);
    return true;
}

void ConnectionPoint::fire(DispId event, std::span<Variant> args)
{
    if (sinks_.empty())
        return;
    // The sinks of this moment, kept alive through the calls.
    std::vector<Ref<Dispatch>> targets;
    targets.reserve(sinks_.size());
    for (const Connection& c : sinks_)
        targets.push_back(c.sink);
    for (const Ref<Dispatch>& sink : targets) {
        try {
            sink->invoke(event, InvokeKind::Method, args);
        } catch (const DispatchException&) {
            // A sink that does not handle the event, or fails in it.
        } catch (const VariantError&) {
        }
    }
}

} // namespace platform
