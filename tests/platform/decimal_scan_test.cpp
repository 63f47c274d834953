#include "platform/text/decimal_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace platform;

namespace {

// The digits one at a time: what the eight-at-a-time runs must give.
std::uint64_t slowDigits(const char*& p, const char* end, long& count)
{
    std::uint64_t m = 0;
    count = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        m = m * 10 + static_cast<unsigned>(*p - '0');
        ++p;
        ++count;
    }
    return m;
}

} // namespace

TEST(DecimalScan, DigitRunsStopAtTheEndEvenWhenMoreMayBeRead)
{
    const std::string text = "1234567890123456789012345";
    for (std::size_t stop = 0; stop <= text.size(); ++stop) {
        const char* p = text.data();
        DecimalScan d;
        bool ok = scanDecimal(p, text.data() + stop, text.data() + text.size(), false, d);
        EXPECT_EQ(ok, stop > 0);
        EXPECT_EQ(p, text.data() + stop);
        if (stop > 0 && stop <= 19) {
            EXPECT_TRUE(d.exact);
            EXPECT_EQ(d.mantissa, std::stoull(text.substr(0, stop)));
        }
    }
}

// Every byte value next to every run length, and bytes with the high bit
// set (letters of code page 1251), whose carries must not leak backwards.
TEST(DecimalScan, DigitRunsAgreeWithOneAtATime)
{
    std::mt19937 rng(7);
    const char* pool = "0123456789./:;,eE+- \t\r\n*\xFA\xFB\xFC\xFD\xFE\xFF\x80\x7F\x01";
    std::size_t poolSize = std::char_traits<char>::length(pool);
    for (int n = 0; n < 200000; ++n) {
        std::string s;
        int len = static_cast<int>(rng() % 30);
        for (int i = 0; i < len; ++i)
            s += rng() % 3 ? static_cast<char>('0' + rng() % 10) : pool[rng() % poolSize];
        s += std::string(static_cast<std::size_t>(rng() % 4), static_cast<char>(rng() % 256));
        std::size_t stop = s.empty() ? 0 : rng() % (s.size() + 1);
        const char* a = s.data();
        const char* b = s.data();
        std::uint64_t m = 0;
        long runFast = decimal_detail::digitRun(a, s.data() + stop, s.data() + s.size(), m);
        long runSlow = 0;
        std::uint64_t slow = slowDigits(b, s.data() + stop, runSlow);
        ASSERT_EQ(runFast, runSlow) << s;
        ASSERT_EQ(a, b) << s;
        if (runSlow <= 19) {
            ASSERT_EQ(m, slow) << s;
        }
    }
}
