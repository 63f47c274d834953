// The model box, its axes and its back planes as a container drives them:
// defaults, identifiers, checks and errors, and what a write repaints.
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/base/plot_errors.h"
#include "plot/model/model_box.h"

#include <cmath>

using namespace plottest;

namespace {

class ModelBox : public PlotTest {
protected:
    Ref<Dispatch> box() { return dispatchOf(get(*ctl, "ModelBox")); }
    Ref<Dispatch> axis(const char* name) { return dispatchOf(get(*box(), name)); }
    Ref<Dispatch> plane(const char* name) { return dispatchOf(get(*box(), name)); }
    halvex::CglModelBox& object() { return dynamic_cast<halvex::COpenGLCtrl&>(*ctl).box(); }
};

TEST_F(ModelBox, ANewControlHasCornerAxesAndNoGrids)
{
    Ref<Dispatch> b = box();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->className(), "glModelBox");
    EXPECT_EQ(get(*b, "AxesStyle").type(), platform::varSmallint);
    EXPECT_EQ(get(*b, "AxesStyle").toInt32(), 1);
    EXPECT_EQ(std::uint32_t(get(*b, "BoxColor").toInt32()), 0xFF000000u);
    EXPECT_FALSE(get(*b, "ShowBox").toBool());
    EXPECT_EQ(b->idOfName("GetAssociatedBackplane"), 10);
    EXPECT_EQ(b->idOfName("YZPlane"), 6);
    // The same objects every time.
    EXPECT_EQ(axis("XAxis").get(), axis("XAxis").get());
    EXPECT_NE(axis("XAxis").get(), axis("YAxis").get());

    Ref<Dispatch> x = axis("ZAxis");
    EXPECT_EQ(x->className(), "glAxis");
    EXPECT_TRUE(get(*x, "Numbered").toBool());
    EXPECT_FALSE(get(*x, "ShowLabel").toBool());
    EXPECT_TRUE(get(*x, "AutoGridAxis").toBool());
    EXPECT_TRUE(get(*x, "AutoScaleAxis").toBool());
    EXPECT_EQ(get(*x, "NumGrids").toInt32(), 5);
    EXPECT_EQ(get(*x, "NumSubdivisions").toInt32(), 1);
    EXPECT_EQ(get(*x, "GridLineWeight").toInt32(), 10);
    EXPECT_EQ(get(*x, "SubGridLineWeight").toInt32(), 5);
    EXPECT_EQ(get(*x, "AxisLineWeight").toInt32(), 10);
    EXPECT_EQ(get(*x, "AxisColor").toInt32(), 0);
    EXPECT_EQ(get(*x, "MinVal").toDouble(), -1.0);
    EXPECT_EQ(get(*x, "MaxVal").toDouble(), 1.0);
    EXPECT_EQ(get(*x, "DataMin").toDouble(), -1.0);
    EXPECT_EQ(get(*x, "Label").toString(), "");
    EXPECT_EQ(x->idOfName("TickMarkWeight"), 17);
    EXPECT_EQ(x->idOfName("LabelFont"), 7);
    EXPECT_EQ(object().axis(halvex::kAxisX).fields().kind, 2);
    EXPECT_EQ(object().axis(halvex::kAxisY).fields().kind, 0);
    EXPECT_EQ(object().axis(halvex::kAxisZ).fields().kind, 1);

    Ref<Dispatch> p = plane("XYPlane");
    EXPECT_EQ(p->className(), "glBackPlane");
    EXPECT_TRUE(get(*p, "IsXY").toBool());
    EXPECT_FALSE(get(*p, "IsYZ").toBool());
    EXPECT_TRUE(get(*plane("YZPlane"), "IsYZ").toBool());
    EXPECT_TRUE(get(*plane("XZPlane"), "IsXZ").toBool());
    EXPECT_FALSE(get(*p, "Fill").toBool());
    EXPECT_EQ(get(*p, "FillColor").toInt32(), 0xFFFFFF);
    EXPECT_FALSE(get(*p, "Border").toBool());
    for (const char* name : {"ShowHorizontalGridLines", "ShowVerticalGridLines", "ShowHorizontalSubdivisions",
                             "ShowVerticalSubdivisions", "ShowHorizontalTickMarks", "ShowVerticalTickMarks",
                             "ShowHorizontalSubTickMarks", "ShowVerticalSubTickMarks"})
        EXPECT_FALSE(get(*p, name).toBool()) << name;
    EXPECT_EQ(get(*p, "VerticalGridColor").toInt32(), 0x00FF00);
    EXPECT_EQ(get(*p, "HorizontalSubdivisionColor").toInt32(), 0x00FFFF);
    EXPECT_EQ(get(*p, "VerticalSubdivisionWeight").toInt32(), 5);
    EXPECT_EQ(get(*p, "HorizontalTickMarkWeight").toInt32(), 10);
    EXPECT_EQ(get(*p, "VerticalSubTickMarkColor").toInt32(), 0);
    EXPECT_EQ(p->idOfName("SetXZ"), 33);
    EXPECT_EQ(p->idOfName("HorizontalSubTickMarkWeight"), 30);
}

TEST_F(ModelBox, ChecksAndErrors)
{
    Ref<Dispatch> b = box();
    for (int bad : {-1, 3, 100}) {
        expectError([&] { put(*b, "AxesStyle", Variant::fromInt16(std::int16_t(bad))); },
                    halvex::err::UnrecognizedAxisStyle, "Unrecognized axis style", halvex::kPropertyRangeStatus);
    }
    EXPECT_EQ(get(*b, "AxesStyle").toInt32(), 1);
    expectControlError([&] { call(*b, "GetAssociatedBackplane", {Variant::fromInt16(3)}); },
                       halvex::err::UnrecognizedAxisNumber, "Unrecognized axis number");
    EXPECT_EQ(dispatchOf(call(*b, "GetAssociatedBackplane", {Variant::fromInt16(0)})).get(), plane("XYPlane").get());
    EXPECT_EQ(dispatchOf(call(*b, "GetAssociatedBackplane", {Variant::fromInt16(1)})).get(), plane("YZPlane").get());
    EXPECT_EQ(dispatchOf(call(*b, "GetAssociatedBackplane", {Variant::fromInt16(2)})).get(), plane("XZPlane").get());
    expectSetNotSupported([&] { put(*b, "XAxis", Variant(1)); });
    expectSetNotSupported([&] { put(*plane("XYPlane"), "IsXY", Variant(false)); });
    expectSetNotSupported([&] { put(*ctl, "ModelBox", Variant(1)); });
}

TEST_F(ModelBox, AxisWritesRedrawOnlyWhenTheyChange)
{
    Ref<Dispatch> z = axis("ZAxis");
    site.reset();
    put(*z, "NumGrids", Variant::fromInt16(5));
    put(*z, "Label", Variant(""));
    EXPECT_EQ(site.invalidations, 0);
    put(*z, "NumGrids", Variant::fromInt16(4));
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_TRUE(site.modified);
    put(*z, "MinVal", Variant(std::nan("")));
    put(*z, "MinVal", Variant(std::nan("")));
    EXPECT_EQ(site.invalidations, 2);

    // A colour the axis already has is not the user's choice.
    put(*z, "AxisColor", Variant(0));
    EXPECT_FALSE(object().axis(halvex::kAxisZ).fields().userColor);
    put(*z, "AxisColor", Variant(0xFF));
    EXPECT_TRUE(object().axis(halvex::kAxisZ).fields().userColor);
    EXPECT_EQ(get(*z, "AxisColor").toInt32(), 0xFF);

    put(*z, "TickMarkWeight", Variant::fromInt16(3));
    EXPECT_EQ(get(*z, "TickMarkWeight").toInt32(), 0);
    put(*z, "LabelFont", Variant(1));
    EXPECT_EQ(get(*z, "LabelFont").dispatch(), nullptr); // a null object
    // No negative number of subdivisions.
    put(*z, "NumSubdivisions", Variant::fromInt16(-3));
    EXPECT_EQ(get(*z, "NumSubdivisions").toInt32(), 0);
}

TEST_F(ModelBox, ReversedOrBrokenLimitsStillGiveARange)
{
    halvex::CglAxis& z = object().axis(halvex::kAxisZ);
    Ref<Dispatch> a = axis("ZAxis");
    put(*a, "AutoScaleAxis", Variant(false));
    put(*a, "MinVal", Variant(10.0));
    put(*a, "MaxVal", Variant(-10.0));
    EXPECT_EQ(z.Lower(), -10.0);
    EXPECT_EQ(z.Upper(), 10.0);
    z.UpdateRange();
    halvex::GridValues g = z.Grid();
    ASSERT_GE(g.count(), 2);
    EXPECT_EQ(g[0], -10.0);
    EXPECT_EQ(g[g.count() - 1], 10.0);
    put(*a, "MaxVal", Variant(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(z.Lower(), -1.0); // the data range takes over
    EXPECT_EQ(z.Upper(), 1.0);

    put(*a, "AutoGridAxis", Variant(false));
    put(*a, "MinVal", Variant(0.0));
    put(*a, "MaxVal", Variant(10.0));
    put(*a, "NumGrids", Variant::fromInt16(3));
    z.UpdateRange();
    g = z.Grid();
    ASSERT_EQ(g.count(), 3);
    EXPECT_EQ(g[0], 0.0);
    EXPECT_EQ(g[1], 5.0);
    EXPECT_EQ(g[2], 10.0);
}

TEST_F(ModelBox, PlaneWeightsKeepOneByteAndTypesMove)
{
    Ref<Dispatch> p = plane("XYPlane");
    put(*p, "HorizontalGridLineWeight", Variant::fromInt16(300));
    EXPECT_EQ(get(*p, "HorizontalGridLineWeight").toInt32(), 44);
    EXPECT_EQ(get(*p, "VerticalGridLineWeight").toInt32(), 10);
    put(*p, "VerticalSubTickMarkWeight", Variant::fromInt16(-1));
    EXPECT_EQ(get(*p, "VerticalSubTickMarkWeight").toInt32(), 255);

    site.reset();
    put(*p, "ShowVerticalGridLines", Variant(true));
    EXPECT_TRUE(get(*p, "ShowVerticalGridLines").toBool());
    EXPECT_FALSE(get(*p, "ShowHorizontalGridLines").toBool());
    EXPECT_EQ(object().plane(halvex::kPlaneXY).fields().switches, 0x01);
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_TRUE(site.modified);
    put(*p, "ShowVerticalGridLines", Variant(true));
    EXPECT_EQ(site.invalidations, 1);

    call(*p, "SetYZ");
    EXPECT_TRUE(get(*p, "IsYZ").toBool());
    EXPECT_EQ(object().plane(halvex::kPlaneXY).normalAxis(), halvex::kAxisX);
    EXPECT_EQ(site.invalidations, 2);
    call(*p, "SetXY");
    EXPECT_EQ(object().plane(halvex::kPlaneXY).normalAxis(), halvex::kAxisZ);
}

TEST_F(ModelBox, BoxWritesRepaint)
{
    Ref<Dispatch> b = box();
    site.reset();
    put(*b, "AxesStyle", Variant::fromInt16(0));
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_TRUE(site.modified);
    put(*b, "AxesStyle", Variant::fromInt16(0));
    EXPECT_EQ(site.invalidations, 1);
    put(*b, "ShowBox", Variant(true));
    EXPECT_EQ(site.invalidations, 2);
    put(*b, "BoxColor", Variant(0xFF));
    EXPECT_EQ(site.invalidations, 3);
    EXPECT_EQ(get(*b, "BoxColor").toInt32(), 0xFF);
    put(*b, "BoxColor", Variant(0xFF));
    EXPECT_EQ(site.invalidations, 3);
}

TEST_F(ModelBox, AxesAndPlanesOutliveTheControl)
{
    Ref<Dispatch> b = box();
    Ref<Dispatch> z = axis("ZAxis");
    Ref<Dispatch> p = plane("XZPlane");
    dynamic_cast<halvex::COpenGLCtrl&>(*ctl).setSite(nullptr);
    ctl = nullptr;
    put(*z, "NumGrids", Variant::fromInt16(7));
    put(*p, "Fill", Variant(true));
    put(*b, "ShowBox", Variant(true));
    EXPECT_EQ(get(*z, "NumGrids").toInt32(), 7);
    b = nullptr; // the box goes: the axis and plane hold on alone
    put(*z, "NumGrids", Variant::fromInt16(8));
    put(*p, "FillColor", Variant(0x123456));
    EXPECT_EQ(get(*p, "FillColor").toInt32(), 0x123456);
    EXPECT_EQ(site.invalidations, 0);
}

} // namespace
