// Strings ("ctString"). Positions are 1-based; counts and positions are
// clamped in 64 bits, so no argument reaches outside a string.

#include "platform/automation/value_limits.h"
#include "platform/text/cp1251.h"
#include "script/library/function_table.h"
#include "script/library/system_functions.h"
#include "script/program/designator.h"

#include <algorithm>

namespace script::library {

namespace {

std::string textOf(const Variant& v)
{
    return v.isString() ? std::string(v.stringView()) : v.toString();
}

void checkLength(std::uint64_t n)
{
    if (n > platform::valueLimits().maxStringBytes)
        RaiseRuntime("Out of memory");
}

} // namespace

void RegisterStringFunctions(TfsScript& scope)
{
    RegisterRoutines(
        scope, "ctString",
        {
            {"function Length(s: String): Integer",
             [](Args& a) {
                 std::size_t n = a[0].isString() ? a[0].stringLength() : a[0].toString().size();
                 return Variant(static_cast<int>(n));
             }},
            {"function Copy(s: String; from, count: Integer): String",
             [](Args& a) {
                 std::string s = textOf(a[0]);
                 std::int64_t from = std::max<std::int64_t>(Int64Arg(a[1]), 1);
                 std::int64_t count = std::max<std::int64_t>(Int64Arg(a[2]), 0);
                 const auto len = static_cast<std::int64_t>(s.size());
                 if (from > len)
                     return Variant(std::string_view());
                 std::int64_t n = std::min(count, len - from + 1);
                 return Variant(std::string_view(s).substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(n)));
             }},
            {"function Pos(substr, s: String): Integer",
             [](Args& a) {
                 std::string sub = textOf(a[0]), s = textOf(a[1]);
                 if (sub.empty())
                     return Variant(0);
                 std::size_t p = s.find(sub);
                 return Variant(p == std::string::npos ? 0 : static_cast<int>(p) + 1);
             }},
            {"procedure Delete(var s: String; from, count: Integer): String",
             [](Args& a) {
                 std::string s = textOf(a[0]);
                 std::int64_t from = Int64Arg(a[1]);
                 std::int64_t count = Int64Arg(a[2]);
                 const auto len = static_cast<std::int64_t>(s.size());
                 if (from >= 1 && from <= len && count > 0) {
                     std::int64_t n = std::min(count, len - from + 1);
                     s.erase(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(n));
                     a[0] = Variant(s);
                 } else if (!a[0].isString()) {
                     a[0] = Variant(s);
                 }
                 return Variant::null();
             }},
            {"procedure Insert(s: String; var s2: String; pos: Integer): String",
             [](Args& a) {
                 std::string ins = textOf(a[0]), s = textOf(a[1]);
                 const auto len = static_cast<std::int64_t>(s.size());
                 std::int64_t pos = std::clamp<std::int64_t>(Int64Arg(a[2]), 1, len + 1);
                 checkLength(std::uint64_t(s.size()) + ins.size());
                 s.insert(static_cast<std::size_t>(pos - 1), ins);
                 a[1] = Variant(s);
                 return Variant::null();
             }},
            {"function Uppercase(s: String): String",
             [](Args& a) { return Variant(platform::upperCp1251(textOf(a[0]))); }},
            {"function Lowercase(s: String): String",
             [](Args& a) { return Variant(platform::lowerCp1251(textOf(a[0]))); }},
            {"function Trim(s: String): String",
             [](Args& a) {
                 std::string s = textOf(a[0]);
                 std::size_t b = 0, e = s.size();
                 while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
                     ++b;
                 while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
                     --e;
                 return Variant(std::string_view(s).substr(b, e - b));
             }},
            {"function NameCase(s: String): String",
             [](Args& a) {
                 std::string s = textOf(a[0]);
                 for (std::size_t i = 1; i < s.size(); ++i)
                     if (static_cast<unsigned char>(s[i - 1]) <= ' ')
                         s[i] = platform::upperCp1251(s[i]);
                 return Variant(s);
             }},
            {"function CompareText(s, s1: String): Integer",
             [](Args& a) { return Variant(platform::collateCp1251(textOf(a[0]), textOf(a[1]))); }},
            {"function Chr(i: Integer): Char",
             [](Args& a) { return CharVariant(static_cast<unsigned char>(Int64Arg(a[0]) & 0xFF)); }},
            {"function Ord(ch: Char): Integer",
             [](Args& a) {
                 std::string s = textOf(a[0]);
                 return Variant(s.empty() ? 0 : static_cast<int>(static_cast<unsigned char>(s[0])));
             }},
            {"procedure SetLength(var S: String; L: Integer)",
             [](Args& a) {
                 std::int64_t n = std::max<std::int64_t>(Int64Arg(a[1]), 0);
                 checkLength(static_cast<std::uint64_t>(n));
                 Variant s = a[0].isString() ? a[0] : Variant(textOf(a[0]));
                 s.resizeString(static_cast<std::size_t>(n));
                 a[0] = std::move(s);
                 return Variant::null();
             }},
        });
}

} // namespace script::library
