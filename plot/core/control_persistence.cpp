#include "plot/core/control_persistence.h"

#include "platform/archive/byte_archive.h"
#include "platform/archive/prop_exchange.h"
#include "platform/archive/property_bag.h"
#include "plot/core/fpu_precision.h"
#include "plot/core/gl_control_core.h"
#include "plot/model/box_records.h"
#include "plot/model/light_record.h"
#include "plot/model/model_box.h"
#include "plot/model/model_record.h"
#include "plot/model/record_version.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>

namespace halvex {

using platform::ArchiveError;
using platform::ArchiveExchange;
using platform::PropExchange;

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
// 35° and 10° as the control holds them (computed in single precision).
constexpr double kTilt35 = 0.6108652017876098;
constexpr double kAngle10 = 0.17453291479645996;
// Light 7 is not saved: seven entries, slots 0 to 6.
constexpr int kSavedLights = 7;
// The least a record can take: an annotation (type, format, rectangle and
// one blob count), a model (its version), an old stream's object (a null
// class identifier).
constexpr std::size_t kMinAnnotationBytes = 26;
constexpr std::size_t kMinModelBytes = 4;
constexpr std::size_t kMinObjectBytes = 16;

// The control's own values as they cross; absent ones stay unset.
struct ControlValues {
    std::optional<double> tilt, rotation, twist, zPosition, depthScale;
    std::optional<bool> showBorder, lighting, fog, constrainedView, perspective, showBackplanes;
    std::optional<std::uint32_t> fogColor, ambient, borderColor;
    std::optional<std::string> title;
    std::optional<std::int16_t> titlePosition, verticalScale, viewingDistance;
};

struct StateRecord {
    host::FrameworkRecord framework;
    ControlValues values;
    std::optional<std::vector<Annotation>> annotations;
    // What follows the exchange in a stream of the current format; the old
    // loader may give the box too.
    std::optional<BoxRecord> box;
    std::optional<std::array<std::optional<LightRecord>, kSavedLights>> lights;
    std::optional<std::vector<ModelFormat>> models; // by number from 0
    std::map<int, ModelFormat> oldModels;          // "glModel%d" objects by number
};

template <class T>
bool exchange(PropExchange& px, bool (PropExchange::*method)(std::string_view, T&), std::string_view name,
              std::optional<T>& slot)
{
    T value = slot.value_or(T{});
    if (!(px.*method)(name, value))
        return false;
    slot = value;
    return true;
}

// An old stream's angle held as a float.
void exchangeFloatAngle(PropExchange& px, std::string_view name, std::optional<double>& slot)
{
    float value = 0.0f;
    if (px.Float(name, value))
        slot = double(value);
}

// Fails unless count records of at least minBytes each can still follow.
void requireRecords(PropExchange& px, std::int64_t count, std::int64_t limit, std::size_t minBytes, const char* what)
{
    if (count < 0 || count > limit)
        px.fail(ArchiveError::Kind::BadValue,
                "the stream holds " + std::to_string(count) + " " + what + " (at most " + std::to_string(limit) + ")");
    if (auto* stream = dynamic_cast<ArchiveExchange*>(&px); stream && stream->reader())
        stream->reader()->require(std::size_t(count) * minBytes);
}

void exchangeAnnotations(PropExchange& px, std::optional<std::vector<Annotation>>& list)
{
    const bool load = px.loading();
    std::int32_t count = list ? static_cast<std::int32_t>(list->size()) : 0;
    if (!px.Long("Num Annotations", count))
        return;
    std::vector<Annotation> loaded;
    if (load) {
        requireRecords(px, count, kMaxSavedAnnotations, kMinAnnotationBytes, "annotations");
        loaded.resize(std::size_t(count));
    }
    for (Annotation& a : load ? loaded : *list) {
        px.Long("Annotation Type", a.type);
        if (a.type != kPictureAnnotation && a.type != kObjectAnnotation)
            px.fail(ArchiveError::Kind::BadValue, "an annotation of unknown type " + std::to_string(a.type));
        std::int16_t format = static_cast<std::int16_t>(a.clipFormat);
        px.Short("CLIPFORMAT", format);
        a.clipFormat = static_cast<std::uint16_t>(format);
        px.Long("rcRender_top", a.rect.top);
        px.Long("rcRender_bottom", a.rect.bottom);
        px.Long("rcRender_left", a.rect.left);
        px.Long("rcRender_right", a.rect.right);
        if (a.type == kPictureAnnotation) {
            px.Blob("Annotation Picture", a.picture);
        } else {
            px.Blob("EmbededObject", a.item);
            px.Blob("EmbededObject", a.hostData);
        }
    }
    if (load)
        list = std::move(loaded);
}

void exchangeValues(PropExchange& px, std::uint32_t v, ControlValues& c)
{
    exchange(px, &PropExchange::Double, "Tilt", c.tilt);
    exchange(px, &PropExchange::Double, "Rotation", c.rotation);
    exchange(px, &PropExchange::Double, "Twist", c.twist);
    exchange(px, &PropExchange::Double, "ZPosition", c.zPosition);
    exchange(px, &PropExchange::Double, "DepthScale", c.depthScale);
    exchange(px, &PropExchange::Bool, "ShowBorder", c.showBorder);
    exchange(px, &PropExchange::Bool, "EnableLighting", c.lighting);
    exchange(px, &PropExchange::Bool, "EnableFog", c.fog);
    exchange(px, &PropExchange::ULong, "FogColor", c.fogColor);
    exchange(px, &PropExchange::ULong, "AmbientLight", c.ambient);
    exchange(px, &PropExchange::Bool, "Constrained View", c.constrainedView);
    if (v > version(7, 12)) {
        exchange(px, &PropExchange::Text, "Title", c.title);
        exchange(px, &PropExchange::Short, "TitlePosition", c.titlePosition);
    }
    if (v >= version(7, 16)) {
        exchange(px, &PropExchange::Bool, "Perspective", c.perspective);
        exchange(px, &PropExchange::Short, "VerticalScale", c.verticalScale);
    }
    if (v >= version(8, 3))
        exchange(px, &PropExchange::Short, "ViewingDistance", c.viewingDistance);
    if (v >= version(8, 4))
        exchange(px, &PropExchange::ULong, "BorderColor", c.borderColor);
}

// The box record kept in a blob of an old stream.
void readBoxBlob(PropExchange& px, const CGLCOleControl& control, StateRecord& r)
{
    std::vector<std::uint8_t> blob;
    if (!px.Blob("ModelBox", blob))
        return;
    platform::ArchiveReader in(blob);
    ArchiveExchange inner(in);
    BoxRecord box = CaptureBox(control.box());
    try {
        ExchangeBoxRecord(inner, box);
    } catch (const ArchiveError& e) {
        px.fail(e.kind(), std::string("in the model box: ") + e.what());
    }
    r.box = std::move(box);
}

// Streams older than 7.12: the values each version had, in its order.
void loadOldState(PropExchange& px, std::uint32_t v, const CGLCOleControl& control, StateRecord& r)
{
    ControlValues& c = r.values;
    if (v < version(7, 0)) {
        c.tilt = kTilt35;
        c.rotation = kAngle10;
        c.twist = 0.0;
        return;
    }
    if (v == version(7, 0)) {
        exchangeFloatAngle(px, "Tilt", c.tilt);
        exchangeFloatAngle(px, "Rotation", c.rotation);
        exchangeFloatAngle(px, "Tilt", c.twist);
    } else if (v == version(7, 1)) {
        exchange(px, &PropExchange::Double, "Tilt", c.tilt);
        exchange(px, &PropExchange::Double, "Rotation", c.rotation);
        exchange(px, &PropExchange::Double, "Tilt", c.twist);
    } else if (v <= version(7, 3)) {
        exchange(px, &PropExchange::Double, "Tilt", c.tilt);
        exchange(px, &PropExchange::Double, "Rotation", c.rotation);
        exchange(px, &PropExchange::Double, "Twist", c.twist);
        exchange(px, &PropExchange::Double, "ZPosition", c.zPosition);
        if (v == version(7, 3))
            exchange(px, &PropExchange::Double, "DepthScale", c.depthScale);
    } else {
        for (auto [name, slot] : {std::pair{"Tilt", &c.tilt}, {"Rotation", &c.rotation}, {"Twist", &c.twist}})
            if (exchange(px, &PropExchange::Double, name, *slot))
                *slot = **slot * kRadiansPerDegree;
        exchange(px, &PropExchange::Double, "ZPosition", c.zPosition);
        exchange(px, &PropExchange::Double, "DepthScale", c.depthScale);
    }
    if (v > version(7, 4)) {
        std::int32_t count = 0;
        if (px.Long("NumModels", count)) {
            requireRecords(px, count, kMaxSavedModels, kMinObjectBytes, "models");
            for (std::int32_t i = 0; i < count; ++i) {
                ModelFormat format;
                px.Object("glModel" + std::to_string(i), kGlModelClassId, [&](PropExchange& in) {
                    BoundingRecord rect = format.rect;
                    ExchangeModelRecord(in, format, rect);
                    format.rect = rect;
                    r.oldModels[i] = format;
                });
            }
        }
    }
    if (v > version(7, 5)) {
        exchange(px, &PropExchange::Bool, "ShoeBackplanes", c.showBackplanes);
        bool dropped = false;
        px.Bool("ShowBox", dropped);
        exchange(px, &PropExchange::Bool, "ShowBorder", c.showBorder);
        exchange(px, &PropExchange::Text, "Title", c.title);
        exchange(px, &PropExchange::Bool, "EnableLighting", c.lighting);
        exchange(px, &PropExchange::Bool, "EnableFog", c.fog);
        exchange(px, &PropExchange::ULong, "FogColor", c.fogColor);
        exchange(px, &PropExchange::ULong, "AmbientLight", c.ambient);
        if (v < version(7, 7)) {
            std::int16_t style = 0;
            px.Short("AxesStyle", style);
        }
        exchange(px, &PropExchange::Short, "TitlePosition", c.titlePosition);
    }
    if (v > version(7, 7))
        readBoxBlob(px, control, r);
    if (v > version(7, 8)) {
        if (v > version(7, 10))
            exchange(px, &PropExchange::Bool, "Constrained View", c.constrainedView);
        exchangeAnnotations(px, r.annotations);
    }
}

// The model box, seven light entries and the models after the exchange.
void exchangeExtras(ArchiveExchange& px, CGLCOleControl& control, StateRecord& r)
{
    const bool load = px.loading();
    BoxRecord box = load ? CaptureBox(control.box()) : *r.box;
    ExchangeBoxRecord(px, box);
    if (load)
        r.box = std::move(box);

    std::array<std::optional<LightRecord>, kSavedLights> lights;
    if (!load)
        lights = *r.lights;
    for (int slot = 0; slot < kSavedLights; ++slot) {
        auto& entry = lights[std::size_t(slot)];
        if (!load) {
            px.writer()->writeU8(entry ? 1 : 0);
            if (entry)
                ExchangeLightRecord(px, *entry);
            continue;
        }
        std::uint8_t present = px.reader()->readU8();
        if (present > 1)
            px.fail(ArchiveError::Kind::BadValue, "a light entry flagged " + std::to_string(present));
        if (present) {
            entry.emplace();
            ExchangeLightRecord(px, *entry);
        }
    }
    if (load)
        r.lights = lights;

    std::int32_t count = load ? 0 : static_cast<std::int32_t>(r.models->size());
    px.Long("NumModels", count);
    if (!load) {
        for (int number = 0; number < count; ++number) {
            ModelFormat format = (*r.models)[std::size_t(number)];
            BoundingRecord rect = format.rect;
            ExchangeModelRecord(px, format, rect);
        }
        return;
    }
    requireRecords(px, count, kMaxSavedModels, kMinModelBytes, "models");
    std::vector<ModelFormat> models;
    models.reserve(std::size_t(count));
    for (int number = 0; number < count; ++number) {
        CglModel* existing = control.FindModel(number);
        ModelFormat format = existing ? existing->format() : ModelFormat{};
        BoundingRecord rect = format.rect;
        ExchangeModelRecord(px, format, rect);
        format.rect = rect;
        models.push_back(std::move(format));
    }
    r.models = std::move(models);
}

// The exchange of the whole state. stream: a byte stream, else a bag.
void exchangeState(PropExchange& px, CGLCOleControl& control, StateRecord& r, bool stream)
{
    setFullFpuPrecision();
    std::uint32_t v = px.Version(kStateVersion);
    if (px.loading())
        v = CheckedVersion(px, v);
    host::CDravikOleControl::ExchangeFramework(px, r.framework);
    if (px.loading() && v < version(7, 12)) {
        loadOldState(px, v, control, r);
        return;
    }
    exchangeValues(px, v, r.values);
    // A bag holds one value per name: the list stays with the stream.
    if (!stream)
        return;
    exchangeAnnotations(px, r.annotations);
    exchangeExtras(static_cast<ArchiveExchange&>(px), control, r);
}

StateRecord capture(CGLCOleControl& control)
{
    StateRecord r;
    r.framework = control.CaptureFramework();
    const ControlState& s = control.state();
    ControlValues& c = r.values;
    c.tilt = s.tilt;
    c.rotation = s.rotation;
    c.twist = s.twist;
    c.zPosition = s.zPosition;
    c.depthScale = s.depthScale;
    c.showBorder = s.showBorder;
    c.lighting = s.lighting;
    c.fog = s.fog;
    c.fogColor = packRgba(s.fogColor);
    c.ambient = packRgb(s.ambient, 0xFF);
    c.constrainedView = s.constrainedView;
    c.title = s.graphTitle;
    c.titlePosition = static_cast<std::int16_t>(s.graphTitlePosition);
    c.perspective = s.perspective;
    c.verticalScale = s.verticalScale;
    c.viewingDistance = s.viewingDistance;
    c.borderColor = s.borderColor;
    r.annotations = control.annotations();

    r.box = CaptureBox(control.box());
    r.lights.emplace();
    for (int slot = 0; slot < kSavedLights; ++slot)
        if (const CglLight* light = control.LightAt(slot))
            (*r.lights)[std::size_t(slot)] = CaptureLight(*light);
    // Models 0 to NextModelNumber − 1, and on to the last of the table: a
    // table of placeholders (after a load, or RemoveSurfaces) keeps every
    // format. A missing number is saved as a new placeholder. Bar and patch
    // plots save their bar box as `Rect`.
    std::vector<ModelFormat>& models = r.models.emplace();
    int count = control.NextModelNumber();
    if (!control.models().empty())
        count = std::max(count, std::min(control.models().rbegin()->first, kMaxSavedModels - 1) + 1);
    models.reserve(std::size_t(count));
    for (int number = 0; number < count; ++number) {
        CglModel* model = control.FindModel(number);
        ModelFormat format = model ? model->format() : ModelFormat{};
        if (model)
            format.rect = model->DataRecord();
        models.push_back(std::move(format));
    }
    return r;
}

void apply(CGLCOleControl& control, StateRecord& r)
{
    const auto& extent = r.framework.extent;
    control.SetExtent(extent[0], extent[1]);
    // Without a window the extent gives the control its size; a window
    // keeps the size it has.
    int w = host::PixelsOfExtent(extent[0]), h = host::PixelsOfExtent(extent[1]);
    if (!control.site() && w >= 1 && h >= 1 && w <= 65535 && h <= 65535)
        control.SetControlSize(w, h);

    ControlState& s = control.mutableState();
    const ControlValues& c = r.values;
    if (c.tilt)
        s.tilt = *c.tilt;
    if (c.rotation)
        s.rotation = *c.rotation;
    if (c.twist)
        s.twist = *c.twist;
    if (c.zPosition)
        control.SetZPosition(*c.zPosition);
    // The depth scale is 1 / Radius, which is never zero or negative.
    if (c.depthScale && *c.depthScale > 0.0)
        control.SetDepthScale(*c.depthScale);
    if (c.showBorder)
        s.showBorder = *c.showBorder;
    if (c.lighting)
        s.lighting = *c.lighting;
    if (c.fog)
        s.fog = *c.fog;
    if (c.fogColor)
        s.fogColor = unpackRgba(*c.fogColor);
    if (c.ambient)
        s.ambient = unpackRgbOpaque(*c.ambient);
    if (c.constrainedView)
        s.constrainedView = *c.constrainedView;
    if (c.showBackplanes)
        s.showBackplanes = *c.showBackplanes;
    if (c.title)
        s.graphTitle = *c.title;
    if (c.titlePosition)
        s.graphTitlePosition = *c.titlePosition;
    if (c.perspective)
        s.perspective = *c.perspective;
    if (c.verticalScale)
        s.verticalScale = *c.verticalScale;
    if (c.borderColor)
        s.borderColor = *c.borderColor;
    if (c.viewingDistance && *c.viewingDistance != s.viewingDistance) {
        s.viewingDistance = *c.viewingDistance;
        if (RenderLink* renderer = control.renderer())
            renderer->SetViewport(s.width, s.height);
    }
    if (r.annotations)
        control.ReplaceAnnotations(std::move(*r.annotations));
    if (r.box)
        RestoreBox(control.box(), *r.box);
    if (r.lights) {
        for (int slot = 0; slot < kSavedLights; ++slot) {
            const auto& entry = (*r.lights)[std::size_t(slot)];
            if (!entry) {
                // A light that was not there when the state was saved is
                // not there after loading it either.
                if (control.LightAt(slot))
                    control.DestroyLight(slot);
                continue;
            }
            if (!control.LightAt(slot))
                control.CreateLight(slot);
            const LightRecord& l = *entry;
            control.LightAt(slot)->Restore(l.specular, l.diffuse, {l.posY, l.posZ, l.posX, l.positionScale}, l.id,
                                           l.enabled != 0);
        }
    }
    auto placeholder = [&](int number) {
        CglModel* model = new CglModel(control.Link());
        control.PutModel(number, platform::Ref<CglModel>(model));
        return model;
    };
    if (r.models) {
        for (std::size_t number = 0; number < r.models->size(); ++number) {
            CglModel* model = control.FindModel(int(number));
            if (!model)
                model = placeholder(int(number));
            model->TakeFormat((*r.models)[number]);
            model->Invalidate();
        }
    }
    for (auto& [number, format] : r.oldModels) {
        CglModel* model = placeholder(number);
        model->TakeFormat(format);
    }
    control.RecomputeViewFlags();
    control.RequestRedraw();
    control.SetModifiedFlag(false);
}

} // namespace

std::vector<std::uint8_t> SaveControlState(CGLCOleControl& control)
{
    StateRecord r = capture(control);
    platform::ArchiveWriter out;
    ArchiveExchange px(out);
    exchangeState(px, control, r, true);
    return out.take();
}

void LoadControlState(CGLCOleControl& control, std::span<const std::uint8_t> stream)
{
    platform::ArchiveReader in(stream);
    ArchiveExchange px(in);
    StateRecord r;
    r.framework = control.CaptureFramework();
    exchangeState(px, control, r, true);
    apply(control, r);
}

void SaveControlProperties(CGLCOleControl& control, platform::PropertyBag& bag)
{
    StateRecord r = capture(control);
    platform::BagExchange px(bag, false);
    exchangeState(px, control, r, false);
}

void LoadControlProperties(CGLCOleControl& control, const platform::PropertyBag& bag)
{
    // Reading leaves the bag as it is.
    platform::BagExchange px(const_cast<platform::PropertyBag&>(bag), true);
    StateRecord r;
    r.framework = control.CaptureFramework();
    exchangeState(px, control, r, false);
    apply(control, r);
}

} // namespace halvex
