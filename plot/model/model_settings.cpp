#include "plot/model/model_settings.h"

#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"
#include "plot/base/plot_errors.h"
#include "plot/model/plot_model.h"

namespace halvex {

using platform::Dispatch;
using platform::Variant;

namespace {

class CModelPropSink final : public Dispatch {
public:
    platform::DispId idOfName(std::string_view name) const override { return members().idOfName(name); }
    Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args) override
    {
        return members().invoke(*this, id, kind, args);
    }
    std::string className() const override { return "ModelPropSink"; }

    CglModel* model = nullptr;

private:
    static const MemberDispatch& members();
};

// Held by the model; the sink is told where the model's format went.
class SinkLink final : public ModelSettingsLink {
public:
    explicit SinkLink(platform::Ref<CModelPropSink> sink) : sink_(std::move(sink)) {}
    ~SinkLink() override { sink_->model = nullptr; }
    void retarget(CglModel* model) override { sink_->model = model; }
    CModelPropSink& sink() const noexcept { return *sink_; }

private:
    platform::Ref<CModelPropSink> sink_;
};

const MemberDispatch& CModelPropSink::members()
{
    struct A {
        static CglModel& model(Dispatch& d)
        {
            CglModel* m = static_cast<CModelPropSink&>(d).model;
            if (!m)
                raiseError(err::UnknownError);
            return *m;
        }
        // A model without ranges reads the first values of new ones.
        static QuickPlotParams params(Dispatch& d)
        {
            const auto& p = model(d).format().quickPlotParams;
            return p ? *p : QuickPlotParams{};
        }
        // data: 0 U0, 1 U1, 2 V0, 3 V1.
        static double& range(QuickPlotParams& p, std::uint32_t which)
        {
            double* r[] = {&p.U0, &p.U1, &p.V0, &p.V1};
            return *r[which];
        }
        // data: 0 M, 1 N, 2 the coordinate system.
        static std::int16_t& count(QuickPlotParams& p, std::uint32_t which)
        {
            std::int16_t* c[] = {&p.M, &p.N, &p.c};
            return *c[which];
        }
        static void store(Dispatch& d, const QuickPlotParams& p)
        {
            CglModel& m = model(d);
            const auto& old = m.format().quickPlotParams;
            if (old && *old == p)
                return;
            ModelFormat f = m.format();
            f.quickPlotParams = p;
            m.TakeFormat(f);
            m.ModelChanged();
        }
        static Variant getRange(Dispatch& d, const Member& m)
        {
            QuickPlotParams p = params(d);
            return Variant(range(p, m.data));
        }
        static void putRange(Dispatch& d, const Member& m, const Variant& v)
        {
            QuickPlotParams p = params(d);
            range(p, m.data) = argR8(v);
            store(d, p);
        }
        static Variant getCount(Dispatch& d, const Member& m)
        {
            QuickPlotParams p = params(d);
            return Variant::fromInt16(count(p, m.data));
        }
        static void putCount(Dispatch& d, const Member& m, const Variant& v)
        {
            QuickPlotParams p = params(d);
            count(p, m.data) = argI2(v);
            store(d, p);
        }
        static Variant getQuickPlot(Dispatch& d, const Member&) { return Variant(model(d).IsQuickplot()); }
    };
    static const MemberDispatch table{
        {"Range1Start", 1, A::getRange, A::putRange, nullptr, 0, platform::varDouble, 0},
        {"Range1End", 2, A::getRange, A::putRange, nullptr, 0, platform::varDouble, 1},
        {"Range1Grids", 3, A::getCount, A::putCount, nullptr, 0, platform::varSmallint, 0},
        {"Range2Start", 4, A::getRange, A::putRange, nullptr, 0, platform::varDouble, 2},
        {"Range2End", 5, A::getRange, A::putRange, nullptr, 0, platform::varDouble, 3},
        {"Range2Grids", 6, A::getCount, A::putCount, nullptr, 0, platform::varSmallint, 1},
        {"CoordinateSystem", 7, A::getCount, A::putCount, nullptr, 0, platform::varSmallint, 2},
        {"IsQuickplot", 8, A::getQuickPlot, nullptr, nullptr, 0, platform::varBoolean, 0},
    };
    return table;
}

} // namespace

platform::Ref<Dispatch> ModelSettings(CglModel& model)
{
    if (auto* link = dynamic_cast<SinkLink*>(model.dialogLink()))
        return platform::Ref<Dispatch>(&link->sink());
    platform::Ref<CModelPropSink> sink(new CModelPropSink);
    sink->model = &model;
    model.setDialogLink(platform::Ref<ModelSettingsLink>(new SinkLink(sink)));
    return platform::Ref<Dispatch>(sink.get());
}

} // namespace halvex
