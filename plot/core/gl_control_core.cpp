#include "plot/core/gl_control_core.h"

#include "plot/core/gl_renderer.h"
#include "plot/base/plot_errors.h"
#include "plot/core/view_rotation.h"
#include "plot/host/ambient_font.h"
#include "plot/model/mesh_model.h"
#include "plot/model/model_box.h"

#include "platform/system/user_settings.h"

namespace halvex {

CGLCOleControl::CGLCOleControl(host::HostFramework& host, const platform::Guid& eventsIid)
    : CDravikOleControl(host, eventsIid), link_(new OwnerLink(this))
{
    platform::UserSettings settings("Corvane", "3-D Plot");
    if (settings.readInt("ForceSoftwareRendering", 0) != 0)
        state_.hardwareRendering = false;
    if (settings.readInt("HighResolutionPrinting", 0) != 0)
        state_.highQualityPrinting = true;
    for (int slot = 0; slot < 3; ++slot)
        lights_[slot] = CglLight::makeDefault(slot, link_);
    renderer_ = std::make_unique<GlRenderer>(*this);
    glRenderer_ = static_cast<GlRenderer*>(renderer_.get());
    box_ = new CglModelBox(link_);
    modelBox_ = platform::Ref<ModelBoxLink>(box_);
}

void CGLCOleControl::SetViewAngles(const ViewAngles& angles) noexcept
{
    state_.tilt = angles.tilt;
    state_.rotation = angles.rotation;
    state_.twist = angles.twist;
}

BoxView CGLCOleControl::ViewOfBox() const
{
    BoxView v;
    v.flatPlot = flatPlot_;
    v.allBars = allBars_;
    v.allSurfaces = allSurfaces_;
    v.constrainedView = state_.constrainedView;
    v.showBorder = state_.showBorder;
    v.verticalScale = state_.verticalScale;
    v.borderColor = state_.borderColor;
    return v;
}

AxisLabelStyle CGLCOleControl::LabelStyle() const
{
    AxisLabelStyle style;
    std::string face;
    int points = 0;
    if (host::ReadAmbientFont(AmbientProperty(host::ambient::AxisLabelFont), face, points) ||
        host::ReadAmbientFont(AmbientProperty(host::ambient::Font), face, points)) {
        style.face = face;
        style.points = float(std::max(1, points));
    }
    for (platform::DispId id : {host::ambient::TextColor, host::ambient::ForeColor}) {
        platform::Variant c = AmbientProperty(id);
        if (c.isEmptyOrNull())
            continue;
        try {
            style.color = static_cast<std::uint32_t>(c.toInt32()) & 0xFFFFFFu;
            break;
        } catch (...) {
        }
    }
    return style;
}

GlRenderer* CGLCOleControl::glRenderer() const noexcept
{
    return renderer_.get() == glRenderer_ ? glRenderer_ : nullptr;
}

CGLCOleControl::~CGLCOleControl()
{
    gestures_.SetSite(nullptr);
    // Models and lights a container still holds stay usable, without us.
    link_->clear();
}

void CGLCOleControl::RefreshScene()
{
    if (renderer_)
        renderer_->DiscardSceneLists();
    if (modelBox_) {
        modelBox_->DiscardLists();
        modelBox_->MarkAxesStale();
    }
    rebuild_ = true;
    InvalidateControl(true);
}

void CGLCOleControl::OnFormat()
{
    host::ControlSite* site = this->site();
    if (!site)
        return;
    const bool wasModified = IsModified();
    SetModifiedFlag(false);
    site->showFormatDialog();
    if (!IsModified())
        SetModifiedFlag(wasModified);
    else
        RefreshScene();
}

void CGLCOleControl::DrawProblem(std::string_view message)
{
    drawMessages_.emplace_back(message);
    FireHostEvent(host::HostEvent::Message, message);
}

void CGLCOleControl::RequestRedraw()
{
    SetModifiedFlag(true);
    RefreshScene();
}

bool CGLCOleControl::IsDataModel(CglModel& model)
{
    return model.PlotFlag() || model.AsMesh() || model.AsQuickPlot();
}

int CGLCOleControl::NextModelNumber() const
{
    if (models_.empty())
        return 0;
    int n = 0;
    for (const auto& [number, model] : models_)
        if (model && IsDataModel(*model))
            ++n;
    return n < 1 ? 1 : n;
}

void CGLCOleControl::RecomputeViewFlags()
{
    bool anyMesh = false, flat = true, bars = !models_.empty(), surfaces = !models_.empty();
    for (const auto& [number, model] : models_) {
        MeshModel* mesh = model ? model->AsMesh() : nullptr;
        if (mesh) {
            anyMesh = true;
            int kind = mesh->ViewAs();
            flat &= kind == kContourPlot || kind == kVectorFieldPlot;
        }
        int layout = model ? model->format().barPlotLayout : 0;
        bars &= mesh && mesh->ViewAs() == kBarPlot && (layout == 1 || layout == 2);
        surfaces &= model && model->AsSurface();
    }
    flatPlot_ = anyMesh && flat;
    allBars_ = bars;
    allSurfaces_ = surfaces;
}

void CGLCOleControl::PlotKindChanged(int oldKind, int newKind)
{
    if ((oldKind == kVectorFieldPlot || newKind == kVectorFieldPlot) && InZorvicContainer())
        plotKindNotice_ = true;
}

CglModel* CGLCOleControl::FindModel(int number) const
{
    auto it = models_.find(number);
    return it != models_.end() ? it->second.get() : nullptr;
}

void CGLCOleControl::PutModel(int number, platform::Ref<CglModel> model)
{
    models_[number] = std::move(model);
}

platform::Ref<CglModel> CGLCOleControl::NewPlaceholder() const
{
    return platform::Ref<CglModel>(new CglModel(link_));
}

void CGLCOleControl::RemoveSurfaces(bool redraw)
{
    for (auto& [number, model] : models_) {
        platform::Ref<CglModel> placeholder = NewPlaceholder();
        if (model) {
            placeholder->TakeFormat(model->format());
            // A placeholder holds no plot, whatever its predecessor held.
            placeholder->SetPlotFlag(false);
        }
        model = std::move(placeholder);
    }
    dataBox_ = BoundingRecord::empty();
    // The flags describe the table, which now holds placeholders only.
    RecomputeViewFlags();
    if (redraw)
        RequestRedraw();
}

CglLight* CGLCOleControl::LightAt(int slot) const noexcept
{
    return slot >= 0 && slot < kLightSlots ? lights_[std::size_t(slot)].get() : nullptr;
}

void CGLCOleControl::CreateLight(int slot)
{
    if (slot < 0 || slot >= kLightSlots)
        raiseError(err::UnknownError);
    auto& light = lights_[std::size_t(slot)];
    if (!light)
        light = platform::Ref<CglLight>(new CglLight(kFirstLightName + slot, true, link_));
    RequestRedraw();
}

void CGLCOleControl::DestroyLight(int slot)
{
    if (slot < 0 || slot >= kLightSlots)
        raiseError(err::UnknownError);
    auto& light = lights_[std::size_t(slot)];
    if (light) {
        light->SwitchOff();
        if (renderer_)
            renderer_->DisableLight(light->lightNumber());
        light = nullptr;
    }
    RequestRedraw();
}

double CGLCOleControl::Aspect() const noexcept
{
    if (state_.width == 0 || state_.height == 0)
        return 1.0;
    return double(state_.width) / double(state_.height);
}

namespace {
std::uint64_t nextAnnotationSerial()
{
    static std::uint64_t serial = 0;
    return ++serial;
}
} // namespace

void CGLCOleControl::AddAnnotation(Annotation annotation)
{
    annotation.serial = nextAnnotationSerial();
    annotations_.push_back(std::move(annotation));
    InvalidateControl(true);
    SetModifiedFlag(true);
}

void CGLCOleControl::MoveAnnotation(std::size_t index, const AnnotationRect& rect)
{
    if (index >= annotations_.size() || annotations_[index].rect == rect)
        return;
    annotations_[index].rect = rect;
    InvalidateControl(true);
    SetModifiedFlag(true);
}

void CGLCOleControl::ReplaceAnnotations(std::vector<Annotation> list)
{
    for (Annotation& a : list)
        a.serial = nextAnnotationSerial();
    annotations_ = std::move(list);
    InvalidateControl(true);
}

void CGLCOleControl::SetControlSize(int width, int height)
{
    // The extent follows the size, unless it already gives this size (a
    // loaded extent keeps its own precision).
    if (host::PixelsOfExtent(Extent()[0]) != width || host::PixelsOfExtent(Extent()[1]) != height)
        SetExtent(host::ExtentOfPixels(width), host::ExtentOfPixels(height));
    if (width == state_.width && height == state_.height)
        return;
    state_.width = width;
    state_.height = height;
    if (renderer_ && width >= 1 && height >= 1)
        renderer_->SetViewport(width, height);
    RefreshScene();
}

} // namespace halvex
