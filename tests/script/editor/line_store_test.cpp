#include "script/editor/line_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace script::editor {
namespace {

std::vector<std::string> numbered(std::size_t n, const std::string& prefix = "l")
{
    std::vector<std::string> v;
    for (std::size_t i = 0; i < n; ++i)
        v.push_back(prefix + std::to_string(i));
    return v;
}

TEST(EditorLineStore, InsertAndEraseAcrossBlocksMatchAVector)
{
    std::vector<std::string> want = numbered(3000);
    LineStore store(want);
    unsigned seed = 7;
    auto next = [&](std::size_t mod) { return seed = seed * 1664525u + 1013904223u, std::size_t(seed >> 4) % mod; };
    for (int step = 0; step < 300; ++step) {
        if (next(2) == 0 && want.size() > 10) {
            std::size_t at = next(want.size());
            std::size_t n = std::min(want.size() - at, next(700));
            want.erase(want.begin() + long(at), want.begin() + long(at + n));
            store.erase(at, n);
        } else {
            std::size_t at = next(want.size() + 1);
            std::vector<std::string> add = numbered(next(900), "s" + std::to_string(step) + "_");
            want.insert(want.begin() + long(at), add.begin(), add.end());
            store.insert(at, add);
        }
        ASSERT_EQ(store.size(), want.size());
    }
    EXPECT_EQ(store.toVector(), want);
    std::size_t visited = 0;
    store.forEach(100, 1700, [&](std::size_t i, const std::string& l) {
        EXPECT_EQ(l, want[i]);
        ++visited;
    });
    EXPECT_EQ(visited, 1600u);
}

TEST(EditorLineStore, CopiesShareUntilOneChanges)
{
    LineStore a(numbered(2000));
    LineStore b = a;
    b.edit(1500) = "changed";
    b.erase(10, 5);
    EXPECT_EQ(a[1500], "l1500");
    EXPECT_EQ(a[10], "l10");
    EXPECT_EQ(a.size(), 2000u);
    EXPECT_EQ(b[1495], "changed");
    EXPECT_EQ(b[10], "l15");
}

TEST(EditorLineStore, CommonStartAndEnd)
{
    LineStore a(numbered(5000));
    LineStore b = a;
    b.edit(2500) = "x";
    b.insert(2501, {"y", "z"});
    std::size_t prefix = LineStore::commonPrefix(a, b);
    EXPECT_EQ(prefix, 2500u);
    EXPECT_EQ(LineStore::commonSuffix(a, b, prefix), 2499u);
    // Equal texts built apart compare line by line.
    LineStore c(numbered(600));
    LineStore d(numbered(600));
    EXPECT_EQ(LineStore::commonPrefix(c, d), 600u);
    EXPECT_EQ(LineStore::commonSuffix(c, d, 600), 0u);
    // A repeated line never counts twice.
    LineStore e(std::vector<std::string>{"a", "a"});
    LineStore f(std::vector<std::string>{"a", "a", "a"});
    std::size_t p = LineStore::commonPrefix(e, f);
    EXPECT_EQ(p, 2u);
    EXPECT_EQ(LineStore::commonSuffix(e, f, p), 0u);
}

} // namespace
} // namespace script::editor
