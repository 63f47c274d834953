// Saving and loading the control's state: the viewer's 710-byte initial
// state, save → load → save, streams of older versions, and streams that
// are short, damaged or from a later version.
#include "tests/plot/plot_test_support.h"

#include "platform/archive/byte_archive.h"
#include "platform/archive/property_bag.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/model/model_box.h"
#include "plot/model/plot_light.h"
#include "plot/model/record_version.h"
#include "viewer/binding/initial_state.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace plottest;
using halvex::COpenGLCtrl;
using platform::ArchiveError;
using platform::ArchiveWriter;

namespace {

class Persistence : public PlotTest {
protected:
    COpenGLCtrl& control(const Ref<Dispatch>& d = {}) { return dynamic_cast<COpenGLCtrl&>(d ? *d : *ctl); }
    std::vector<std::uint8_t> save(const Ref<Dispatch>& d = {}) { return control(d).SaveState(); }
    Ref<Dispatch> loaded(const std::vector<std::uint8_t>& state)
    {
        Ref<Dispatch> d = newControl();
        control(d).LoadState(state);
        return d;
    }
    Ref<Dispatch> box(Dispatch& d) { return dispatchOf(get(d, "ModelBox")); }
    Ref<Dispatch> child(Dispatch& d, const char* name) { return dispatchOf(get(d, name)); }
    Ref<Dispatch> model(Dispatch& d, int n) { return dispatchOf(call(d, "Model", {Variant(n)})); }
    Ref<Dispatch> light(Dispatch& d, int n) { return dispatchOf(call(d, "Light", {Variant(n)})); }

    ArchiveError::Kind loadError(const std::vector<std::uint8_t>& state)
    {
        try {
            control().LoadState(state);
        } catch (const ArchiveError& e) {
            return e.kind();
        }
        ADD_FAILURE() << "the stream loaded";
        return ArchiveError::Kind::BadValue;
    }

    // A control with a little of everything: six models of every kind,
    // lights changed, created and destroyed, axes set by hand, planes
    // filled, and annotations of both types.
    void furnish()
    {
        put(*ctl, "Tilt", Variant(60.0));
        put(*ctl, "Lighting", Variant(true));
        put(*ctl, "GraphTitle", Variant("Рельеф"));
        put(*ctl, "GraphTitlePosition", Variant::fromInt16(1));
        put(*ctl, "FogColor", Variant(int(0x80402010)));
        put(*ctl, "VerticalScale", Variant::fromInt16(150));
        put(*ctl, "BorderColor", Variant(0x0000FF));
        for (int k = 0; k < 6; ++k)
            call(*ctl, halvex::dispid::AddSurface, {doubles2D(0, 2, 0, 3, {0, 1, 2, 3, 4, double(k)})});
        for (int k = 0; k < 6; ++k) {
            Ref<Dispatch> m = model(*ctl, k);
            put(*m, "ViewAs", Variant::fromInt16(static_cast<std::int16_t>(k)));
            put(*m, "PolygonColor", Variant(0x7F00FF00 + k));
            put(*m, "LineWidth", Variant::fromSingle(1.5f + k));
            put(*m, "ColormapIndex", Variant::fromInt16(static_cast<std::int16_t>(k % 3)));
            put(*m, "AutoContourZ", Variant(false));
            put(*m, "NumberOfContoursZ", Variant::fromInt16(static_cast<std::int16_t>(5 + k)));
        }
        auto& quick = dynamic_cast<halvex::CglModel&>(*model(*ctl, 2));
        halvex::ModelFormat f = quick.format();
        f.quickPlotParams = halvex::QuickPlotParams{-1, 2, -3, 4, 11, 12, 2};
        quick.TakeFormat(f);

        put(*light(*ctl, 1), "Diffuse", Variant(0x00FFFF));
        put(*light(*ctl, 1), "PosX", Variant::fromSingle(-2.0f));
        call(*ctl, "DestroyLight", {Variant(2)});
        call(*ctl, "CreateLight", {Variant(4)});
        put(*light(*ctl, 4), "PositionScale", Variant::fromSingle(1.0f));
        put(*light(*ctl, 4), "Enabled", Variant::fromInt16(0));
        call(*ctl, "CreateLight", {Variant(7)});

        Ref<Dispatch> b = box(*ctl);
        put(*b, "AxesStyle", Variant::fromInt16(0));
        put(*b, "BoxColor", Variant(0x123456));
        Ref<Dispatch> x = child(*b, "XAxis");
        put(*x, "AutoScaleAxis", Variant(false));
        put(*x, "AutoGridAxis", Variant(false));
        put(*x, "MinVal", Variant(-3.0));
        put(*x, "MaxVal", Variant(7.25));
        put(*x, "NumGrids", Variant::fromInt16(6));
        put(*x, "Label", Variant("Время, с"));
        put(*x, "ShowLabel", Variant(true));
        put(*child(*b, "ZAxis"), "AxisColor", Variant(0x00AA00));
        Ref<Dispatch> yz = child(*b, "YZPlane");
        put(*yz, "Fill", Variant(true));
        put(*yz, "FillColor", Variant(0xEEDDCC));
        put(*yz, "ShowVerticalSubdivisions", Variant(true));
        put(*yz, "HorizontalTickMarkWeight", Variant::fromInt16(300));

        halvex::Annotation picture;
        picture.rect = {10, 20, 110, 70};
        picture.picture = {0x89, 'P', 'N', 'G', 1, 2, 3};
        control().AddAnnotation(picture);
        halvex::Annotation object;
        object.type = halvex::kObjectAnnotation;
        object.rect = {-5, 0, 40, 30};
        object.clipFormat = 0xC005;
        object.item = {1, 2, 3, 4, 5};
        object.hostData = {9, 9};
        control().AddAnnotation(object);
    }
};

// The stream of a version 7.x control: version, framework block, then what
// the caller writes.
ArchiveWriter oldStream(std::uint32_t version)
{
    ArchiveWriter w;
    w.writeU32(version);
    w.writeI32(7408);
    w.writeI32(7514);
    w.writeU32(0);
    w.writeU16(1);
    w.writeI16(1);
    w.writeI16(0);
    return w;
}

TEST_F(Persistence, TheInitialStateIsTheSaversOwn710Bytes)
{
    std::span<const std::uint8_t> kept = tavrin::InitialPlotState();
    ASSERT_EQ(kept.size(), 710u);
    Ref<Dispatch> fresh = newControl();
    std::vector<std::uint8_t> made = tavrin::MakeInitialPlotState(*fresh);
    ASSERT_EQ(made.size(), 710u);
    EXPECT_TRUE(std::equal(made.begin(), made.end(), kept.begin()));

    // Version, extent, no stock properties, the framework's block, then
    // the tilt as a double.
    platform::ArchiveReader r(kept);
    EXPECT_EQ(r.readU32(), 0x00080006u);
    EXPECT_EQ(r.readI32(), 7408);
    EXPECT_EQ(r.readI32(), 7514);
    EXPECT_EQ(r.readU32(), 0u);
    r.readBytes(6);
    EXPECT_EQ(r.readDouble(), 0.6108652017876098);
    // The control's values take 84 bytes with the framework's 6 after the
    // stock mask; the box 396, the light entries 103, the count 4 and one
    // model 117.
    EXPECT_EQ(kept[84 + 6 + 396 + 103], 1); // the model count's low byte
    EXPECT_EQ(kept[84 + 6 + 396 + 103 + 4], 0x06); // the model record's version
}

TEST_F(Persistence, LoadingTheInitialStateGivesTheViewersValues)
{
    COpenGLCtrl& c = control();
    c.setSite(nullptr);
    tavrin::ApplyInitialPlotState(*ctl);
    const halvex::ControlState& s = c.state();
    EXPECT_EQ(s.tilt, 0.6108652017876098);
    EXPECT_EQ(s.rotation, 0.0);
    EXPECT_EQ(s.twist, 0.17453291479645996);
    EXPECT_EQ(s.zPosition, 24.198495368895077);
    EXPECT_EQ(s.depthScale, 1.0);
    EXPECT_EQ(c.Extent()[0], 7408);
    EXPECT_EQ(c.Extent()[1], 7514);
    EXPECT_EQ(s.width, 280);
    EXPECT_EQ(s.height, 284);
    EXPECT_TRUE(get(*ctl, "ShowBorder").toBool());
    EXPECT_FALSE(get(*ctl, "Lighting").toBool());
    EXPECT_FALSE(get(*ctl, "Fog").toBool());
    EXPECT_EQ(std::uint32_t(get(*ctl, "FogColor").toInt32()), 0xFFFFFFFFu);
    EXPECT_EQ(std::uint32_t(get(*ctl, "AmbientLight").toInt32()), 0xFF333333u);
    EXPECT_FALSE(get(*ctl, "ConstrainedView").toBool());
    EXPECT_EQ(get(*ctl, "GraphTitle").toString(), "");
    EXPECT_EQ(get(*ctl, "GraphTitlePosition").toInt32(), 2);
    EXPECT_FALSE(get(*ctl, "PerspectiveView").toBool());
    EXPECT_EQ(get(*ctl, "VerticalScale").toInt32(), 100);
    EXPECT_EQ(get(*ctl, "ViewingDistance").toInt32(), 18);
    EXPECT_EQ(get(*ctl, "BorderColor").toInt32(), 0);
    EXPECT_TRUE(c.annotations().empty());
    for (int slot = 0; slot < 8; ++slot)
        EXPECT_EQ(bool(light(*ctl, slot)), slot < 3) << slot;
    EXPECT_EQ(get(*light(*ctl, 2), "Diffuse").toInt32(), 0xFF0000);
    EXPECT_EQ(get(*ctl, "NumberOfModels").toInt32(), 1);
    Ref<Dispatch> b = box(*ctl);
    EXPECT_TRUE(get(*b, "ShowBox").toBool());
    EXPECT_EQ(get(*b, "AxesStyle").toInt32(), 0);
    EXPECT_TRUE(get(*child(*b, "XZPlane"), "ShowHorizontalGridLines").toBool());
    EXPECT_EQ(get(*child(*b, "XZPlane"), "VerticalGridColor").toInt32(), 0xC8C8C8);
    EXPECT_FALSE(c.IsModified());
    // And it saves as it was.
    std::vector<std::uint8_t> again = save();
    std::span<const std::uint8_t> kept = tavrin::InitialPlotState();
    EXPECT_TRUE(std::equal(again.begin(), again.end(), kept.begin(), kept.end()));
}

TEST_F(Persistence, SaveLoadSaveIsIdentical)
{
    furnish();
    std::vector<std::uint8_t> first = save();
    Ref<Dispatch> other = loaded(first);
    EXPECT_EQ(save(other), first);

    // What came back, through the automation interface.
    EXPECT_NEAR(get(*other, "Tilt").toDouble(), 60.0, 1e-4);
    EXPECT_TRUE(get(*other, "Lighting").toBool());
    EXPECT_EQ(get(*other, "GraphTitle").toString(), "Рельеф");
    EXPECT_EQ(get(*other, "GraphTitlePosition").toInt32(), 1);
    EXPECT_EQ(std::uint32_t(get(*other, "FogColor").toInt32()), 0x80402010u);
    EXPECT_EQ(get(*other, "VerticalScale").toInt32(), 150);
    for (int k = 0; k < 6; ++k) {
        Ref<Dispatch> m = model(*other, k);
        EXPECT_EQ(get(*m, "ViewAs").toInt32(), k);
        EXPECT_EQ(get(*m, "PolygonColor").toInt64(), 0x7F00FF00 + k);
        EXPECT_EQ(get(*m, "LineWidth").toDouble(), 1.5 + k);
        EXPECT_EQ(get(*m, "NumberOfContoursZ").toInt32(), 5 + k);
    }
    // Formats only: the loaded models are placeholders.
    EXPECT_EQ(get(*other, "NumberOfModels").toInt32(), 1);
    // The bar plot's record is its bar box: the plane of height 0 included.
    EXPECT_EQ(dynamic_cast<halvex::CglModel&>(*model(*other, 4)).Rect().min[1], 0.0f);
    auto q = dynamic_cast<halvex::CglModel&>(*model(*other, 2)).format().quickPlotParams;
    ASSERT_TRUE(q);
    EXPECT_EQ(*q, (halvex::QuickPlotParams{-1, 2, -3, 4, 11, 12, 2}));

    EXPECT_EQ(get(*light(*other, 1), "Diffuse").toInt32(), 0x00FFFF);
    EXPECT_EQ(get(*light(*other, 1), "PosX").toDouble(), -2.0);
    EXPECT_FALSE(light(*other, 2));
    EXPECT_EQ(get(*light(*other, 4), "Enabled").toInt32(), 0);
    EXPECT_EQ(get(*light(*other, 4), "ID").toInt32(), 0x4004);
    // Light 7 is not saved.
    EXPECT_FALSE(light(*other, 7));

    Ref<Dispatch> b = box(*other);
    EXPECT_EQ(get(*b, "BoxColor").toInt32(), 0x123456);
    Ref<Dispatch> x = child(*b, "XAxis");
    EXPECT_FALSE(get(*x, "AutoScaleAxis").toBool());
    EXPECT_EQ(get(*x, "MaxVal").toDouble(), 7.25);
    EXPECT_EQ(get(*x, "NumGrids").toInt32(), 6);
    EXPECT_EQ(get(*x, "Label").toString(), "Время, с");
    EXPECT_EQ(get(*child(*b, "ZAxis"), "AxisColor").toInt32(), 0x00AA00);
    Ref<Dispatch> yz = child(*b, "YZPlane");
    EXPECT_TRUE(get(*yz, "Fill").toBool());
    EXPECT_EQ(get(*yz, "FillColor").toInt32(), 0xEEDDCC);
    EXPECT_EQ(get(*yz, "HorizontalTickMarkWeight").toInt32(), 44);

    const auto& notes = control(other).annotations();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].type, halvex::kPictureAnnotation);
    EXPECT_EQ(notes[0].rect, (halvex::AnnotationRect{10, 20, 110, 70}));
    EXPECT_EQ(notes[0].picture.size(), 7u);
    EXPECT_EQ(notes[1].type, halvex::kObjectAnnotation);
    EXPECT_EQ(notes[1].clipFormat, 0xC005);
    EXPECT_EQ(notes[1].item, (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(notes[1].hostData, (std::vector<std::uint8_t>{9, 9}));
    EXPECT_FALSE(control(other).IsModified());
}

TEST_F(Persistence, ModelsOfTheTableBeyondTheDataModelsKeepTheirFormats)
{
    // Six placeholders after RemoveSurfaces: every format is saved, not
    // only as many as there are data models.
    for (int k = 0; k < 3; ++k)
        call(*ctl, halvex::dispid::AddSurface, {doubles2D(0, 2, 0, 2, {0, 1, 2, 3})});
    put(*model(*ctl, 2), "ViewAs", Variant::fromInt16(5));
    call(*ctl, halvex::dispid::RemoveSurfaces);
    std::vector<std::uint8_t> state = save();
    Ref<Dispatch> other = loaded(state);
    EXPECT_EQ(get(*model(*other, 2), "ViewAs").toInt32(), 5);
    EXPECT_EQ(save(other), state);
}

TEST_F(Persistence, AModelsVectorStaysWhereItIsThroughSavesAndLoads)
{
    // Normalised once; divided again by a length of 1 ± a rounding error it
    // would move by a unit in the last place on every round.
    auto& m = dynamic_cast<halvex::CglModel&>(*model(*ctl, 0));
    halvex::BoundingRecord r = m.Rect();
    r.vector = {-0.33f, -1.0f, -1.0f};
    m.SetRect(r);
    std::vector<std::uint8_t> first = save();
    Ref<Dispatch> second = loaded(first);
    EXPECT_EQ(save(second), first);
    EXPECT_EQ(dynamic_cast<halvex::CglModel&>(*model(*second, 0)).Rect().vector, m.Rect().vector);
}

TEST_F(Persistence, AVersion73StreamReadsTwistAndDepthScaleAndNothingAfter)
{
    ArchiveWriter w = oldStream(0x00070003);
    w.writeDouble(0.5);  // Tilt
    w.writeDouble(0.25); // Rotation
    w.writeDouble(0.125); // Twist
    w.writeDouble(9.0);  // ZPosition
    w.writeDouble(2.0);  // DepthScale
    for (int i = 0; i < 40; ++i)
        w.writeU8(0xEE); // whatever follows is not read
    put(*ctl, "Lighting", Variant(true));
    control().LoadState(w.bytes());
    const halvex::ControlState& s = control().state();
    EXPECT_EQ(s.tilt, 0.5);
    EXPECT_EQ(s.rotation, 0.25);
    EXPECT_EQ(s.twist, 0.125);
    EXPECT_EQ(s.zPosition, 9.0);
    EXPECT_EQ(s.depthScale, 2.0);
    EXPECT_TRUE(s.lighting);
    EXPECT_FALSE(control().IsModified());
}

TEST_F(Persistence, OlderStreamsLoadWithTheirConversions)
{
    // Below 7.0: fixed angles.
    control().LoadState(oldStream(0x00060000).bytes());
    EXPECT_EQ(control().state().tilt, 0.6108652017876098);
    EXPECT_EQ(control().state().rotation, 0.17453291479645996);
    EXPECT_EQ(control().state().twist, 0.0);

    // 7.0: floats, the second "Tilt" being the twist.
    ArchiveWriter v70 = oldStream(0x00070000);
    v70.writeFloat(0.5f);
    v70.writeFloat(1.5f);
    v70.writeFloat(0.75f);
    control().LoadState(v70.bytes());
    EXPECT_EQ(control().state().twist, 0.75);

    // 7.11: degrees, a model object, the 7.6 values, the box in a blob, the
    // equal scales and the annotations.
    ArchiveWriter w = oldStream(0x0007000B);
    w.writeDouble(90.0);
    w.writeDouble(180.0);
    w.writeDouble(std::numeric_limits<double>::quiet_NaN()); // absent: unchanged
    w.writeDouble(5.0);
    w.writeDouble(0.5);
    w.writeI32(2); // NumModels
    {
        w.writeGuid(halvex::kGlModelClassId);
        ArchiveWriter m;
        m.writeU32(0x00070005);
        m.writeI16(0);           // LineColorMap
        m.writeU32(0x0000FF);    // LineColor
        m.writeI16(0);
        m.writeU32(0);
        m.writeI16(1);           // PolygonColorMap
        m.writeU32(0xFF00FF00);  // PolygonColor
        m.writeFloat(2.0f);
        m.writeFloat(3.0f);
        m.writeFloat(1.0f);
        m.writeI16(1);           // ViewAs: contours
        m.writeI16(1);           // PolygonMode
        m.writeU32(0x00000204);  // ShadeModel, converted to 0x84
        m.writeFloat(20.0f);     // Shininess
        for (float f : {5.0f, -1.0f, -2.0f, 0.0f, 3.0f, 4.0f})
            m.writeFloat(f);
        for (float f : {0.0f, 0.0f, 0.0f}) // a zero vector becomes (0, 0, 1)
            m.writeFloat(f);
        w.writeBlob(m.bytes());
        w.writeGuid(platform::Guid{}); // glModel1: none
    }
    w.writeU8(1);                  // ShoeBackplanes
    w.writeU8(1);                  // ShowBox, dropped
    w.writeU8(0);                  // ShowBorder
    w.writeText("Old title");
    w.writeU8(1);                  // EnableLighting
    w.writeU8(0);                  // EnableFog
    w.writeU32(0xFF0000FF);        // FogColor
    w.writeU32(0xFF808080);        // AmbientLight
    w.writeI16(0);                 // TitlePosition
    {
        ArchiveWriter b;
        b.writeU32(0x0007000B);
        b.writeI16(5); // AxesStyle out of range: none
        b.writeU32(0xFF0000FF);
        b.writeI16(1);
        // Below 7.12 the six objects are inside the box's record; an axis
        // of another class is passed over.
        b.writeGuid(halvex::kGlAxisClassId);
        ArchiveWriter a;
        a.writeU32(0x00070005);
        for (int i = 0; i < 6; ++i)
            a.writeU8(i == 4 ? 0 : 1); // AutoGrid off
        a.writeText("Y");
        for (std::int16_t s : {3, 1, 5, 10, 10, 0})
            a.writeI16(s);
        a.writeU32(0x00FF00);
        for (double d : {-1.0, 1.0, -1.0, 1.0})
            a.writeDouble(d);
        b.writeBlob(a.bytes());
        b.writeGuid(halvex::kGlModelClassId); // not an axis: passed over
        b.writeBlob(std::vector<std::uint8_t>{1, 2, 3});
        for (int i = 0; i < 4; ++i)
            b.writeGuid(platform::Guid{}); // absent
        w.writeBlob(b.bytes());
    }
    w.writeU8(1);  // Constrained View
    w.writeI32(0); // Num Annotations
    control().LoadState(w.bytes());

    const halvex::ControlState& s = control().state();
    EXPECT_EQ(s.tilt, 90.0 * 0.017453292519943295);
    EXPECT_EQ(s.rotation, 180.0 * 0.017453292519943295);
    EXPECT_EQ(s.twist, 0.75);
    EXPECT_TRUE(s.showBackplanes);
    EXPECT_FALSE(s.showBorder);
    EXPECT_EQ(s.graphTitle, "Old title");
    EXPECT_EQ(s.graphTitlePosition, 0);
    EXPECT_TRUE(s.lighting);
    EXPECT_TRUE(s.constrainedView);
    EXPECT_EQ(std::uint32_t(get(*ctl, "AmbientLight").toInt32()), 0xFF808080u);
    auto& m0 = dynamic_cast<halvex::CglModel&>(*model(*ctl, 0));
    EXPECT_EQ(m0.format().shadeModel1 & 0xFFFF, 0x84u);
    EXPECT_EQ(m0.ViewAs(), 1);
    EXPECT_EQ(m0.format().lineColor, 0x0000FFu);
    EXPECT_EQ(m0.Rect().max[1], 5.0f);
    EXPECT_EQ(m0.Rect().vector, (std::array<float, 3>{0, 0, 1}));
    Ref<Dispatch> b = box(*ctl);
    EXPECT_EQ(get(*b, "AxesStyle").toInt32(), 2);
    EXPECT_FALSE(get(*child(*b, "YAxis"), "AutoGridAxis").toBool());
    EXPECT_EQ(get(*child(*b, "YAxis"), "NumGrids").toInt32(), 3);
    EXPECT_EQ(get(*child(*b, "YAxis"), "Label").toString(), "Y");
}

TEST_F(Persistence, ALaterMinorVersionReadsAsTheCurrentOne)
{
    std::vector<std::uint8_t> state(tavrin::InitialPlotState().begin(), tavrin::InitialPlotState().end());
    state[0] = 0x09; // 8.9
    control().LoadState(state);
    EXPECT_EQ(save()[0], 0x06);
    state[0] = 0x06;
    state[2] = 0x09; // 9.6
    EXPECT_EQ(loadError(state), ArchiveError::Kind::BadVersion);
}

TEST_F(Persistence, AStreamThatFailsAnywhereLeavesTheControlAsItWas)
{
    furnish();
    std::vector<std::uint8_t> rich = save();
    Ref<Dispatch> target = newControl();
    put(*target, "Tilt", Variant(12.0));
    call(*target, "DestroyLight", {Variant(0)});
    std::vector<std::uint8_t> before = save(target);
    for (std::size_t n = 0; n < rich.size(); n += (n < 120 ? 1 : 7)) {
        std::vector<std::uint8_t> cut(rich.begin(), rich.begin() + std::ptrdiff_t(n));
        EXPECT_THROW(control(target).LoadState(cut), ArchiveError) << n;
        ASSERT_EQ(save(target), before) << n;
    }
}

TEST_F(Persistence, CountsFlagsAndTypesFromTheStreamAreChecked)
{
    const std::vector<std::uint8_t> good(tavrin::InitialPlotState().begin(), tavrin::InitialPlotState().end());
    auto with = [&](std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
        std::vector<std::uint8_t> s = good;
        std::copy(bytes.begin(), bytes.end(), s.begin() + std::ptrdiff_t(offset));
        return s;
    };
    constexpr std::size_t annotations = 80 + 6;           // "Num Annotations"
    constexpr std::size_t lights = 84 + 6 + 396;            // the first light flag
    constexpr std::size_t models = 84 + 6 + 396 + 103;      // the model count
    EXPECT_EQ(loadError(with(annotations, {0x01, 0x10, 0, 0})), ArchiveError::Kind::BadValue); // 4097
    EXPECT_EQ(loadError(with(annotations, {0xFF, 0xFF, 0xFF, 0xFF})), ArchiveError::Kind::BadValue);
    EXPECT_EQ(loadError(with(annotations, {100, 0, 0, 0})), ArchiveError::Kind::EndOfStream);
    EXPECT_EQ(loadError(with(lights, {2})), ArchiveError::Kind::BadValue);
    EXPECT_EQ(loadError(with(models, {0x01, 0x00, 0x01, 0x00})), ArchiveError::Kind::BadValue); // 65537
    EXPECT_EQ(loadError(with(models, {0x00, 0x00, 0x01, 0x00})), ArchiveError::Kind::EndOfStream);
    EXPECT_EQ(save()[0], 0x06); // nothing was applied on the way

    // An annotation of type 2.
    std::vector<std::uint8_t> typed(good.begin(), good.begin() + annotations);
    for (std::uint8_t b : {1, 0, 0, 0, 2, 0, 0, 0})
        typed.push_back(b);
    typed.insert(typed.end(), 40, 0);
    EXPECT_EQ(loadError(typed), ArchiveError::Kind::BadValue);
}

TEST_F(Persistence, NonFiniteValuesCountAsAbsent)
{
    std::vector<std::uint8_t> state(tavrin::InitialPlotState().begin(), tavrin::InitialPlotState().end());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(state.data() + 22, &nan, 8); // Tilt
    put(*ctl, "Tilt", Variant(20.0));
    double tilt = control().state().tilt;
    control().LoadState(state);
    EXPECT_EQ(control().state().tilt, tilt);
    EXPECT_EQ(control().state().twist, 0.17453291479645996);
}

TEST_F(Persistence, ThePropertyBagHoldsTheControlsOwnValues)
{
    put(*ctl, "Twist", Variant(45.0));
    put(*ctl, "GraphTitle", Variant("Bag"));
    put(*ctl, "ViewingDistance", Variant::fromInt16(30));
    platform::PropertyBag bag;
    control().SaveProperties(bag);
    ASSERT_NE(bag.Read("Twist"), nullptr);
    EXPECT_EQ(bag.Read("Title")->toString(), "Bag");
    EXPECT_EQ(bag.Read("NumModels"), nullptr); // no models, lights or box

    Ref<Dispatch> other = newControl();
    control(other).LoadProperties(bag);
    EXPECT_NEAR(get(*other, "Twist").toDouble(), 45.0, 1e-4);
    EXPECT_EQ(get(*other, "GraphTitle").toString(), "Bag");
    EXPECT_EQ(get(*other, "ViewingDistance").toInt32(), 30);

    // Absent values stay.
    platform::PropertyBag partial;
    partial.Write("EnableFog", Variant(true));
    control(other).LoadProperties(partial);
    EXPECT_TRUE(get(*other, "Fog").toBool());
    EXPECT_EQ(get(*other, "GraphTitle").toString(), "Bag");
}

} // namespace
