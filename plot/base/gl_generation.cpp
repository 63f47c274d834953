#include "plot/base/gl_generation.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace halvex::glgen {

namespace {
thread_local std::uint64_t current = 0;
std::atomic<std::uint64_t> next{1};

std::mutex liveMutex;
std::vector<std::uint64_t>& liveGenerations()
{
    static std::vector<std::uint64_t> live;
    return live;
}
} // namespace

std::uint64_t Current() noexcept
{
    return current;
}

void SetCurrent(std::uint64_t generation) noexcept
{
    current = generation;
}

std::uint64_t Begin() noexcept
{
    std::uint64_t g = next.fetch_add(1);
    std::lock_guard lock(liveMutex);
    liveGenerations().push_back(g);
    return g;
}

void Retire(std::uint64_t generation) noexcept
{
    if (generation == 0)
        return;
    if (current == generation)
        current = 0;
    std::lock_guard lock(liveMutex);
    std::erase(liveGenerations(), generation);
}

bool Live(std::uint64_t generation) noexcept
{
    std::lock_guard lock(liveMutex);
    const auto& v = liveGenerations();
    return std::find(v.begin(), v.end(), generation) != v.end();
}

} // namespace halvex::glgen
