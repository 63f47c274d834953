#include "plot/model/quick_plot_builder.h"

#include "platform/automation/dispatch_exception.h"
#include "plot/base/plot_errors.h"
#include "plot/host/critical_section.h"
#include "plot/host/host_values.h"
#include "plot/model/polyhedron_recording.h"
#include "plot/model/quick_plot_model.h"
#include "plot/model/quick_plot_replay.h"

#include <cmath>
#include <cstring>
#include <mutex>
#include <new>

namespace halvex {

namespace {

[[noreturn]] void Illegal()
{
    raiseError(err::IllegalGraphicsPrimitive);
}

// A plain number of a call (not a reference to a nested value).
double Number(double element)
{
    if (host::nestedReference(element))
        Illegal();
    return element;
}

void Declare(const double* e, std::size_t count, BoundingRecord& box)
{
    if (count < 7)
        Illegal();
    float v[6];
    for (int k = 0; k < 6; ++k) {
        v[k] = float(Number(e[1 + k]));
        if (!std::isfinite(v[k]))
            Illegal();
    }
    for (int k = 0; k < 6; k += 2)
        if (v[k] > v[k + 1])
            std::swap(v[k], v[k + 1]);
    // Data (x, y, z) is held as (y, z, x).
    BoundingRecord r;
    r.min = {v[2], v[4], v[0]};
    r.max = {v[3], v[5], v[1]};
    box.widen(r);
}

void RecordMatrixCall(const DrawOpInfo& info, const double* e, std::size_t count,
                      const host::HostValueTable& values, RecordedCalls& calls)
{
    if (count - 1 != info.arguments.size())
        Illegal();
    const host::HostMatrix* arrays[2] = {nullptr, nullptr};
    std::size_t lengths[2] = {0, 0};
    std::size_t arrayCount = 0;
    for (std::size_t k = 0; k < info.arguments.size(); ++k) {
        if (info.arguments[k] != 'a')
            continue;
        auto ref = host::nestedReference(e[1 + k]);
        const host::HostMatrix* m = ref ? values.findMatrix(*ref) : nullptr;
        if (!m)
            Illegal();
        arrays[arrayCount] = m;
        lengths[arrayCount++] = host::ElementCount(*m);
    }
    std::size_t words = CallWordCount(info, std::span<const std::size_t>(lengths, arrayCount));
    std::uint32_t* w = calls.Append(info.op, words);
    arrayCount = 0;
    for (std::size_t k = 0; k < info.arguments.size(); ++k) {
        if (info.arguments[k] == 'n') {
            PutNumber(w, Number(e[1 + k]));
            w += 2;
            continue;
        }
        const host::HostMatrix& m = *arrays[arrayCount];
        const std::size_t n = lengths[arrayCount++];
        PutNumber(w, double(n));
        if (n > 0)
            std::memcpy(w + 2, m.real, n * sizeof(double));
        w += 2 + 2 * n;
    }
    if (!CallArgumentsValid(*calls.calls().back()))
        Illegal();
}

void RecordPolyhedron(const host::HostText& text, RecordedCalls& calls)
{
    std::int32_t failure = 0;
    {
        std::lock_guard<std::recursive_mutex> hold(host::HostCriticalSection());
        failure = DrawPolyhedron(text.text, calls);
    }
    if (failure > 0)
        raiseError(std::uint16_t(failure));
    if (failure < 0)
        throw platform::DispatchException(platform::status::OutOfMemory, 0, std::string(kErrorSource),
                                          std::strerror(-failure));
}

} // namespace

void BuildQuickPlot(QuickPlotModel& model, const host::HostMesh& list, const host::HostValueTable& values)
{
    RecordedCalls calls;
    BoundingRecord box = BoundingRecord::empty();
    bool declared = false;
    try {
        for (const host::HostValue* element : list.elements) {
            if (element && element->type == host::HostValueType::Text) {
                RecordPolyhedron(static_cast<const host::HostText&>(*element), calls);
                continue;
            }
            if (!element || element->type != host::HostValueType::Matrix)
                Illegal();
            const auto& m = static_cast<const host::HostMatrix&>(*element);
            if (!host::WellFormed(m) || host::ElementCount(m) == 0)
                Illegal();
            const double* e = m.real;
            const std::size_t count = host::ElementCount(m);
            const double first = Number(e[0]);
            if (!(std::fabs(first) < 2147483648.0))
                Illegal();
            const auto op = std::int32_t(first);
            if (op == 1) {
                Declare(e, count, box);
                declared = true;
                continue;
            }
            const DrawOpInfo* info = FindDrawOp(op);
            if (!info)
                Illegal();
            RecordMatrixCall(*info, e, count, values, calls);
        }
    } catch (const std::bad_alloc&) {
        raiseError(err::NotEnoughMemory);
    }
    if (!declared)
        box = BoundingRecord{};
    model.SetCalls(std::move(calls));
    model.SetRect(box);
    model.SetBarBoxValid(false);
}

void BuildQuickPlotModel(PlotOwner& control, int number, const host::HostMesh& list,
                         const host::HostValueTable& values)
{
    platform::Ref<CglModel> old(control.FindModel(number));
    if (old && old->ViewAs() != kSurfacePlot)
        raiseError(err::MustViewAsSurface);
    platform::Ref<QuickPlotModel> model(old ? old->AsQuickPlotModel() : nullptr);
    if (model) {
        BuildQuickPlot(*model, list, values);
    } else {
        model = platform::Ref<QuickPlotModel>(new (std::nothrow) QuickPlotModel(control.Link()));
        if (!model)
            raiseError(err::NotEnoughMemory);
        if (old)
            model->TakeFormat(old->format());
        BuildQuickPlot(*model, list, values);
        control.PutModel(number, model);
        if (old)
            model->CopyFrom(*old);
    }
    model->SetQuickPlotFlag(true);
    model->Invalidate();
    control.DataBox().widen(model->DataRecord());
    control.MarkModified();
}

} // namespace halvex
