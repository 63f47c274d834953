#include "viewer/ui/file_dialogs.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(FileDialogs, FilterListFollowsTheStartName)
{
    EXPECT_EQ(BuildFileFilter("", "*.txt"), QStringLiteral("Файлы типа *.txt|*.txt|Все файлы|*.*"));
    EXPECT_EQ(BuildFileFilter("", "/data/surface.dat"), QStringLiteral("Файлы типа *.dat|*.dat|Все файлы|*.*"));
    EXPECT_EQ(BuildFileFilter("", "/data.d/noext"), QStringLiteral("Все файлы|*.*"));
    EXPECT_EQ(BuildFileFilter("*.pas|*.pas", "x.txt"), QStringLiteral("Файлы типа *.pas|*.pas|Все файлы|*.*"));
}

TEST(FileDialogs, QtFormOfTheFilters)
{
    EXPECT_EQ(ToQtFilters(QStringLiteral("Файлы типа *.txt|*.txt|Все файлы|*.*")),
              (QStringList{QStringLiteral("Файлы типа *.txt (*.txt)"), QStringLiteral("Все файлы (*)")}));
    EXPECT_EQ(ToQtFilters(QStringLiteral("Scripts|*.pas;*.bas")), QStringList{QStringLiteral("Scripts (*.pas *.bas)")});
    EXPECT_TRUE(ToQtFilters(QStringLiteral("dangling")).isEmpty());
}
