#pragma once
// Driving the plot control as a container does: created through
// the class registry, called by dispatch identifier or by name.

#include "platform/automation/dispatch.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/automation/safe_array.h"
#include "plot/host/control_site.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace plottest {

using platform::Dispatch;
using platform::Ref;
using platform::Variant;

// A container's site that counts what the control asks of it.
struct CountingSite final : halvex::host::ControlSite {
    int invalidations = 0;
    int erases = 0;
    int modifiedCalls = 0;
    bool modified = false;
    int aboutBoxes = 0;
    void invalidate(bool erase) override
    {
        ++invalidations;
        erases += erase ? 1 : 0;
    }
    void modifiedChanged(bool m) override
    {
        ++modifiedCalls;
        modified = m;
    }
    void showAboutBox() override { ++aboutBoxes; }
    void reset() { *this = CountingSite(); }
};

// Every test gets its own settings folder, so the settings file of the
// machine is neither read nor written.
class PlotTest : public ::testing::Test {
protected:
    PlotTest();
    ~PlotTest() override;

    // A new control from the registry, with the counting site attached.
    Ref<Dispatch> newControl();

    testsupport::TempDir config;
    CountingSite site;
    Ref<Dispatch> ctl;
};

Variant get(Dispatch& o, const char* name);
void put(Dispatch& o, const char* name, Variant v);
Variant call(Dispatch& o, platform::DispId id, std::vector<Variant> args = {});
Variant call(Dispatch& o, const char* name, std::vector<Variant> args = {});
Ref<Dispatch> dispatchOf(const Variant& v);

// The error a call raises, or a failed expectation.
platform::DispatchException errorOf(const std::function<void()>& f);
// Checks code, text, status and help context (the code's number unless
// told) of an automation error.
void expectError(const std::function<void()>& f, std::uint16_t code, const std::string& text, std::int32_t scode,
                 std::int64_t helpContext = -1);
// The error of a write to a read-only property.
void expectSetNotSupported(const std::function<void()>& f);
// A control error: its status is 0x800A0000 | code.
void expectControlError(const std::function<void()>& f, std::uint16_t code, const std::string& text);

// Arrays as containers hand them over: first index fastest.
Variant doubles2D(std::int32_t lower1, std::uint32_t n1, std::int32_t lower2, std::uint32_t n2,
                  const std::vector<double>& values);
Variant doubles1D(const std::vector<double>& values);
Variant floats2D(std::uint32_t n1, std::uint32_t n2, const std::vector<float>& values);
Variant variants2D(std::uint32_t n1, std::uint32_t n2, const std::vector<Variant>& values);
Variant arrayOf(platform::VarType type, std::initializer_list<platform::SafeArray::Bound> bounds);

} // namespace plottest
