#include "plot/core/plot_control.h"

#include "plot/core/control_persistence.h"
#include "plot/core/fpu_precision.h"
#include "plot/core/matrix_argument.h"
#include "plot/base/member_dispatch.h"
#include "plot/base/plot_errors.h"
#include "plot/core/host_evaluation.h"
#include "plot/core/plot_ids.h"
#include "plot/model/mesh_builders.h"
#include "plot/model/surface_builder.h"

#include "platform/system/user_settings.h"

#include <new>

namespace halvex {

using platform::Ref;
using platform::Variant;

COpenGLCtrl::COpenGLCtrl(host::HostFramework& host)
    : CGLCOleControl(host, kDOpenGLEventsIid), evaluation_(std::make_unique<HostEvaluation>(*this))
{
    setFullFpuPrecision();
    SetNumInputs(1);
    PutModel(0, NewPlaceholder());
}

COpenGLCtrl::~COpenGLCtrl() = default;

platform::DispId COpenGLCtrl::idOfName(std::string_view name) const
{
    return members().idOfName(name);
}

Variant COpenGLCtrl::invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args)
{
    return members().invoke(*this, id, kind, args);
}

const platform::MemberTable& COpenGLCtrl::memberNames()
{
    return members().names();
}

void COpenGLCtrl::LoadState(std::span<const std::uint8_t> stream)
{
    LoadControlState(*this, stream);
}

std::vector<std::uint8_t> COpenGLCtrl::SaveState()
{
    std::vector<std::uint8_t> state = SaveControlState(*this);
    SetModifiedFlag(false);
    return state;
}

void COpenGLCtrl::LoadProperties(const platform::PropertyBag& bag)
{
    LoadControlProperties(*this, bag);
}

void COpenGLCtrl::SaveProperties(platform::PropertyBag& bag)
{
    SaveControlProperties(*this, bag);
    SetModifiedFlag(false);
}

// The next number for a new plot; the first plot after construction or
// after RemoveSurfaces goes to 0 and takes over the format kept there.
int COpenGLCtrl::ChooseModelNumber() const
{
    int n = NextModelNumber();
    if (n == 1) {
        CglModel* first = FindModel(0);
        if (!first || !IsDataModel(*first))
            n = 0;
    }
    return n;
}

bool COpenGLCtrl::AddSurface(const Variant& surface)
{
    setFullFpuPrecision();
    try {
        MatrixArgument m = ReadMatrixArgument(surface);
        SurfaceBuildOptions options;
        options.plotKind = kSurfacePlot;
        if (!BuildSurface(*this, m.data(), m.rows(), m.cols(), ChooseModelNumber(), options))
            raiseError(err::CantCreateSurface);
    } catch (...) {
        rethrowAsAutomationError();
    }
    RecomputeViewFlags();
    RefreshScene();
    return false;
}

void COpenGLCtrl::BuildNestedSurface(const host::HostValue& value, int number)
{
    BuildNestedValue(value, number, hostFramework().values());
}

bool COpenGLCtrl::BuildNestedValue(const host::HostValue& value, int number, const host::HostValueTable& values)
{
    if (value.type != host::HostValueType::Matrix)
        return false;
    const auto& m = static_cast<const host::HostMatrix&>(value);
    if (!host::WellFormed(m))
        raiseError(err::FailedToCreateSurface);
    bool isList = m.cols == 1 && m.rows >= 1 && m.real && host::nestedReference(m.real[0]);
    if (!isList)
        return BuildSurface(*this, m.real, m.rows, m.cols, number);
    if (m.rows == 3) {
        // Three matrices of one size: the coordinates of a parametric surface.
        const host::HostMatrix* xyz[3];
        for (int k = 0; k < 3; ++k) {
            auto ref = host::nestedReference(m.real[k]);
            xyz[k] = ref ? values.findMatrix(*ref) : nullptr;
            if (!xyz[k] || !xyz[k]->real || xyz[k]->rows != xyz[0]->rows || xyz[k]->cols != xyz[0]->cols)
                raiseError(err::FailedToCreateSurface);
        }
        const std::size_t length = std::size_t(xyz[0]->rows) * std::size_t(xyz[0]->cols);
        return BuildMesh(*this, {xyz[0]->real, length}, {xyz[1]->real, length}, {xyz[2]->real, length},
                         xyz[0]->rows, xyz[0]->cols, number);
    }
    CglModel* existing = FindModel(number);
    int kind = existing ? existing->ViewAs() : kSurfacePlot;
    if (kind != kVectorFieldPlot)
        raiseError(kind == kContourPlot ? err::TooManyArguments : err::TooFewArguments);
    // A vector field carries its parts in the list: the real parts first,
    // then the imaginary parts (or those of the first matrix).
    auto part = [&](int k) {
        auto ref = host::nestedReference(m.real[k]);
        return ref ? values.findMatrix(*ref) : nullptr;
    };
    const host::HostMatrix* re = part(0);
    const host::HostMatrix* im = m.rows >= 2 ? part(1) : re;
    if (!re || !re->real || !im)
        raiseError(err::FailedToCreateSurface);
    if (im != re && (im->rows != re->rows || im->cols != re->cols))
        raiseError(err::ArraySizeMismatch);
    const double* imaginary = im != re ? im->real : re->imaginary;
    return BuildVectorField(*this, re->real, imaginary, re->rows, re->cols, number);
}

bool COpenGLCtrl::BuildHostList(const Variant& list, void (COpenGLCtrl::*build)(const host::HostValue&, int))
{
    setFullFpuPrecision();
    const host::HostValueTable& values = hostFramework().values();
    try {
        MatrixArgument elements = ReadMatrixArgument(list);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            // Only references the host's table knows lead anywhere; any other
            // number, NaN patterns included, is skipped.
            auto ref = host::nestedReference(elements.data()[i]);
            if (const host::HostValue* v = ref ? values.find(*ref) : nullptr)
                (this->*build)(*v, static_cast<int>(i));
        }
    } catch (...) {
        // What was built before the failure stays and is shown.
        RecomputeViewFlags();
        RequestRedraw();
        rethrowAsAutomationError();
    }
    RecomputeViewFlags();
    RequestRedraw();
    return true;
}

void COpenGLCtrl::BuildNestedVolume(const host::HostValue& value, int number)
{
    BuildVolume(*this, hostFramework().values(), value, number);
}

bool COpenGLCtrl::AddSurfaces(const Variant& surfaces)
{
    return BuildHostList(surfaces, &COpenGLCtrl::BuildNestedSurface);
}

bool COpenGLCtrl::AddVolumes(const Variant& volumes)
{
    return BuildHostList(volumes, &COpenGLCtrl::BuildNestedVolume);
}

bool COpenGLCtrl::AddMesh(const Variant& x, const Variant& y, const Variant& z, bool scatter)
{
    setFullFpuPrecision();
    try {
        MatrixArgument mx = ReadMatrixArgument(x);
        MatrixArgument my = ReadMatrixArgument(y);
        MatrixArgument mz = ReadMatrixArgument(z);
        if (!mx.sameShape(my) || !mx.sameShape(mz))
            raiseError(err::ArraySizeMismatch);
        int n = ChooseModelNumber();
        if (!BuildMesh(*this, {mx.data(), mx.size()}, {my.data(), my.size()}, {mz.data(), mz.size()}, mx.rows(),
                       mx.cols(), n))
            raiseError(err::UnknownError);
        if (scatter)
            if (CglModel* built = FindModel(n))
                built->SetPlotKind(kDataPointsPlot);
    } catch (...) {
        rethrowAsAutomationError();
    }
    RecomputeViewFlags();
    RefreshScene();
    return true;
}

bool COpenGLCtrl::AddParametricSurface(const Variant& x, const Variant& y, const Variant& z)
{
    return AddMesh(x, y, z, false);
}

bool COpenGLCtrl::AddScatterPlot(const Variant& x, const Variant& y, const Variant& z)
{
    return AddMesh(x, y, z, true);
}

bool COpenGLCtrl::AddVectorFieldPlot(const Variant& re, const Variant& im)
{
    setFullFpuPrecision();
    try {
        MatrixArgument mre = ReadMatrixArgument(re);
        MatrixArgument mim = ReadMatrixArgument(im);
        if (!mre.sameShape(mim))
            raiseError(err::ArraySizeMismatch);
        if (!FindModel(0))
            PutModel(0, NewPlaceholder());
        FindModel(0)->SetPlotKind(kVectorFieldPlot);
        if (!BuildVectorField(*this, mre.data(), mim.data(), mre.rows(), mre.cols(), 0))
            raiseError(err::UnknownError);
    } catch (...) {
        rethrowAsAutomationError();
    }
    RecomputeViewFlags();
    RefreshScene();
    return true;
}

Ref<platform::Dispatch> COpenGLCtrl::Model(int n)
{
    CglModel* model = FindModel(n);
    if (!model)
        raiseError(err::ModelDoesntExist, n);
    model->setOwner(Link());
    return Ref<platform::Dispatch>(model);
}

Ref<platform::Dispatch> COpenGLCtrl::CreateModel(int n)
{
    if (FindModel(n))
        raiseError(err::ModelAlreadyExists, n);
    try {
        PutModel(n, NewPlaceholder());
    } catch (const std::bad_alloc&) {
        raiseError(err::FailedToCreateModel, n);
    }
    RecomputeViewFlags();
    return Model(n);
}

Ref<platform::Dispatch> COpenGLCtrl::Light(int n)
{
    CglLight* light = LightAt(n);
    if (!light)
        return {};
    light->setOwner(Link());
    return Ref<platform::Dispatch>(light);
}

bool COpenGLCtrl::SetDefaultHighQualityPrinting(bool highQuality)
{
    return platform::UserSettings("Corvane", "3-D Plot").writeInt("HighResolutionPrinting", highQuality ? 1 : 0);
}

} // namespace halvex
