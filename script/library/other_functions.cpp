// Other routines ("ctOther") and the Variant type constants.

#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/automation/safe_array.h"
#include "platform/automation/value_limits.h"
#include "script/binding/host_ui.h"
#include "script/binding/ole_helper.h"
#include "script/expr/operator_nodes.h"
#include "script/library/date_text.h"
#include "script/library/function_table.h"
#include "script/library/system_functions.h"
#include "script/library/text_to_number.h"

#include <chrono>
#include <random>

namespace script::library {

namespace {

// The generator of Random: the same sequence on every start until a
// script calls Randomize.
std::mt19937_64& generator()
{
    static std::mt19937_64 g;
    return g;
}

// CO_E_CLASSSTRING: the programmatic identifier names no class.
constexpr std::int32_t kInvalidClassString = std::int32_t(0x800401F3u);

Variant createOleObject(Args& a)
{
    std::string progId = a[0].toString();
    try {
        platform::Ref<platform::Dispatch> object = platform::ClassRegistry::instance().create(progId);
        return Variant(object.get());
    } catch (const platform::DispatchException& e) {
        if (e.scode() == platform::status::ClassNotRegistered && !platform::ClassRegistry::instance().isRegistered(progId))
            RaiseAutomationError(kInvalidClassString, progId);
        RaiseAutomationError(e.scode(), progId);
    }
}

Variant varArrayCreate(Args& a)
{
    const platform::SafeArray* list = a[0].array();
    if (!list || list->elementCount() == 0 || list->elementCount() % 2 != 0)
        RaiseRuntime("VarArrayCreate needs the low and high bound of each dimension");
    std::vector<platform::SafeArray::Bound> bounds;
    std::uint64_t total = 1;
    for (std::size_t i = 0; i + 1 < list->elementCount(); i += 2) {
        Variant lo = list->storesVariants() ? list->variants()[i] : list->get(i);
        Variant hi = list->storesVariants() ? list->variants()[i + 1] : list->get(i + 1);
        std::int64_t l = lo.toInt64(), h = hi.toInt64();
        if (l < INT32_MIN || h > INT32_MAX || h < l - 1)
            RaiseRuntime("Invalid array bounds");
        std::uint64_t count = static_cast<std::uint64_t>(h - l + 1);
        total *= count ? count : 1;
        if (count > platform::valueLimits().maxArrayElements || total > platform::valueLimits().maxArrayElements)
            RaiseRuntime("Out of memory");
        bounds.push_back({static_cast<std::int32_t>(l), static_cast<std::uint32_t>(count)});
    }
    auto type = static_cast<platform::VarType>(a[1].toInt32() & platform::varTypeMask);
    if (type == platform::varOleStr)
        type = platform::varString;
    if (!platform::SafeArray::isStorableElementType(type))
        RaiseRuntime("Invalid variant type for an array: " + std::to_string(type));
    platform::SafeArray* arr = platform::SafeArray::create(type, bounds);
    if (!arr)
        RaiseRuntime("Out of memory");
    Variant result(arr);
    arr->release();
    return result;
}

} // namespace

void RegisterOtherFunctions(TfsScript& scope)
{
    RegisterRoutines(
        scope, "ctOther",
        {
            {"procedure Inc(var i: Integer; incr: Integer = 1)",
             [](Args& a) {
                 a[0] = AddValues(a[0], a[1]);
                 return Variant::null();
             }},
            {"procedure Dec(var i: Integer; decr: Integer = 1)",
             [](Args& a) {
                 a[0] = SubValues(a[0], a[1]);
                 return Variant::null();
             }},
            {"procedure RaiseException(Param: String)",
             [](Args& a) -> Variant { RaiseRuntime(a[0].toString()); }},
            {"procedure ShowMessage(Msg: Variant)",
             [](Args& a) {
                 HostUi().ShowMessage(a[0].toString());
                 return Variant::null();
             }},
            {"procedure Randomize",
             [](Args&) {
                 generator().seed(static_cast<std::uint64_t>(
                     std::chrono::high_resolution_clock::now().time_since_epoch().count()));
                 return Variant::null();
             }},
            {"function Random: Extended",
             [](Args&) {
                 // 53 random bits: every value in [0, 1) that a double holds
                 // at that spacing, and never 1.
                 return Variant(static_cast<double>(generator()() >> 11) * 0x1.0p-53);
             }},
            {"function ValidInt(cInt: String): Boolean",
             [](Args& a) {
                 std::int32_t v = 0;
                 return Variant(ReadInt(a[0].toString(), v));
             }},
            {"function ValidFloat(cFlt: String): Boolean",
             [](Args& a) {
                 double v = 0;
                 return Variant(ReadFloat(a[0].toString(), v));
             }},
            {"function ValidDate(cDate: String): Boolean",
             [](Args& a) {
                 double v = 0;
                 return Variant(ParseDate(a[0].toString(), v));
             }},
            {"function CreateOleObject(ClassName: String): Variant", createOleObject},
            {"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", varArrayCreate},
        });
}

void RegisterVariantConstants(TfsScript& scope)
{
    struct Constant {
        const char* name;
        int value;
    };
    static const Constant kConstants[] = {
        {"varEmpty", 0},       {"varNull", 1},       {"varSmallint", 2},  {"varInteger", 3},    {"varSingle", 4},
        {"varDouble", 5},      {"varCurrency", 6},   {"varDate", 7},      {"varOleStr", 8},     {"varDispatch", 9},
        {"varError", 10},      {"varBoolean", 11},   {"varVariant", 12},  {"varUnknown", 13},   {"varShortInt", 16},
        {"varByte", 17},       {"varWord", 18},      {"varLongWord", 19}, {"varInt64", 20},     {"varStrArg", 72},
        {"varString", 256},    {"varAny", 257},      {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
    };
    for (const Constant& c : kConstants)
        scope.AddConst(c.name, "Integer", Variant(c.value));
}

} // namespace script::library
