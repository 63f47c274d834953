#include "plot/host/dravik_ole_control.h"

namespace halvex::host {

CDravikOleControl::CDravikOleControl(HostFramework& host, const platform::Guid& eventsIid)
    : host_(host), events_(eventsIid), inputs_(host.createPorts()), outputs_(host.createPorts())
{}

CDravikOleControl::~CDravikOleControl() = default;

platform::ConnectionPoint* CDravikOleControl::findConnectionPoint(const platform::Guid& eventsIid)
{
    return eventsIid == events_.eventsIid() ? &events_ : nullptr;
}

void CDravikOleControl::SetModifiedFlag(bool modified)
{
    modified_ = modified;
    if (site_)
        site_->modifiedChanged(modified);
}

void CDravikOleControl::InvalidateControl(bool erase)
{
    if (site_)
        site_->invalidate(erase);
}

platform::Variant CDravikOleControl::AmbientProperty(platform::DispId id) const
{
    return site_ ? site_->ambient(id) : platform::Variant();
}

void CDravikOleControl::FireEvent(platform::DispId event, std::span<platform::Variant> args)
{
    events_.fire(event, args);
}

void CDravikOleControl::FireHostEvent(HostEvent event, std::string_view message)
{
    host_.fireHostEvent(event, message);
}

} // namespace halvex::host
