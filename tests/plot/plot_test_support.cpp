#include "tests/plot/plot_test_support.h"

#include "platform/automation/class_registry.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_registration.h"

#include <cstdlib>
#include <cstring>

namespace plottest {

PlotTest::PlotTest()
{
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    halvex::registerPlotControl();
    ctl = newControl();
}

PlotTest::~PlotTest()
{
    if (auto* c = dynamic_cast<halvex::COpenGLCtrl*>(ctl.get()))
        c->setSite(nullptr);
    ctl = nullptr;
    ::unsetenv("XDG_CONFIG_HOME");
}

Ref<Dispatch> PlotTest::newControl()
{
    Ref<Dispatch> c = platform::ClassRegistry::instance().create("Corvane.Plot3D.1");
    if (auto* control = dynamic_cast<halvex::COpenGLCtrl*>(c.get()))
        control->setSite(&site);
    return c;
}

Variant get(Dispatch& o, const char* name)
{
    return o.get(std::string_view(name));
}

void put(Dispatch& o, const char* name, Variant v)
{
    o.put(std::string_view(name), std::move(v));
}

Variant call(Dispatch& o, platform::DispId id, std::vector<Variant> args)
{
    return o.invoke(id, platform::InvokeKind::Method, args);
}

Variant call(Dispatch& o, const char* name, std::vector<Variant> args)
{
    return o.invoke(std::string_view(name), platform::InvokeKind::Method, args);
}

Ref<Dispatch> dispatchOf(const Variant& v)
{
    return Ref<Dispatch>(v.dispatch());
}

platform::DispatchException errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const platform::DispatchException& e) {
        return e;
    }
    ADD_FAILURE() << "no automation error was raised";
    return platform::DispatchException(0, 0, "", "");
}

void expectError(const std::function<void()>& f, std::uint16_t code, const std::string& text, std::int32_t scode,
                 std::int64_t helpContext)
{
    platform::DispatchException e = errorOf(f);
    EXPECT_EQ(e.code(), code);
    EXPECT_EQ(e.description(), text);
    EXPECT_EQ(e.helpContext(), helpContext < 0 ? code : helpContext);
    EXPECT_EQ(e.scode(), scode);
}

void expectSetNotSupported(const std::function<void()>& f)
{
    expectError(f, 383, "Set not supported (read-only property).", std::int32_t(0x800A017Fu), 0);
}

void expectControlError(const std::function<void()>& f, std::uint16_t code, const std::string& text)
{
    expectError(f, code, text, platform::status::fromErrorNumber(code));
}

namespace {

Ref<platform::SafeArray> makeArray(platform::VarType type, std::initializer_list<platform::SafeArray::Bound> bounds)
{
    std::vector<platform::SafeArray::Bound> b(bounds);
    auto a = Ref<platform::SafeArray>::adopt(platform::SafeArray::create(type, b));
    if (!a)
        throw std::runtime_error("array not created");
    return a;
}

} // namespace

Variant doubles2D(std::int32_t lower1, std::uint32_t n1, std::int32_t lower2, std::uint32_t n2,
                  const std::vector<double>& values)
{
    auto a = makeArray(platform::varDouble, {{lower1, n1}, {lower2, n2}});
    std::memcpy(a->data(), values.data(), values.size() * sizeof(double));
    return Variant(a);
}

Variant doubles1D(const std::vector<double>& values)
{
    auto a = makeArray(platform::varDouble, {{0, std::uint32_t(values.size())}});
    std::memcpy(a->data(), values.data(), values.size() * sizeof(double));
    return Variant(a);
}

Variant floats2D(std::uint32_t n1, std::uint32_t n2, const std::vector<float>& values)
{
    auto a = makeArray(platform::varSingle, {{0, n1}, {0, n2}});
    std::memcpy(a->data(), values.data(), values.size() * sizeof(float));
    return Variant(a);
}

Variant variants2D(std::uint32_t n1, std::uint32_t n2, const std::vector<Variant>& values)
{
    auto a = makeArray(platform::varVariant, {{0, n1}, {0, n2}});
    for (std::size_t k = 0; k < values.size(); ++k)
        a->variants()[k] = values[k];
    return Variant(a);
}

Variant arrayOf(platform::VarType type, std::initializer_list<platform::SafeArray::Bound> bounds)
{
    return Variant(makeArray(type, bounds));
}

} // namespace plottest
