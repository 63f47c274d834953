#include "plot/host/dravik_ole_control.h"

#include "platform/archive/prop_exchange.h"

#include <cmath>

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

std::int32_t PixelsOfExtent(std::int32_t hundredthsOfMm) noexcept
{
    return static_cast<std::int32_t>(std::lround(double(hundredthsOfMm) * 96.0 / 2540.0));
}

std::int32_t ExtentOfPixels(std::int32_t pixels) noexcept
{
    return static_cast<std::int32_t>(std::lround(double(pixels) * 2540.0 / 96.0));
}

FrameworkRecord CDravikOleControl::CaptureFramework() const
{
    FrameworkRecord r;
    r.extent = extent_;
    r.inputs = static_cast<std::int16_t>(inputs_->GetSize());
    r.outputs = static_cast<std::int16_t>(outputs_->GetSize());
    return r;
}

void CDravikOleControl::ExchangeFramework(platform::PropExchange& px, FrameworkRecord& r)
{
    px.Long("_ExtentX", r.extent[0]);
    px.Long("_ExtentY", r.extent[1]);
    px.ULong("_StockProps", r.stockProperties);
    std::int16_t block = static_cast<std::int16_t>(r.blockVersion);
    px.Short("_FrameworkVersion", block);
    px.Short("_Inputs", r.inputs);
    px.Short("_Outputs", r.outputs);
}

void CDravikOleControl::FireHostEvent(HostEvent event, std::string_view message)
{
    host_.fireHostEvent(event, message);
}

} // namespace halvex::host
