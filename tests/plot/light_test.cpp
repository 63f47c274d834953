// The eight light slots, the three default lights and the light objects'
// automation interface.
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/model/plot_light.h"

using namespace plottest;
using halvex::CglLight;

namespace {

class Lights : public PlotTest {
protected:
    Ref<Dispatch> light(int n) { return dispatchOf(call(*ctl, "Light", {Variant(n)})); }
    static const CglLight& obj(const Ref<Dispatch>& d) { return dynamic_cast<const CglLight&>(*d); }
};

TEST_F(Lights, ANewControlHasRedGreenAndBlueDirectionalLights)
{
    const halvex::LightPosition positions[3] = {{1, 0, 1, 0}, {1, 1, 1, 0}, {0, 1, 1, 0}};
    const std::int32_t diffuse[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    const float posXYZ[3][3] = {{1, 1, 0}, {1, 1, 1}, {1, 0, 1}};
    for (int slot = 0; slot < 3; ++slot) {
        Ref<Dispatch> l = light(slot);
        ASSERT_TRUE(l) << slot;
        EXPECT_EQ(obj(l).position(), positions[slot]);
        EXPECT_EQ(obj(l).specular(), (halvex::ColorF{0, 0, 0, 1}));
        EXPECT_EQ(get(*l, "Diffuse").toInt32(), diffuse[slot]);
        EXPECT_EQ(get(*l, "Specular").toInt32(), 0);
        EXPECT_EQ(get(*l, "PosX").toDouble(), posXYZ[slot][0]);
        EXPECT_EQ(get(*l, "PosY").toDouble(), posXYZ[slot][1]);
        EXPECT_EQ(get(*l, "PosZ").toDouble(), posXYZ[slot][2]);
        EXPECT_EQ(get(*l, "PositionScale").toDouble(), 0.0);
        EXPECT_EQ(get(*l, "ID").toInt32(), 0x4000 + slot);
        EXPECT_EQ(get(*l, "Enabled").type(), platform::varSmallint);
        EXPECT_EQ(get(*l, "Enabled").toInt32(), 1);
    }
    for (int slot = 3; slot < 8; ++slot)
        EXPECT_FALSE(light(slot)) << slot;
    EXPECT_EQ(light(0)->idOfName("positionscale"), 7);
    EXPECT_EQ(CglLight::memberNames().entries().size(), 8u);
}

TEST_F(Lights, ColoursAreWrittenOpaqueAndReadWithoutAlpha)
{
    Ref<Dispatch> l = light(1);
    put(*l, "Diffuse", Variant(0x0000FF));
    EXPECT_EQ(obj(l).diffuse(), (halvex::ColorF{1, 0, 0, 1}));
    EXPECT_EQ(get(*l, "Diffuse").toInt32(), 0x0000FF);
    put(*l, "Specular", Variant::fromUInt32(0x7F336699u));
    EXPECT_EQ(get(*l, "Specular").toInt32(), 0x336699);
    EXPECT_EQ(obj(l).specular()[3], 1.0f);
}

TEST_F(Lights, PositionNamesMapOntoDisplayOrder)
{
    Ref<Dispatch> l = light(0);
    put(*l, "PosX", Variant(100.0));
    put(*l, "PosY", Variant(-2.0));
    put(*l, "PosZ", Variant(3.5));
    EXPECT_EQ(obj(l).position(), (halvex::LightPosition{-2.0f, 3.5f, 100.0f, 0.0f}));
    EXPECT_EQ(get(*l, "PositionScale").toDouble(), 0.0); // still directional
    put(*l, "PositionScale", Variant(2.0));
    EXPECT_EQ(obj(l).position()[3], 2.0f);
}

TEST_F(Lights, EnabledReadsOneOrZero)
{
    Ref<Dispatch> l = light(2);
    put(*l, "Enabled", Variant(0));
    EXPECT_EQ(get(*l, "Enabled").toInt32(), 0);
    EXPECT_FALSE(obj(l).enabled());
    put(*l, "Enabled", Variant(-1));
    EXPECT_EQ(get(*l, "Enabled").toInt32(), 1);
    put(*l, "ID", Variant(99)); // no range test
    EXPECT_EQ(get(*l, "ID").toInt32(), 99);
}

TEST_F(Lights, EveryWriteNotifiesAndAChangeOnceMore)
{
    Ref<Dispatch> l = light(0);
    site.reset();
    put(*l, "PosX", Variant(1.0)); // unchanged
    EXPECT_EQ(site.invalidations, 1);
    put(*l, "PosX", Variant(5.0));
    EXPECT_EQ(site.invalidations, 3);
    EXPECT_TRUE(site.modified);
    // A write that fails tells no one.
    errorOf([&] { put(*l, "PosX", Variant("far")); });
    EXPECT_EQ(site.invalidations, 3);
}

TEST_F(Lights, CreateAndDestroyWithinTheEightSlots)
{
    EXPECT_TRUE(call(*ctl, "CreateLight", {Variant(3)}).toBool());
    Ref<Dispatch> l3 = light(3);
    ASSERT_TRUE(l3);
    EXPECT_EQ(get(*l3, "ID").toInt32(), 0x4003);
    EXPECT_EQ(get(*l3, "Enabled").toInt32(), 1);
    EXPECT_EQ(obj(l3).diffuse(), (halvex::ColorF{0, 0, 0, 0}));
    // Creating an existing light keeps it.
    call(*ctl, "CreateLight", {Variant(3)});
    EXPECT_EQ(light(3).get(), l3.get());

    site.reset();
    EXPECT_TRUE(call(*ctl, "DestroyLight", {Variant(3)}).toBool());
    EXPECT_FALSE(light(3));
    EXPECT_EQ(site.invalidations, 1);
    // A container's reference outlives the slot; the light is off.
    EXPECT_EQ(get(*l3, "Enabled").toInt32(), 0);
    put(*l3, "Diffuse", Variant(0xFF));
    EXPECT_TRUE(call(*ctl, "DestroyLight", {Variant(3)}).toBool()); // an empty slot
}

TEST_F(Lights, NumbersOutsideTheSlotsAreRefused)
{
    for (int bad : {8, -1, 32767, -32768}) {
        expectControlError([&] { call(*ctl, "CreateLight", {Variant(bad)}); }, 57651, "Unknown error");
        expectControlError([&] { call(*ctl, "DestroyLight", {Variant(bad)}); }, 57651, "Unknown error");
        Variant none = call(*ctl, "Light", {Variant(bad)});
        EXPECT_EQ(none.dispatch(), nullptr);
    }
    EXPECT_TRUE(call(*ctl, "CreateLight", {Variant(7)}).toBool());
    EXPECT_TRUE(light(7));
}

} // namespace
