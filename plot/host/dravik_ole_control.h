#pragma once
// The embeddable-control base the plot control stands on: the container's
// site, the modified flag, invalidation, ambient properties, the control's
// events and the host programs' ports and events. The control's own
// construction follows the base's.

#include "platform/automation/connection_point.h"
#include "platform/automation/dispatch.h"
#include "plot/host/control_site.h"
#include "plot/host/host_framework.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace platform {
class PropExchange;
}

namespace halvex::host {

// What the framework keeps of a control in its saved state: the extent
// (0.01 mm, width then height), the stock property mask (the control has
// none) and the framework's own block of six bytes: its block version, and
// the control's counts of input and output ports.
struct FrameworkRecord {
    std::array<std::int32_t, 2> extent{6350, 6350};
    std::uint32_t stockProperties = 0;
    std::uint16_t blockVersion = 1;
    std::int16_t inputs = 1;
    std::int16_t outputs = 0;
};

// Extents in 0.01 mm and pixels at 96 per inch.
std::int32_t PixelsOfExtent(std::int32_t hundredthsOfMm) noexcept;
std::int32_t ExtentOfPixels(std::int32_t pixels) noexcept;

class CDravikOleControl : public platform::Dispatch, public platform::ConnectionPointContainer {
public:
    // The container's site; nullptr detaches. The site must outlive its
    // attachment.
    void setSite(ControlSite* site) noexcept { site_ = site; }
    ControlSite* site() const noexcept { return site_; }

    platform::ConnectionPoint* findConnectionPoint(const platform::Guid& eventsIid) override;
    platform::ConnectionPoint& events() noexcept { return events_; }

    bool IsModified() const noexcept { return modified_; }
    void SetModifiedFlag(bool modified = true);
    void InvalidateControl(bool erase = true);
    // An ambient property of the container, or an empty Variant.
    platform::Variant AmbientProperty(platform::DispId id) const;
    // Calls the event on every connected sink; arguments passed by
    // reference come back changed.
    void FireEvent(platform::DispId event, std::span<platform::Variant> args = {});

    bool InZorvicContainer() const { return host_.InZorvicContainer(); }
    bool InPellixContainer() const { return host_.InPellixContainer(); }
    void SetNumInputs(int count) { inputs_->SetSize(count); }
    void SetNumOutputs(int count) { outputs_->SetSize(count); }
    DataPorts& inputs() noexcept { return *inputs_; }
    DataPorts& outputs() noexcept { return *outputs_; }
    void FireHostEvent(HostEvent event, std::string_view message = {});
    HostFramework& hostFramework() const noexcept { return host_; }

    // The framework's calls while the host computes; a control overrides
    // them. The application state changed (0: a computation starts).
    virtual void OnExecStateChange(std::int32_t state) { (void)state; }
    // Whether an execution step may run now.
    virtual bool OnExecStepEnabled() { return true; }
    // One execution step; true when the data was plotted. The framework
    // tells StepComplete afterwards.
    virtual bool OnExecStep() { return false; }
    // The host's property pages were closed.
    virtual void OnPropertyPagesDone() {}
    // The control's extent, 0.01 mm; it follows the control's size.
    const std::array<std::int32_t, 2>& Extent() const noexcept { return extent_; }
    void SetExtent(std::int32_t width, std::int32_t height) noexcept { extent_ = {width, height}; }
    // The framework's part of the saved state, read or written first. On
    // loading the block is read and passed over: ports are declared by the
    // control, not by a stream.
    FrameworkRecord CaptureFramework() const;
    static void ExchangeFramework(platform::PropExchange& px, FrameworkRecord& record);

protected:
    CDravikOleControl(HostFramework& host, const platform::Guid& eventsIid);
    ~CDravikOleControl() override;

private:
    HostFramework& host_;
    ControlSite* site_ = nullptr;
    platform::ConnectionPoint events_;
    std::unique_ptr<DataPorts> inputs_;
    std::unique_ptr<DataPorts> outputs_;
    bool modified_ = false;
    std::array<std::int32_t, 2> extent_{6350, 6350};
};

} // namespace halvex::host
