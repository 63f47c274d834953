#include "plot/model/model_install.h"

#include "plot/model/plot_model.h"

namespace halvex {

void InstallBuiltModel(PlotOwner& control, int modelNumber, CglModel* old, platform::Ref<CglModel> model)
{
    CglModel& built = *model;
    control.PutModel(modelNumber, std::move(model));
    if (old)
        built.CopyFrom(*old);
    BoundingRecord& box = control.DataBox();
    box.widen(built.DataRecord());
    OpenDegenerateBox(box);
    control.MarkModified();
}

} // namespace halvex
