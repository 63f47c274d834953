// The picture languages of Format, FormatFloat, FormatDateTime and
// FormatMaskText: directives, widths, precisions, sections, and the errors
// of a directive that does not fit its argument. None of them follows the
// process's locale (the tests also run under a Russian one).

#include "tests/script/run_support.h"

#include "script/library/format_float.h"
#include "script/library/format_mask.h"
#include "script/library/format_text.h"
#include "script/library/date_text.h"

#include <gtest/gtest.h>

using platform::Variant;
using script::library::FormatDateTimeText;
using script::library::FormatFloatText;
using script::library::FormatMaskTextValue;
using script::library::FormatText;

namespace {

std::string fmt(std::string_view format, std::vector<Variant> args)
{
    return FormatText(format, args);
}

std::string fmtError(std::string_view format, std::vector<Variant> args)
{
    try {
        FormatText(format, args);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(Format, Directives)
{
    EXPECT_EQ(fmt("%d-%d", {Variant(7)}), "7-0"); // a missing argument is 0
    EXPECT_EQ(fmt("%5d|%-5d|%.3d|%d", {Variant(42), Variant(42), Variant(7), Variant(-3)}), "   42|42   |007|-3");
    EXPECT_EQ(fmt("%u", {Variant(-1)}), "4294967295");
    EXPECT_EQ(fmt("%x %.4x %p", {Variant(255), Variant(10), Variant(4096)}), "FF 000A 00001000");
    EXPECT_EQ(fmt("%f|%.1f|%.0f|%8.3f", {Variant(2.5), Variant(0.05), Variant(2.5), Variant(-3.14159)}),
              "2.50|0.1|3|  -3.142");
    EXPECT_EQ(fmt("%e", {Variant(1234.5)}), "1.23450000000000E+003");
    EXPECT_EQ(fmt("%.3e", {Variant(-0.000123456)}), "-1.23E-004");
    EXPECT_EQ(fmt("%g|%g|%g", {Variant(0.1), Variant(1e20), Variant(100.0)}), "0.1|1E20|100");
    EXPECT_EQ(fmt("%n|%.0n", {Variant(1234567.891), Variant(-1234.5)}), "1,234,567.89|-1,235");
    EXPECT_EQ(fmt("%s|%5s|%-5s|%.2s", {Variant("ab"), Variant("ab"), Variant("ab"), Variant("abcdef")}),
              "ab|   ab|ab   |ab");
    EXPECT_EQ(fmt("100%%", {}), "100%");
    EXPECT_EQ(fmt("%1:s %0:s %s", {Variant("a"), Variant("b"), Variant("c")}), "b a b");
    EXPECT_EQ(fmt("%*d|%-*d|%.*f", {Variant(4), Variant(1), Variant(3), Variant(2), Variant(2), Variant(1.0)}),
              "   1|2  |1.00");
    // Null, Empty and other Variants are converted.
    EXPECT_EQ(fmt("%s|%d|%f", {Variant::null(), Variant(), Variant()}), "|0|0.00");
    // Long strings are kept whole.
    std::string longText(1000, 'x');
    EXPECT_EQ(fmt("%s", {Variant(longText)}).size(), 1000u);
    // Currency and dates are floats.
    EXPECT_EQ(fmt("%.2f", {Variant::fromCurrencyUnits(12345)}), "1.23");
}

TEST(Format, DirectivesThatDoNotFitTheirArgumentsAreErrors)
{
    const std::string bad = "Format '%d' invalid or incompatible with argument";
    EXPECT_EQ(fmtError("%d", {Variant(1.5)}), bad);
    EXPECT_EQ(fmtError("%d", {Variant("1")}), bad);
    EXPECT_EQ(fmtError("%f", {Variant(1)}), "Format '%f' invalid or incompatible with argument");
    EXPECT_EQ(fmtError("%s", {Variant(1)}), "Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(fmtError("%s", {}), "Format '%s' invalid or incompatible with argument"); // the 0 it gets
    EXPECT_EQ(fmtError("%d", {Variant(true)}), bad);
    EXPECT_EQ(fmtError("%k", {Variant(1)}), "Format '%k' invalid or incompatible with argument");
    EXPECT_EQ(fmtError("abc%", {}), "Format 'abc%' invalid or incompatible with argument");
    // From a script, through the list of a set constructor.
    EXPECT_EQ(scripttest::RunFor("var s: String; begin s := Format('%d-%s-%.1f', [3, 'x', 2.25]); end.", "s"),
              "3-x-2.3");
    EXPECT_EQ(scripttest::RunFor("var s: String; begin s := Format('%d-%d', [7]); end.", "s"), "7-0");
    EXPECT_EQ(scripttest::RunFor("var s: String; begin s := Format('%d', [1.5]); end.", "s"),
              "RUNTIME ERROR: Format '%d' invalid or incompatible with argument");
}

TEST(Format, FloatPictures)
{
    EXPECT_EQ(FormatFloatText("0.00", 3.14159), "3.14");
    EXPECT_EQ(FormatFloatText("0.00", 1.005), "1.01"); // the decimal value, halves away from zero
    EXPECT_EQ(FormatFloatText("0", 2.5), "3");
    EXPECT_EQ(FormatFloatText("0", -2.5), "-3");
    EXPECT_EQ(FormatFloatText("#.##", 0.5), ".5");
    EXPECT_EQ(FormatFloatText("#.##", 5), "5");
    EXPECT_EQ(FormatFloatText("000.0", 7.25), "007.3");
    EXPECT_EQ(FormatFloatText("#,##0.00", 1234567.891), "1,234,567.89");
    EXPECT_EQ(FormatFloatText("#,##0", 999), "999");
    EXPECT_EQ(FormatFloatText("0.00E+00", 1234.5), "1.23E+03");
    EXPECT_EQ(FormatFloatText("0.0E-0", 0.000123), "1.2E-4");
    EXPECT_EQ(FormatFloatText("0.0E-0", 12300), "1.2E4");
    EXPECT_EQ(FormatFloatText("0.00;(0.00)", -5.5), "(5.50)");
    EXPECT_EQ(FormatFloatText("0.00;(0.00);'zero'", 0), "zero");
    EXPECT_EQ(FormatFloatText("'Total: '0.0' kg'", 12.34), "Total: 12.3 kg");
    EXPECT_EQ(FormatFloatText("00-00", 1234), "12-34");
    EXPECT_EQ(FormatFloatText("0.00", -0.001), "0.00"); // no minus in front of a zero
    EXPECT_EQ(FormatFloatText("", 0.25), "0.25");
    EXPECT_EQ(FormatFloatText("0", 12345678), "12345678");
    EXPECT_EQ(scripttest::RunFor("var s: String; begin s := FormatFloat('0.000', 2 / 3); end.", "s"), "0.667");
}

TEST(Format, DateTimePictures)
{
    const double t = 38353 + (13 * 3600 + 5 * 60 + 9) / 86400.0 + 0.25 / 86400.0; // 01.01.2005 13:05:09.250
    EXPECT_EQ(FormatDateTimeText("dd.mm.yyyy hh:nn:ss", t), "01.01.2005 13:05:09");
    EXPECT_EQ(FormatDateTimeText("d/m/yy h:n:s.zzz", t), "1.1.05 13:5:9.250");
    EXPECT_EQ(FormatDateTimeText("hh:mm", t), "13:05"); // m after h is minutes
    EXPECT_EQ(FormatDateTimeText("h:nn am/pm", t), "1:05 pm");
    EXPECT_EQ(FormatDateTimeText("hh:nn AMPM", 38353.25), "06:00 AM");
    EXPECT_EQ(FormatDateTimeText("c", t), "01.01.2005 13:05:09");
    EXPECT_EQ(FormatDateTimeText("c", 38353), "01.01.2005");
    EXPECT_EQ(FormatDateTimeText("ddddd t", t), "01.01.2005 13:05");
    EXPECT_EQ(FormatDateTimeText("'Day' d 'of' m", t), "Day 1 of 1");
    // Russian names in code page 1251: Saturday, January.
    EXPECT_EQ(FormatDateTimeText("dddd", t), "\xF1\xF3\xE1\xE1\xEE\xF2\xE0");
    EXPECT_EQ(FormatDateTimeText("mmmm", t), "\xDF\xED\xE2\xE0\xF0\xFC");
    EXPECT_EQ(FormatDateTimeText("dddddd", t), "1 \xFF\xED\xE2\xE0\xF0\xFF 2005 \xE3.");
    EXPECT_THROW(FormatDateTimeText("yyyy", 1e12), std::exception);
}

TEST(Format, EditMasks)
{
    EXPECT_EQ(FormatMaskTextValue("000-00-00;0;_", "1234567"), "123-45-67");
    EXPECT_EQ(FormatMaskTextValue("000-00-00;1;_", "123-45-67"), "123-45-67");
    EXPECT_EQ(FormatMaskTextValue("000-00-00;0;_", "123"), "123-__-__");
    EXPECT_EQ(FormatMaskTextValue("(999) 000;0;*", "12345"), "(123) 45*");
    EXPECT_EQ(FormatMaskTextValue(">LL<ll;0; ", "abCD"), "ABcd");
    EXPECT_EQ(FormatMaskTextValue("\\+0 (000);0;_", "7495"), "+7 (495)");
    EXPECT_EQ(FormatMaskTextValue("00/00/0000;0;_", "01022005"), "01.02.2005");
    EXPECT_EQ(scripttest::RunFor("var s: String; begin s := FormatMaskText('00:00;0;_', '1230'); end.", "s"), "12:30");
}
