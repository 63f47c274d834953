#include "platform/ini/ini_file.h"
#include "platform/text/cp1251.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace platform;

TEST(IniFile, ReadsSectionsAndKeysIgnoringCase)
{
    IniFile ini = IniFile::parse("; comment\n[Matrix]\n Xmin = 5 \nxmax=40\n\n[INPUT_INFO]\nXdef=1.5\r\n");
    EXPECT_EQ(ini.value("MATRIX", "XMIN"), "5");
    EXPECT_EQ(ini.value("matrix", "Xmax"), "40");
    EXPECT_EQ(ini.value("input_info", "xdef"), "1.5");
    EXPECT_FALSE(ini.value("MATRIX", "Ymin"));
    EXPECT_FALSE(ini.value("NOPE", "Xmin"));
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Matrix", "INPUT_INFO"}));
    EXPECT_EQ(ini.keys("matrix"), (std::vector<std::string>{"Xmin", "xmax"}));
}

TEST(IniFile, CyrillicNamesCompareIgnoringCase)
{
    IniFile ini = IniFile::parse(utf8ToCp1251("[Настройка]\nКлюч=значение\n"));
    EXPECT_EQ(ini.value(utf8ToCp1251("НАСТРОЙКА"), utf8ToCp1251("ключ")), utf8ToCp1251("значение"));
}

TEST(IniFile, WritesInPlaceAndKeepsOtherLines)
{
    IniFile ini = IniFile::parse("; keep me\n[A]\nx=1\n  weird line  \n\n[B]\ny=2\n");
    ini.setValue("a", "X", "10");
    ini.setValue("A", "z", "3");
    ini.setValue("C", "w", "4");
    EXPECT_EQ(ini.text(), "; keep me\r\n[A]\r\nX=10\r\n  weird line  \r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n");
    EXPECT_TRUE(ini.removeKey("B", "Y"));
    EXPECT_FALSE(ini.removeKey("B", "Y"));
    EXPECT_TRUE(ini.removeSection("a"));
    EXPECT_EQ(ini.text(), "; keep me\r\n[B]\r\n[C]\r\nw=4\r\n");
}

TEST(IniFile, ValueMayContainEqualsAndTheFirstKeyWins)
{
    IniFile ini = IniFile::parse("[S]\nk=a=b\nk=second\n");
    EXPECT_EQ(ini.value("S", "k"), "a=b");
}

TEST(IniFile, SavesAtomicallyAndLoadsBack)
{
    testsupport::TempDir dir;
    std::string path = dir.file("Tavrin.ini");
    EXPECT_TRUE(IniFile::load(path).has_value()); // missing: empty
    ASSERT_TRUE(writeIniValue(path, "MATRIX", "Xmin", "-5"));
    ASSERT_TRUE(writeIniValue(path, "MATRIX", "Xmax", "36"));
    EXPECT_EQ(readIniValue(path, "matrix", "xmin"), "-5");
    EXPECT_EQ(testsupport::readAll(path), "[MATRIX]\r\nXmin=-5\r\nXmax=36\r\n");
    // No temporary files are left beside it.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(IniFile, UnreadableFileIsNotTakenForEmpty)
{
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.file("sub.ini"));
    EXPECT_FALSE(IniFile::load(dir.file("sub.ini")).has_value());
    EXPECT_FALSE(writeIniValue(dir.file("sub.ini"), "A", "b", "c"));
}
