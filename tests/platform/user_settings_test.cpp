#include "platform/system/user_settings.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace platform;

TEST(UserSettings, LivesUnderTheConfigFolder)
{
    testsupport::TempDir dir;
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    UserSettings s("Corvane", "3-D Plot");
    EXPECT_EQ(s.path(), dir.path() + "Corvane/3-D Plot.conf");
    EXPECT_EQ(s.readInt("ShowExportMenu", 7), 7);
    ASSERT_TRUE(s.writeInt("ShowExportMenu", 1));
    ASSERT_TRUE(s.writeString("ForceSoftwareRendering", "0"));
    EXPECT_EQ(s.readInt("showexportmenu", 7), 1);
    EXPECT_EQ(s.readInt("ForceSoftwareRendering", 7), 0);
    EXPECT_EQ(testsupport::readAll(s.path()), "[3-D Plot]\r\nShowExportMenu=1\r\nForceSoftwareRendering=0\r\n");
    ASSERT_TRUE(s.writeString("HighResolutionPrinting", "x"));
    EXPECT_EQ(s.readInt("HighResolutionPrinting", 3), 3); // not an integer
    ::unsetenv("XDG_CONFIG_HOME");
}
