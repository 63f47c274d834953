#include "script/binding/ole_helper.h"

#include "platform/automation/dispatch.h"
#include "platform/automation/dispatch_exception.h"
#include "script/program/run_error.h"

#include <cstdio>

namespace script {

using platform::Variant;

namespace {

// An error the object raised with a text of its own: a control's error
// table (the automation-error facility) or an exception it describes.
bool describedByObject(const platform::DispatchException& e)
{
    const auto code = static_cast<std::uint32_t>(e.scode());
    return !e.description().empty() && (e.code() != 0 || (code >> 16) == 0x800Au);
}

[[noreturn]] void raise(const platform::DispatchException& e, std::string_view member)
{
    if (describedByObject(e))
        RaiseRuntime(e.description());
    RaiseAutomationError(e.scode(), member);
}

platform::Dispatch& dispatchOf(const Variant& object)
{
    platform::Dispatch* d = object.dispatch();
    if (!d)
        RaiseRuntime("Invalid object reference");
    return *d;
}

void checkCount(std::size_t n)
{
    if (n > TfsOLEHelper::kMaxArguments)
        RaiseRuntime("Too many actual parameters");
}

} // namespace

void RaiseAutomationError(std::int32_t scode, std::string_view member)
{
    char code[16];
    std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(scode));
    RaiseRuntime(std::string("OLE error ") + code + ": " + std::string(member));
}

TfsOLEHelper::TfsOLEHelper(std::string_view member) : TfsCustomHelper(Kind::Automation, member, fvtVariant, "Variant")
{
}

Variant TfsOLEHelper::Invoke(const Variant& object, std::span<Variant> args, bool wantResult)
{
    checkCount(args.size());
    platform::Dispatch& d = dispatchOf(object);
    // Arguments go in declaration order, the order this interface takes.
    auto kind = args.empty() && wantResult ? platform::InvokeKind::PropertyGet : platform::InvokeKind::Method;
    try {
        return d.invoke(Name, kind, args);
    } catch (const platform::DispatchException& e) {
        raise(e, Name);
    }
}

void TfsOLEHelper::Put(const Variant& object, std::span<Variant> args, const Variant& value)
{
    checkCount(args.size() + 1);
    platform::Dispatch& d = dispatchOf(object);
    std::vector<Variant> all(args.begin(), args.end());
    all.push_back(value);
    try {
        d.invoke(Name, platform::InvokeKind::PropertyPut, all);
    } catch (const platform::DispatchException& e) {
        raise(e, Name);
    }
}

} // namespace script
