#pragma once
// The control as its models and lights see it, and the link through which
// they reach it. Models and lights are reference counted and a container
// may keep them after the control is gone; the control clears the link
// when it goes, so a later write changes the object and calls nothing.

#include "platform/automation/ref_counted.h"
#include "plot/model/box_frame.h"

#include <string_view>

namespace halvex {

class CglModel;
class PlotOwner;
struct BoundingRecord;

class OwnerLink final : public platform::RefCounted {
public:
    explicit OwnerLink(PlotOwner* owner) noexcept : owner_(owner) {}
    PlotOwner* owner() const noexcept { return owner_; }
    void clear() noexcept { owner_ = nullptr; }

private:
    PlotOwner* owner_;
};

class PlotOwner {
public:
    // Modified, cached scene dropped, axes stale, rebuild, window invalidated.
    virtual void RequestRedraw() = 0;
    virtual void RecomputeViewFlags() = 0;
    // A model's plot kind changed (the host programs want to know about
    // changes to and from vector fields).
    virtual void PlotKindChanged(int oldKind, int newKind) = 0;
    // The persistent state changed; nothing is redrawn.
    virtual void MarkModified() = 0;

    // The builders' view of the model table and the data box.
    virtual CglModel* FindModel(int number) const = 0; // no entry is made
    virtual void PutModel(int number, platform::Ref<CglModel> model) = 0;
    virtual BoundingRecord& DataBox() = 0;
    // The link new models get as their owner.
    virtual platform::Ref<OwnerLink> Link() const = 0;

    // A model cannot draw itself; each model tells each message once.
    virtual void DrawProblem(std::string_view message) { (void)message; }

    // What the model box draws with: the control's view settings, and the
    // container's font and colour for axis numbers.
    virtual BoxView ViewOfBox() const { return {}; }
    virtual AxisLabelStyle LabelStyle() const { return {}; }
    // Paints the picture again; nothing recorded is dropped.
    virtual void Repaint() {}

protected:
    ~PlotOwner() = default;
};

} // namespace halvex
