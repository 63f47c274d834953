// RunFillScript and the fill-mode-4 seam: what comes back for a missing,
// broken, declining, working and failing script.

#include "tests/scripthost/host_fixture.h"

#include "script/library/string_list.h"
#include "viewer/data/matrix_builder.h"

#include <gtest/gtest.h>

using hosttest::HostRun;

namespace {

const char* kFill = "begin\r\n"
                    "  List_Data.Add(IntToStr(Matrix_Xmin) + ' ' + IntToStr(Matrix_Ymax) + ' 5');\r\n"
                    "  List_Data.Add('* comment');\r\n"
                    "  ResultScript := TRUE;\r\n"
                    "end.\r\n";

} // namespace

TEST(RunFillScript, MissingBrokenDecliningAndWorking)
{
    HostRun h;
    std::vector<std::string> lines{"stale"};
    std::string error;
    EXPECT_FALSE(h.host->RunFillScript(h.dir.file("none.Tavrin"), {0, 3, 0, 4}, lines, &error));
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(error.empty());

    h.dir.write("bad.Tavrin", "begin\r\n  x := ;\r\nend.\r\n");
    EXPECT_FALSE(h.host->RunFillScript(h.dir.file("bad.Tavrin"), {0, 3, 0, 4}, lines, &error));
    EXPECT_EQ(error.rfind("2:", 0), 0u) << error;

    h.dir.write("no.Tavrin", "begin List_Data.Add('1 1 1'); ResultScript := False; end.");
    EXPECT_FALSE(h.host->RunFillScript(h.dir.file("no.Tavrin"), {0, 3, 0, 4}, lines, &error));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(h.host->ListData().Count(), 0);

    h.dir.write("ok.Tavrin", kFill);
    EXPECT_TRUE(h.host->RunFillScript(h.dir.file("ok.Tavrin"), {-2, 3, 0, 4}, lines, &error));
    EXPECT_EQ(lines, (std::vector<std::string>{"-2 4 5", "* comment"}));
    // The text and the output list are emptied after the run.
    EXPECT_TRUE(h.host->Script().Lines.empty());
    EXPECT_EQ(h.host->ListData().Count(), 0);
}

TEST(RunFillScript, RunTimeErrorsReachTheCallerAndLeaveNothingBehind)
{
    HostRun h;
    h.dir.write("fail.Tavrin", "begin List_Data.Add('1 1 1'); RaiseException('broken fill'); end.");
    std::vector<std::string> lines;
    EXPECT_THROW(h.host->RunFillScript(h.dir.file("fail.Tavrin"), {0, 3, 0, 4}, lines), std::exception);
    EXPECT_EQ(h.host->ListData().Count(), 0);
    EXPECT_TRUE(lines.empty());

    std::vector<std::string> warnings;
    tavrin::FillScriptRunner run =
        tavrin::MakeFillScriptRunner(*h.host, [&](const std::string& w) { warnings.push_back(w); });
    try {
        run(h.dir.file("fail.Tavrin"), {0, 3, 0, 4}, lines);
        ADD_FAILURE() << "no error";
    } catch (const tavrin::FillScriptError& e) {
        EXPECT_NE(std::string(e.what()).find("broken fill"), std::string::npos) << e.what();
    }
    h.dir.write("bad.Tavrin", "begin x := ; end.");
    EXPECT_FALSE(run(h.dir.file("bad.Tavrin"), {0, 3, 0, 4}, lines));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("does not compile"), std::string::npos);
}

TEST(RunFillScript, ComputedLinesGoInFrontOfTheFilesOwn)
{
    HostRun h;
    h.dir.write("d.txt", "0 0 7\r\n");
    h.dir.write("d.Tavrin", "begin List_Data.Add('0 0 1'); List_Data.Add('2 2 9'); ResultScript := True; end.");
    tavrin::FillScriptRunner run = tavrin::MakeFillScriptRunner(*h.host, {});
    tavrin::MatrixSettings s;
    s.rect = {0, 2, 0, 2};
    s.modeMatrixFill = tavrin::FillComputed;
    std::optional<tavrin::VisualizationMatrix> m =
        tavrin::BuildMatrix(tavrin::PrepareFileLines(h.dir.file("d.txt"), s, run), s);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->at(0, 0), 7); // the file's own point replaces the computed one
    EXPECT_EQ(m->at(2, 2), 9);
    EXPECT_EQ(m->at(1, 1), 0);
}
