#pragma once
// TfsOLEHelper: a member of an automation object, bound late, by name,
// through the object's dispatch interface when the statement runs. Reading
// calls it as a method (as a property get when it has no arguments and a
// value is wanted); writing puts it as a property with the value last.
//
// A failure the object describes itself (the plot control's own errors)
// reaches the script with the object's text; any other failure code C is
// "OLE error " + C as eight hexadecimal digits + ": " + the member name.

#include "script/program/entries.h"

#include <span>
#include <string_view>

namespace script {

class TfsOLEHelper : public TfsCustomHelper {
public:
    // At most this many arguments reach an automation call.
    static constexpr std::size_t kMaxArguments = 64;

    explicit TfsOLEHelper(std::string_view member);

    // args are evaluated; by-reference results come back in them.
    platform::Variant Invoke(const platform::Variant& object, std::span<platform::Variant> args, bool wantResult);
    void Put(const platform::Variant& object, std::span<platform::Variant> args, const platform::Variant& value);
};

// Raises the run-time error of a failed automation call of member.
[[noreturn]] void RaiseAutomationError(std::int32_t scode, std::string_view member);

} // namespace script
