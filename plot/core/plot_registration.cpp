#include "plot/core/plot_registration.h"

#include "platform/automation/class_registry.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"

namespace halvex {

void registerPlotControl()
{
    registerPlotControl(host::noHost());
}

void registerPlotControl(host::HostFramework& host)
{
    platform::ClassRegistry::instance().registerClass(std::string(kPlotProgId), kPlotClassId, [&host] {
        return platform::Ref<platform::Dispatch>(new COpenGLCtrl(host));
    });
}

} // namespace halvex
