// What keeping every local extreme costs: the reduction of an N × N height
// grid to the lines an 800 × 600 picture draws (400 still, 160 while it
// turns), against a plain pick of every k-th line of the same count, which
// loses one-cell features. The reduction runs when the scene is built, once
// per grid and level, never per frame.
#include "plot/model/grid_reduction.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

std::vector<float> ripple(int n)
{
    std::vector<float> h(std::size_t(n) * std::size_t(n));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            double x = (i - n / 2) * 12.0 / n, y = (j - n / 2) * 12.0 / n;
            double r = std::sqrt(x * x + y * y);
            h[std::size_t(i) + std::size_t(j) * std::size_t(n)] = float(std::cos(r) * std::exp(-r / 6));
        }
    return h;
}

void BM_ReduceKeepingExtremes(benchmark::State& state)
{
    const int n = int(state.range(0)), limit = int(state.range(1));
    std::vector<float> h = ripple(n);
    halvex::ReducedGrid reduced;
    for (auto _ : state) {
        reduced.Clear();
        halvex::GridSource g = reduced.Reduce(halvex::GridSource{h.data(), nullptr, nullptr, n, n}, limit);
        benchmark::DoNotOptimize(g.heights);
    }
    state.counters["cells"] = double(n) * n;
}

// Every k-th line, as plain sampling would draw it.
void BM_PickEveryKthLine(benchmark::State& state)
{
    const int n = int(state.range(0)), limit = int(state.range(1));
    std::vector<float> h = ripple(n);
    std::vector<float> out;
    for (auto _ : state) {
        std::vector<std::int32_t> kept = halvex::KeptLines(n, limit);
        out.resize(kept.size() * kept.size());
        std::size_t k = 0;
        for (std::int32_t j : kept)
            for (std::int32_t i : kept)
                out[k++] = h[std::size_t(i) + std::size_t(j) * std::size_t(n)];
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["cells"] = double(n) * n;
}

} // namespace

BENCHMARK(BM_ReduceKeepingExtremes)->Args({1000, 400})->Args({1000, 160})->Args({2000, 400})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickEveryKthLine)->Args({1000, 400})->Args({1000, 160})->Args({2000, 400})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
