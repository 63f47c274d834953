#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    // Take the locale from the environment, as the viewer does, so the
    // Russian-locale run really formats with a decimal comma.
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
