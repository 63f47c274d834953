#pragma once
// Lets a long loop hand control to the user interface now and then: the
// tick runs once a time budget has passed, checked every few hundred steps
// so the loop itself pays almost nothing.

#include <chrono>
#include <cstdint>
#include <functional>

namespace tavrin {

class Pacer {
public:
    Pacer() = default;
    explicit Pacer(std::function<void()> tick, std::chrono::milliseconds budget = std::chrono::milliseconds(50))
        : tick_(std::move(tick)), budget_(budget), last_(std::chrono::steady_clock::now())
    {}

    void step()
    {
        if (tick_ && ++count_ >= kStride)
            check();
    }

private:
    static constexpr std::uint32_t kStride = 512;

    void check()
    {
        count_ = 0;
        auto now = std::chrono::steady_clock::now();
        if (now - last_ >= budget_) {
            tick_();
            last_ = std::chrono::steady_clock::now();
        }
    }

    std::function<void()> tick_;
    std::chrono::milliseconds budget_{50};
    std::chrono::steady_clock::time_point last_{};
    std::uint32_t count_ = 0;
};

} // namespace tavrin
