#pragma once
// Events of an automation object: a container connects a Dispatch sink to
// one of the object's event interfaces, and the object calls every
// connected sink by member number when the event happens.

#include "platform/automation/dispatch.h"
#include "platform/automation/guid.h"

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

class ConnectionPoint {
public:
    using Cookie = std::uint32_t;

    explicit ConnectionPoint(const Guid& eventsIid) : iid_(eventsIid) {}

    const Guid& eventsIid() const noexcept { return iid_; }

    // Connects a sink; the cookie (never 0) disconnects it again. A null
    // sink is refused with 0.
    Cookie advise(Ref<Dispatch> sink);
    bool unadvise(Cookie cookie) noexcept;
    std::size_t connectionCount() const noexcept { return sinks_.size(); }

    // Calls the event on every sink connected when the call starts. A sink
    // may connect or disconnect sinks meanwhile; a sink's failure is its
    // own and does not reach the object that fires.
    void fire(DispId event, std::span<Variant> args);

private:
    struct Connection {
        Cookie cookie;
        Ref<Dispatch> sink;
    };
    Guid iid_;
    std::vector<Connection> sinks_;
    Cookie next_ = 1;
};

// An object with event interfaces; a container finds it on a Dispatch with
// dynamic_cast.
class ConnectionPointContainer {
public:
    // The connection point of an event interface, or nullptr.
    virtual ConnectionPoint* findConnectionPoint(const Guid& eventsIid) = 0;

protected:
    ~ConnectionPointContainer() = default;
};

} // namespace platform
