#include "plot/dialog/wizard_object.h"

#include "platform/automation/class_registry.h"
#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"
#include "plot/dialog/plot_wizard.h"

#include <QApplication>

namespace halvex {

namespace {

using platform::Dispatch;
using platform::Variant;

class CPlotWizardObject final : public Dispatch {
public:
    platform::DispId idOfName(std::string_view name) const override { return members().idOfName(name); }
    Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args) override
    {
        return members().invoke(*this, id, kind, args);
    }
    std::string className() const override { return "PlotWizard"; }

    WizardChoices choices;

private:
    static const MemberDispatch& members();
};

const MemberDispatch& CPlotWizardObject::members()
{
    struct A {
        static WizardChoices& c(Dispatch& d) { return static_cast<CPlotWizardObject&>(d).choices; }
        // data: which choice; all are small integers but the colour.
        static int& field(Dispatch& d, std::uint32_t which)
        {
            WizardChoices& w = c(d);
            int* f[] = {&w.plotType, &w.appearance, &w.symbol, &w.symbolSize, &w.coloring};
            return *f[which];
        }
        static Variant getInt(Dispatch& d, const Member& m) { return Variant::fromInt16(std::int16_t(field(d, m.data))); }
        static void putInt(Dispatch& d, const Member& m, const Variant& v) { field(d, m.data) = argI2(v); }
        static Variant getNumbered(Dispatch& d, const Member&) { return Variant(c(d).numberedContours); }
        static void putNumbered(Dispatch& d, const Member&, const Variant& v) { c(d).numberedContours = argBool(v); }
        static Variant getColor(Dispatch& d, const Member&)
        {
            return Variant::fromInt32(std::int32_t(c(d).solidColor));
        }
        static void putColor(Dispatch& d, const Member&, const Variant& v) { c(d).solidColor = argColor(v) & 0xFFFFFFu; }
        // The wizard on screen; without a user interface nothing runs.
        static Variant run(Dispatch& d, std::span<Variant>)
        {
            if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
                return Variant(false);
            PlotWizard wizard(QApplication::activeWindow());
            wizard.setChoices(c(d));
            if (wizard.exec() != QDialog::Accepted)
                return Variant(false);
            c(d) = wizard.choices();
            return Variant(true);
        }
        static Variant apply(Dispatch& d, std::span<Variant> a)
        {
            return Variant(ApplyWizardChoices(a[0].dispatch(), c(d)));
        }
    };
    static const MemberDispatch table{
        {"PlotType", 1, A::getInt, A::putInt, nullptr, 0, platform::varSmallint, 0},
        {"Appearance", 2, A::getInt, A::putInt, nullptr, 0, platform::varSmallint, 1},
        {"NumberedContours", 3, A::getNumbered, A::putNumbered},
        {"Symbol", 4, A::getInt, A::putInt, nullptr, 0, platform::varSmallint, 2},
        {"SymbolSize", 5, A::getInt, A::putInt, nullptr, 0, platform::varSmallint, 3},
        {"Coloring", 6, A::getInt, A::putInt, nullptr, 0, platform::varSmallint, 4},
        {"SolidColor", 7, A::getColor, A::putColor},
        {"Run", 8, nullptr, nullptr, A::run, 0},
        {"Apply", 9, nullptr, nullptr, A::apply, 1},
    };
    return table;
}

} // namespace

void registerPlotWizard()
{
    platform::ClassRegistry::instance().registerClass(std::string(kWizardProgId), kWizardClassId, [] {
        return platform::Ref<Dispatch>(new CPlotWizardObject);
    });
}

} // namespace halvex
