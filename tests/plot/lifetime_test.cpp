// Models and lights a container keeps after the control is gone, and the
// control's events reaching the sinks a container connects.
#include "tests/plot/plot_test_support.h"

#include "platform/automation/connection_point.h"
#include "platform/automation/member_table.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_events.h"
#include "plot/core/plot_ids.h"

using namespace plottest;

namespace {

class Lifetime : public PlotTest {};

TEST_F(Lifetime, ObjectsOutliveTheControlAndCallNothingFreed)
{
    call(*ctl, "AddSurface", {doubles2D(0, 2, 0, 1, {1, 2})});
    Ref<Dispatch> model = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    Ref<Dispatch> light = dispatchOf(call(*ctl, "Light", {Variant(0)}));
    call(*ctl, "RemoveSurfaces");
    Ref<Dispatch> placeholder = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    dynamic_cast<halvex::COpenGLCtrl&>(*ctl).setSite(nullptr);
    ctl = nullptr; // the control's last reference

    put(*model, "ViewAs", Variant(3));
    put(*model, "LineWidth", Variant(4.0));
    put(*placeholder, "BarPlotLayout", Variant(2));
    put(*light, "Diffuse", Variant(0x00FF00));
    EXPECT_EQ(get(*model, "ViewAs").toInt32(), 3);
    EXPECT_EQ(get(*light, "Diffuse").toInt32(), 0x00FF00);
    EXPECT_EQ(site.invalidations, 2); // AddSurface and RemoveSurfaces only
}

// A container's event sink: records what arrives and may answer through
// by-reference arguments.
struct Sink final : Dispatch {
    std::vector<platform::DispId> seen;
    std::vector<Variant> lastArgs;
    platform::DispId idOfName(std::string_view name) const override { return halvex::plotEventNames().find(name); }
    Variant invoke(platform::DispId id, platform::InvokeKind, std::span<Variant> args) override
    {
        seen.push_back(id);
        lastArgs.assign(args.begin(), args.end());
        if (id == halvex::eventid::KeyPress)
            args[0] = Variant::fromInt16(0); // swallow the key
        if (id == halvex::eventid::Error)
            args[6] = Variant(true);
        if (id == halvex::eventid::DblClick)
            throw platform::DispatchException::fromStatus(platform::status::MemberNotFound);
        return {};
    }
};

TEST_F(Lifetime, EventsReachTheConnectedSinks)
{
    auto& control = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    auto* points = dynamic_cast<platform::ConnectionPointContainer*>(ctl.get());
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->findConnectionPoint(halvex::kDOpenGLIid), nullptr);
    platform::ConnectionPoint* cp = points->findConnectionPoint(halvex::kDOpenGLEventsIid);
    ASSERT_NE(cp, nullptr);
    Ref<Sink> sink(new Sink);
    auto cookie = cp->advise(sink);
    EXPECT_NE(cookie, 0u);

    halvex::FireMouseDown(control, 1, 2, 30, 40);
    ASSERT_EQ(sink->seen.size(), 1u);
    EXPECT_EQ(sink->seen[0], -605);
    EXPECT_EQ(sink->lastArgs[2].toInt32(), 30);
    EXPECT_EQ(sink->lastArgs[3].toInt32(), 40);
    EXPECT_EQ(halvex::FireKeyPress(control, 'a'), 0);
    EXPECT_EQ(halvex::FireKeyDown(control, 13, 1), 13);
    halvex::FireDblClick(control); // the sink's failure stays with the sink
    std::string text = "Out of range";
    EXPECT_TRUE(halvex::FireError(control, 5, text, 0, "Halvex", "", 0));
    EXPECT_EQ(sink->seen.back(), -608);
    EXPECT_EQ(halvex::plotEventNames().find("readystatechange"), -609);

    EXPECT_TRUE(cp->unadvise(cookie));
    halvex::FireClick(control);
    EXPECT_EQ(sink->seen.back(), -608);
    EXPECT_FALSE(cp->unadvise(cookie));
}

} // namespace
