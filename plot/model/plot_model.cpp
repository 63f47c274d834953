#include "plot/model/plot_model.h"

#include "plot/base/member_dispatch.h"

#include <algorithm>

namespace halvex {

platform::DispId CglModel::idOfName(std::string_view name) const
{
    return members().idOfName(name);
}

platform::Variant CglModel::invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args)
{
    return members().invoke(*this, id, kind, args);
}

const platform::MemberTable& CglModel::memberNames()
{
    return members().names();
}

void CglModel::SetRect(const BoundingRecord& rect) noexcept
{
    format_.rect.min = rect.min;
    format_.rect.max = rect.max;
    format_.rect.setVector(rect.vector[0], rect.vector[1], rect.vector[2]);
}

const BoundingRecord& CglModel::DataRecord()
{
    if (!format_.isBarOrPatch())
        return format_.rect;
    if (!format_.barBoxValid)
        ComputeBarBox();
    return format_.barBox;
}

void CglModel::SetPlotKind(std::int32_t kind) noexcept
{
    format_.viewAs = kind;
    if (format_.isBarOrPatch())
        format_.barBoxValid = false;
}

void CglModel::ModelChanged()
{
    Invalidate();
    if (PlotOwner* o = owner())
        o->RequestRedraw();
}

void CglModel::CopyFrom(CglModel& other)
{
    if (&other == this || !other.dialogLink_)
        return;
    dialogLink_ = std::move(other.dialogLink_);
    dialogLink_->retarget(this);
}

void CglModel::ComputeBarBox()
{
    BoundingRecord& box = format_.barBox;
    box = format_.rect;
    box.min[1] = std::min(box.min[1], 0.0f);
    box.max[1] = std::max(box.max[1], 0.0f);
    format_.barBoxValid = true;
}

void CglModel::Invalidate()
{
    format_.dirty = true;
}

void CglModel::ComputeScale(const BoundingRecord& dataBox)
{
    float e[3] = {dataBox.extent(0), dataBox.extent(1), dataBox.extent(2)};
    float m = std::max({e[0], e[1], e[2]});
    for (int a = 0; a < 3; ++a)
        format_.scale[a] = e[a] != 0.0f ? m / e[a] : 1.0f;
}

} // namespace halvex
