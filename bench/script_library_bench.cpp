// The script library's loops that once grew without bound: List_Sort (a
// bubble sort with an event-loop turn per pass before; a stable sort now),
// Power with an integral exponent (one multiplication per unit before),
// and a workbook of many cells written to .xlsx.
//
// The "Old" benchmarks run the former algorithms on small inputs, for the
// comparison of the same run.

#include "script/library/string_list.h"
#include "scripthost/list_routines.h"
#include "scripthost/spreadsheet/sheet_data.h"
#include "scripthost/spreadsheet/workbook_files.h"
#include "scripthost/text_routines.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>

namespace {

void randomList(script::TfsStringList& list, int n)
{
    list.Clear();
    std::mt19937 rng(7);
    for (int i = 0; i < n; ++i)
        list.Add(std::to_string(rng() % 100000) + " " + std::to_string(rng() % 1000) + " 1.5");
}

void BM_ListSort(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        script::TfsStringList list;
        randomList(list, n);
        state.ResumeTiming();
        tavrin::ListSort(&list, [] {});
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_ListSort)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The former List_Sort: adjacent exchanges, pass after pass, a call to the
// event loop after each pass.
void BM_ListSortOldBubble(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    volatile int ticks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        script::TfsStringList list;
        randomList(list, n);
        std::vector<std::string> lines;
        for (const auto& l : list.Lines())
            lines.push_back(l.text);
        state.ResumeTiming();
        bool swapped = true;
        while (swapped) {
            swapped = false;
            for (std::size_t i = 0; i + 1 < lines.size(); ++i)
                if (lines[i] > lines[i + 1]) {
                    std::swap(lines[i], lines[i + 1]);
                    swapped = true;
                }
            ticks = ticks + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BM_ListSortOldBubble)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PowerIntegral(benchmark::State& state)
{
    const double e = static_cast<double>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(tavrin::routines::Power(1.0000001, e));
}
BENCHMARK(BM_PowerIntegral)->Arg(1000)->Arg(1000000)->Arg(1000000000);

void BM_PowerOldRepeatedProduct(benchmark::State& state)
{
    const auto n = state.range(0);
    for (auto _ : state) {
        double r = 1;
        for (std::int64_t i = 0; i < n; ++i)
            r *= 1.0000001;
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PowerOldRepeatedProduct)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_MinMaxOfList(benchmark::State& state)
{
    script::TfsStringList list;
    randomList(list, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        double mn, mx;
        benchmark::DoNotOptimize(tavrin::GetMinMaxNumberInList(" ", &list, 1, mn, mx, [] {}));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MinMaxOfList)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SaveXlsx(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    tavrin::sheet::WorkbookData book;
    book.sheets.push_back(std::make_shared<tavrin::sheet::SheetData>("Sheet1"));
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= 10; ++c)
            book.sheets[0]->at(r, c).value = platform::Variant(r * 0.5 + c);
    std::string path = "/tmp/tavrin_bench_" + std::to_string(::getpid()) + ".xlsx";
    for (auto _ : state)
        tavrin::sheet::SaveWorkbook(path, book, tavrin::sheet::FileKind::Xlsx);
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * rows * 10);
}
BENCHMARK(BM_SaveXlsx)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
