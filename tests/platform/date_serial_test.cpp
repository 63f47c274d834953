#include "platform/text/date_serial.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(DateSerial, KnownDates)
{
    double s = 0;
    ASSERT_TRUE(encodeDate(1899, 12, 30, s));
    EXPECT_EQ(s, 0.0);
    ASSERT_TRUE(encodeDate(2005, 1, 1, s));
    EXPECT_EQ(s, 38353.0);
    ASSERT_TRUE(encodeDate(1900, 3, 1, s));
    EXPECT_EQ(s, 61.0);
    ASSERT_TRUE(encodeDate(1, 1, 1, s));
    EXPECT_EQ(s, -693593.0);
    EXPECT_FALSE(encodeDate(2005, 2, 29, s));
    EXPECT_TRUE(encodeDate(2004, 2, 29, s));
    EXPECT_FALSE(encodeDate(2005, 13, 1, s));
    EXPECT_FALSE(encodeDate(0, 1, 1, s));
}

TEST(DateSerial, DecodeIsTheInverseOfEncode)
{
    for (int y : {1, 1600, 1899, 1900, 2000, 2024, 9999})
        for (int m = 1; m <= 12; ++m)
            for (int d : {1, 15, daysInMonth(y, m)}) {
                double s = 0;
                ASSERT_TRUE(encodeDate(y, m, d, s));
                // Noon: the time fraction counts away from zero.
                DateParts p = decodeDateTime(s >= 0 ? s + 0.5 : s - 0.5);
                EXPECT_EQ(p.year, y);
                EXPECT_EQ(p.month, m);
                EXPECT_EQ(p.day, d);
                EXPECT_EQ(p.hour, 12);
            }
}

TEST(DateSerial, TimesAndNegativeSerials)
{
    double f = 0;
    ASSERT_TRUE(encodeTime(18, 30, 15, 500, f));
    DateParts p = decodeDateTime(38353.0 + f);
    EXPECT_EQ(p.hour, 18);
    EXPECT_EQ(p.minute, 30);
    EXPECT_EQ(p.second, 15);
    EXPECT_EQ(p.millisecond, 500);
    EXPECT_FALSE(encodeTime(24, 0, 0, 0, f));
    // -1.25 is 29 December 1899, 06:00: the fraction counts forward.
    p = decodeDateTime(-1.25);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.hour, 6);
    // A time that rounds up to midnight moves to the next day.
    p = decodeDateTime(38353.0 + 86399.9996 / 86400.0);
    EXPECT_EQ(p.day, 2);
    EXPECT_EQ(p.hour, 0);
}

TEST(DateSerial, CalendarRules)
{
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2004));
    EXPECT_EQ(daysInMonth(2004, 2), 29);
    EXPECT_EQ(daysInMonth(2005, 2), 28);
    EXPECT_EQ(daysInMonth(2005, 13), 0);
    EXPECT_EQ(dayOfWeek(38353.0), 7); // 1 January 2005 was a Saturday
    EXPECT_EQ(dayOfWeek(0.0), 7);
    EXPECT_EQ(dayOfWeek(1.0), 1);
    EXPECT_EQ(formatDateTime(0.0), "30.12.1899");
}
