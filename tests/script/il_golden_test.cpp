// Whole programs of each language against their intermediate language as
// it was checked by hand (golden/*.il, written with AutoIndent).
//
// TAVRIN_WRITE_GOLDEN=1 writes the .il files instead of comparing, for a
// deliberate change of the output; the new files are then reviewed.

#include "platform/system/file_io.h"
#include "script/parser/il_parser.h"
#include "script/parser/script_text.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::string kGolden = TAVRIN_SCRIPT_GOLDEN_DIR "/";

struct Golden {
    const char* file;
    const char* language;
};

class IlGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(IlGolden, MatchesTheCheckedDocument)
{
    const Golden& g = GetParam();
    std::string source;
    ASSERT_TRUE(platform::readFile(kGolden + g.file, source));
    script::ScriptErrors errors;
    script::TfsILParser parser(errors);
    parser.UseLanguage(g.language);
    parser.SetUnitFolder(kGolden);
    ASSERT_TRUE(parser.BuildIntermediate(script::NormalizeLineEnds(source)))
        << errors.ErrorPosition << ": " << errors.ErrorText << " " << errors.ErrorUnit;
    parser.ILDocument().AutoIndent = true;
    std::string il = parser.ILDocument().SaveToText();
    std::string ilFile = kGolden + platform::changeFileExt(g.file, ".il");
    if (std::getenv("TAVRIN_WRITE_GOLDEN")) {
        ASSERT_TRUE(platform::writeFileAtomic(ilFile, il));
        return;
    }
    std::string expected;
    ASSERT_TRUE(platform::readFile(ilFile, expected)) << ilFile;
    EXPECT_EQ(il, expected);

    // The same source with LF line ends gives the same document.
    std::string lf;
    for (char c : source)
        if (c != '\r')
            lf += c;
    script::TfsILParser again(errors);
    again.UseLanguage(g.language);
    again.SetUnitFolder(kGolden);
    ASSERT_TRUE(again.BuildIntermediate(script::NormalizeLineEnds(lf)));
    again.ILDocument().AutoIndent = true;
    EXPECT_EQ(again.ILDocument().SaveToText(), expected);
}

INSTANTIATE_TEST_SUITE_P(Programs, IlGolden,
                         ::testing::Values(Golden{"pascal_declarations.pas", "PascalScript"},
                                           Golden{"pascal_statements.pas", "PascalScript"},
                                           Golden{"basic_program.vbs", "BasicScript"},
                                           Golden{"jscript_program.js", "JScript"},
                                           Golden{"cpp_program.cpp", "C++Script"}),
                         [](const auto& param) {
                             std::string n = param.param.file;
                             return n.substr(0, n.find('.'));
                         });

} // namespace
