#include "viewer/settings/ini_params.h"
#include "viewer/settings/viewer_settings.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(WindowParameters, DefaultsWithoutASettingsFile)
{
    testsupport::TempDir dir;
    WindowParameters p = LoadWindowParameters(dir.file("Tavrin.ini"));
    EXPECT_EQ(p.rect.xmin, 0);
    EXPECT_EQ(p.rect.xmax, 100);
    EXPECT_EQ(p.rect.ymin, 0);
    EXPECT_EQ(p.rect.ymax, 100);
    EXPECT_FALSE(p.yesScale);
    EXPECT_EQ(p.modeMatrixFill, 0);
    EXPECT_EQ(p.xdef, "0");
    EXPECT_EQ(p.zdef, "0");
}

TEST(WindowParameters, SaveAndLoadRoundTrip)
{
    testsupport::TempDir dir;
    std::string ini = dir.file("Tavrin.ini");
    WindowParameters p;
    p.rect = {-5, 40, 3, 7};
    p.yesScale = true;
    p.modeMatrixFill = 3;
    p.xdef = "1,50";
    p.ydef = "abc";
    p.zdef = "-2";
    SaveWindowParameters(ini, p);
    WindowParameters q = LoadWindowParameters(ini);
    EXPECT_EQ(q.rect.xmin, -5);
    EXPECT_EQ(q.rect.xmax, 40);
    EXPECT_EQ(q.rect.ymin, 3);
    EXPECT_EQ(q.rect.ymax, 7);
    EXPECT_TRUE(q.yesScale);
    EXPECT_EQ(q.modeMatrixFill, 3);
    EXPECT_EQ(q.xdef, "1.5");
    EXPECT_EQ(q.ydef, "0");
    EXPECT_EQ(q.zdef, "-2");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "INPUT_INFO", "Xdef", "?"), "1.5");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "INPUT_INFO", "YesScale", "?"), "1");
    MatrixSettings s = ToMatrixSettings(q);
    EXPECT_EQ(s.xdef, 1.5);
    EXPECT_EQ(s.zdef, -2.0);
    EXPECT_EQ(s.rect.xmin, -5);
}

TEST(WindowParameters, BadStoredValuesFallBack)
{
    testsupport::TempDir dir;
    std::string ini = dir.write("Tavrin.ini", "[MATRIX]\r\nXmin=abc\r\nXmax= 12 \r\nModeMatrixFill=9\r\n"
                                              "[INPUT_INFO]\r\nYesScale=2\r\nXdef=  0,000001 \r\n");
    WindowParameters p = LoadWindowParameters(ini);
    EXPECT_EQ(p.rect.xmin, 0);
    EXPECT_EQ(p.rect.xmax, 12);
    EXPECT_EQ(p.modeMatrixFill, 0);
    EXPECT_TRUE(p.yesScale); // any non-zero integer
    EXPECT_EQ(p.xdef, "0");
}

TEST(IniParams, TrimmingAndDefaults)
{
    testsupport::TempDir dir;
    std::string ini = dir.file("x.ini");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "S", "k", "  def  "), "def");
    EXPECT_TRUE(PutToINI_StringParamW(ini, "S", "k", "  v a l  "));
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "s", "K", "def"), "v a l");
    EXPECT_TRUE(PutToINI_IntegerParamW(ini, "S", "n", -17));
    EXPECT_EQ(GetFromINI_IntegerParamDef(ini, "S", "n", 5), -17);
    EXPECT_EQ(GetFromINI_IntegerParamDef(ini, "S", "k", 5), 5);
    EXPECT_TRUE(PutToINI_BoolParamW(ini, "S", "b", false));
    EXPECT_FALSE(GetFromINI_BoolParamDef(ini, "S", "b", true));
    EXPECT_TRUE(GetFromINI_BoolParamDef(ini, "S", "missing", true));
    EXPECT_FALSE(PutToINI_StringParamW(dir.file("no/folder/x.ini"), "S", "k", "v"));
}

TEST(AboutSection, WrittenWithEveryKey)
{
    testsupport::TempDir dir;
    std::string ini = dir.file("Tavrin.ini");
    WriteAboutSection(ini, "/opt/tavrin/tavrin", "30.12.1899");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "About", ""), "Tavrin");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "PRG", ""), "Tavrin");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "OS", ""), "Windows-2000/XP");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "Version", ""), "1.03  (24.11.2005)");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "Status", ""), "Freeware");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "EXE", ""), "/opt/tavrin/tavrin");
    EXPECT_EQ(GetFromINI_StringParamDef(ini, "ABOUT", "Date", ""), "30.12.1899");
}
