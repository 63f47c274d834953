// Conversions ("ctConv") and formatting ("ctFormat").

#include "platform/automation/safe_array.h"
#include "platform/text/date_serial.h"
#include "platform/text/number_text.h"
#include "script/library/date_text.h"
#include "script/library/format_float.h"
#include "script/library/format_mask.h"
#include "script/library/format_text.h"
#include "script/library/function_table.h"
#include "script/library/system_functions.h"
#include "script/library/text_to_number.h"

namespace script::library {

namespace {

std::string floatText(double v)
{
    std::string s = platform::formatGeneral(v, 15);
    return s == "-0" ? "0" : s;
}

} // namespace

bool ReadInt(std::string_view text, std::int32_t& out)
{
    bool isInt = false;
    std::int64_t i = 0;
    double d = 0;
    if (!platform::parseNumberText(text, isInt, i, d) || !isInt || i < INT32_MIN || i > INT32_MAX)
        return false;
    out = static_cast<std::int32_t>(i);
    return true;
}

bool ReadFloat(std::string_view text, double& out)
{
    // "." as the point, and "," read like it: the viewer's users type both.
    return platform::parseDecimal(platform::trimBlanks(text), out, true);
}

void RegisterConversionFunctions(TfsScript& scope)
{
    RegisterRoutines(
        scope, "ctConv",
        {
            {"function IntToStr(i: Integer): String",
             [](Args& a) { return Variant(std::to_string(a[0].toInt32())); }},
            {"function FloatToStr(e: Extended): String", [](Args& a) { return Variant(floatText(a[0].toDouble())); }},
            {"function DateToStr(e: Extended): String",
             [](Args& a) { return Variant(platform::formatDate(CheckedSerial(a[0].toDouble()))); }},
            {"function TimeToStr(e: Extended): String",
             [](Args& a) { return Variant(platform::formatTime(CheckedSerial(a[0].toDouble()))); }},
            {"function DateTimeToStr(e: Extended): String",
             [](Args& a) { return Variant(FormatDateTimeText("c", a[0].toDouble())); }},
            {"function VarToStr(v: Variant): String", [](Args& a) { return Variant(a[0].toString()); }},
            {"function StrToInt(s: String): Integer",
             [](Args& a) {
                 std::string s = a[0].toString();
                 std::int32_t v = 0;
                 if (!ReadInt(s, v))
                     RaiseRuntime("'" + s + "' is not a valid integer value");
                 return Variant(static_cast<int>(v));
             }},
            {"function StrToFloat(s: String): Extended",
             [](Args& a) {
                 std::string s = a[0].toString();
                 double v = 0;
                 if (!ReadFloat(s, v))
                     RaiseRuntime("'" + s + "' is not a valid floating point value");
                 return Variant(v);
             }},
            {"function StrToDate(s: String): Extended",
             [](Args& a) {
                 std::string s = a[0].toString();
                 double v = 0;
                 if (!ParseDate(s, v))
                     RaiseRuntime("'" + s + "' is not a valid date");
                 return Variant::fromDate(v);
             }},
            {"function StrToTime(s: String): Extended",
             [](Args& a) {
                 std::string s = a[0].toString();
                 double v = 0;
                 if (!ParseTime(s, v))
                     RaiseRuntime("'" + s + "' is not a valid time");
                 return Variant::fromDate(v);
             }},
            {"function StrToDateTime(s: String): Extended",
             [](Args& a) {
                 std::string s = a[0].toString();
                 double v = 0;
                 if (!ParseDateTime(s, v))
                     RaiseRuntime("'" + s + "' is not a valid date and time");
                 return Variant::fromDate(v);
             }},
        });
}

void RegisterFormatFunctions(TfsScript& scope)
{
    RegisterRoutines(
        scope, "ctFormat",
        {
            {"function Format(Fmt: String; Args: array): String",
             [](Args& a) {
                 std::vector<Variant> values;
                 const Variant& list = a[1];
                 if (const platform::SafeArray* arr = list.array()) {
                     values.reserve(std::min<std::size_t>(arr->elementCount(), 32));
                     for (std::size_t i = 0; i < arr->elementCount() && i < 32; ++i)
                         values.push_back(arr->storesVariants() ? arr->variants()[i] : arr->get(i));
                 } else if (!list.isEmptyOrNull()) {
                     values.push_back(list);
                 }
                 return Variant(FormatText(a[0].toString(), values));
             }},
            {"function FormatFloat(Fmt: String; Value: Extended): String",
             [](Args& a) { return Variant(FormatFloatText(a[0].toString(), a[1].toDouble())); }},
            {"function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
             [](Args& a) { return Variant(FormatDateTimeText(a[0].toString(), a[1].toDouble())); }},
            {"function FormatMaskText(EditMask: string; Value: string): string",
             [](Args& a) { return Variant(FormatMaskTextValue(a[0].toString(), a[1].toString())); }},
        });
}

} // namespace script::library
