// The host programs' roads into the control that are not automation calls:
// the framework's data ports and execution step, and the notice after the
// host's property pages.
#include "plot/core/host_evaluation.h"
#include "plot/core/host_failure_text.h"
#include "plot/core/plot_control.h"
#include "plot/core/fpu_precision.h"
#include "plot/core/se_exception.h"
#include "plot/model/mesh_builders.h"
#include "plot/model/mesh_model.h"
#include "plot/model/surface_builder.h"

#include <vector>

namespace halvex {

namespace {

// The parts of a port value, locked while they are read; every lock is
// paired with its unlock, on every path.
class LockedParts {
public:
    explicit LockedParts(host::DataValue& value) : value_(value) {}
    ~LockedParts()
    {
        if (real_)
            value_.Unlock();
        if (imaginary_)
            value_.UnlockImaginary();
    }
    LockedParts(const LockedParts&) = delete;
    LockedParts& operator=(const LockedParts&) = delete;

    const double* Real()
    {
        real_ = true;
        return value_.Lock();
    }
    const double* Imaginary()
    {
        imaginary_ = true;
        return value_.LockImaginary();
    }

private:
    host::DataValue& value_;
    bool real_ = false;
    bool imaginary_ = false;
};

class HostInterrupt final : public InterruptSource {
public:
    explicit HostInterrupt(host::HostFramework& host) : host_(host) {}
    bool InterruptPending() override { return host_.InterruptPending(); }

private:
    host::HostFramework& host_;
};

void Give(host::DataPorts& outputs, int port, host::DataValue* value)
{
    if (!value)
        return;
    if (port >= 0 && port < outputs.GetSize() && outputs.IsConnected(port))
        outputs.Send(port, value);
    else
        value->Destroy();
}

// The value goes on to the first connected output, or back to the host.
void PassOn(host::DataPorts& outputs, host::DataValue* value)
{
    if (!value)
        return;
    for (int port = 0; port < 3 && port < outputs.GetSize(); ++port)
        if (outputs.IsConnected(port)) {
            outputs.Send(port, value);
            return;
        }
    value->Destroy();
}

bool SameShape(const host::DataValue& a, const host::DataValue& b)
{
    return a.Rows() == b.Rows() && a.Columns() == b.Columns();
}

} // namespace

HostEvaluation* COpenGLCtrl::QueryHostInterface(const platform::Guid& iid)
{
    return evaluation_->QueryInterface(iid);
}

void COpenGLCtrl::OnExecStateChange(std::int32_t state)
{
    if (state != 0)
        return;
    setFullFpuPrecision();
    RemoveSurfaces(false);
    if (CglModel* first = FindModel(0)) {
        const int inputs = this->inputs().GetSize();
        if (inputs == 2)
            first->SetPlotKind(kVectorFieldPlot);
        else if (inputs == 1 && first->ViewAs() == kVectorFieldPlot)
            first->SetPlotKind(kSurfacePlot);
    }
}

bool COpenGLCtrl::OnExecStepEnabled()
{
    host::DataPorts& in = inputs();
    for (int port = 0; port < in.GetSize(); ++port)
        if (!in.IsConnected(port) || !in.IsReady(port))
            return false;
    return true;
}

bool COpenGLCtrl::OnExecStep()
{
    DataBox() = BoundingRecord::empty();
    std::string message;
    bool failed = false;
    bool result = false;
    FloatingPointStep fpu;
    try {
        std::vector<int> ports;
        for (int port = 0; port < inputs().GetSize() && ports.size() < 3; ++port)
            if (inputs().IsConnected(port))
                ports.push_back(port);
        bool plotted = false;
        switch (ports.size()) {
        case 1:
            plotted = OnePortStep(ports[0]);
            break;
        case 2:
            plotted = TwoPortStep(ports[0], ports[1]);
            break;
        case 3:
            plotted = ThreePortStep();
            break;
        default:
            break;
        }
        // What the host's control word would have trapped, now that it
        // cannot kill the process.
        fpu.ThrowRaised();
        result = plotted;
    } catch (...) {
        // A trap the host's control word would have sprung comes first:
        // whatever failed after it failed on its result.
        const std::uint32_t raised = fpu.RaisedCode();
        message = raised ? std::string(StructuredExceptionName(raised)) : HostFailureText();
        failed = true;
    }
    fpu.Restore();
    if (failed)
        hostFramework().ShowMessage(message);
    hostFramework().StepComplete();
    RecomputeViewFlags();
    RefreshScene();
    return result;
}

bool COpenGLCtrl::OnePortStep(int port)
{
    host::DataValue* value = inputs().Recv(port);
    if (!value)
        return false;
    bool result = false;
    try {
        LockedParts parts(*value);
        if (!value->IsValid()) {
            result = false;
        } else if ((value->IsVector() || value->IsScalar()) && InZorvicContainer()) {
            // A list of nested values, one model each, while they build.
            const double* elements = parts.Real();
            const std::int64_t count = std::int64_t(value->Rows()) * std::int64_t(value->Columns());
            result = elements != nullptr;
            const host::HostValueTable& values = hostFramework().values();
            for (std::int64_t i = 0; elements && result && i < count && i <= INT32_MAX; ++i) {
                auto ref = host::nestedReference(elements[i]);
                if (const host::HostValue* v = ref ? values.find(*ref) : nullptr)
                    result = BuildNestedValue(*v, int(i), values);
            }
        } else if (value->IsMatrix()) {
            if (value->IsComplex()) {
                const double* re = parts.Real();
                const double* im = parts.Imaginary();
                if (re && im) {
                    ShowAsVectorField();
                    result = BuildVectorField(*this, re, im, value->Rows(), value->Columns(), 0);
                }
            } else if (const double* re = parts.Real()) {
                HostInterrupt interrupt(hostFramework());
                SurfaceBuildOptions options;
                options.interrupt = &interrupt;
                result = BuildSurface(*this, re, value->Rows(), value->Columns(), 0, options);
            }
        }
    } catch (...) {
        PassOn(outputs(), value);
        throw;
    }
    PassOn(outputs(), value);
    return result;
}

// A vector field built into a model of another kind would not show: model
// 0 becomes a vector field plot first, as AddVectorFieldPlot makes it.
void COpenGLCtrl::ShowAsVectorField()
{
    if (!FindModel(0))
        PutModel(0, NewPlaceholder());
    FindModel(0)->SetPlotKind(kVectorFieldPlot);
}

bool COpenGLCtrl::TwoPortStep(int first, int second)
{
    host::DataValue* a = inputs().Recv(first);
    host::DataValue* b = inputs().Recv(second);
    auto giveBack = [&] {
        const bool pair = outputs().GetSize() == 2;
        Give(outputs(), pair ? 0 : -1, a);
        Give(outputs(), pair ? 1 : -1, b);
    };
    bool result = false;
    try {
        if (a && b && a->IsValid() && b->IsValid() && SameShape(*a, *b)) {
            LockedParts pa(*a), pb(*b);
            const double* x = pa.Real();
            const double* y = pb.Real();
            if (x && y) {
                ShowAsVectorField();
                result = BuildVectorField(*this, x, y, a->Rows(), a->Columns(), 0);
            }
        }
    } catch (...) {
        giveBack();
        throw;
    }
    giveBack();
    return result;
}

bool COpenGLCtrl::ThreePortStep()
{
    host::DataValue* v[3] = {inputs().Recv(0), inputs().Recv(1), inputs().Recv(2)};
    auto giveBack = [&] {
        const bool three = outputs().GetSize() == 3;
        for (int k = 0; k < 3; ++k)
            Give(outputs(), three ? k : -1, v[k]);
    };
    bool result = false;
    try {
        bool usable = v[0] && v[1] && v[2];
        for (int k = 0; usable && k < 3; ++k)
            usable = v[k]->IsValid() && SameShape(*v[0], *v[k]);
        if (usable) {
            const bool complex = v[0]->IsComplex() && v[1]->IsComplex() && v[2]->IsComplex();
            LockedParts p0(*v[0]), p1(*v[1]), p2(*v[2]);
            LockedParts* parts[3] = {&p0, &p1, &p2};
            // The three values as host matrices, and a list of the three.
            host::HostMatrix records[3];
            host::HostValueTable table;
            double references[3];
            for (int k = 0; k < 3; ++k) {
                host::HostMatrix& r = records[k];
                r.real = parts[k]->Real();
                r.imaginary = complex ? parts[k]->Imaginary() : nullptr;
                r.rows = v[k]->Rows();
                r.cols = v[k]->Columns();
                host::SetByteSize(r);
                references[k] = host::makeNestedReference(table.add(r));
            }
            host::HostMatrix list;
            list.real = references;
            list.rows = 3;
            list.cols = 1;
            host::SetByteSize(list);
            result = BuildNestedValue(list, 0, table);
        }
    } catch (...) {
        giveBack();
        throw;
    }
    giveBack();
    return result;
}

void COpenGLCtrl::OnPropertyPagesDone()
{
    if (IsModified())
        if (host::ControlSite* s = site())
            s->boundPropertiesChanged();
    if (TakePlotKindNotice())
        hostFramework().PlotKindNotice();
    if (!InZorvicContainer())
        return;
    // Data built for a vector field under another kind, or the other way
    // round: the host sends it again.
    for (const auto& [number, model] : models()) {
        MeshModel* mesh = model ? model->AsMesh() : nullptr;
        if (mesh && mesh->HasData() && mesh->FlatKind() != (mesh->ViewAs() == kVectorFieldPlot)) {
            FireHostEvent(host::HostEvent::SendDataAgain);
            return;
        }
    }
}

} // namespace halvex
