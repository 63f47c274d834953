#pragma once
// The container's side of an embedded control: what the control asks of
// the window and document that hold it. A container (the Qt widget that
// shows the control, or a test) implements it; a control without a site
// draws nowhere and tells no one.

#include "platform/automation/dispatch.h"

namespace halvex::host {

// Ambient properties a container may answer.
namespace ambient {
constexpr platform::DispId BackColor = -701;
constexpr platform::DispId ForeColor = -704;
constexpr platform::DispId Font = -703;
constexpr platform::DispId AxisLabelFont = 512; // the host programs' own
constexpr platform::DispId TextColor = 513;     // the host programs' own
} // namespace ambient

class ControlSite {
public:
    // The control's picture is out of date; erase: clear the background first.
    virtual void invalidate(bool erase) = 0;
    // The control's persistent state changed (or was saved, modified false).
    virtual void modifiedChanged(bool modified) { (void)modified; }
    // An ambient property of the container, or an empty Variant.
    virtual platform::Variant ambient(platform::DispId id) const
    {
        (void)id;
        return {};
    }
    // Shows the control's About box, modally.
    virtual void showAboutBox() {}
    // Every property the container binds may have changed.
    virtual void boundPropertiesChanged() {}
    // Shows the control's format dialog, modally; false when the container
    // has no way to show it.
    virtual bool showFormatDialog() { return false; }

protected:
    ~ControlSite() = default;
};

} // namespace halvex::host
