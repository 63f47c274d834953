// The interpreter against the same algorithms in Python and Lua
// (bench/script_langs.sh runs the comparison). This program times one
// script:
//   script_run_bench --once FILE.pas [--hook]
// prints "compile_ms run_ms checksum", the run with an OnRunLine hook
// that counts lines when --hook is given. Without --once it runs the
// Google Benchmark suite: compile and run of each benchmark script at a
// small size, with and without the hook.

#include "platform/system/file_io.h"
#include "script/library/standard_library.h"
#include "script/program/script.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string scriptText(const std::string& path, const std::string& n)
{
    std::string text, error;
    if (!platform::readFile(path, text, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    for (std::size_t p; (p = text.find("@N@")) != std::string::npos;)
        text.replace(p, 3, n);
    return text;
}

struct Timed {
    double compileMs = 0, runMs = 0;
    std::string checksum;
    long lines = 0;
};

bool runOnce(const std::string& text, bool hook, Timed& t)
{
    using clock = std::chrono::steady_clock;
    script::TfsScript s(&script::InstallStandardLibrary());
    s.SetText(text);
    if (hook)
        s.OnRunLine = [&t](script::TfsScript&, const std::string&, const std::string&) { ++t.lines; };
    auto t0 = clock::now();
    if (!s.Compile()) {
        std::fprintf(stderr, "ERROR %s: %s\n", s.ErrorPosition().c_str(), s.ErrorText().c_str());
        return false;
    }
    auto t1 = clock::now();
    s.Execute();
    auto t2 = clock::now();
    t.compileMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
    t.runMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
    t.checksum = s.GetVariable("checksum").toString();
    return true;
}

const char* const kScripts[] = {"loop", "fib", "sieve", "mandel", "matmul"};
const char* const kSmall[] = {"200000", "20", "100000", "60", "40"};

std::string scriptPath(const char* name)
{
    return std::string(TAVRIN_BENCH_SCRIPTS) + "/" + name + ".pas";
}

void BM_Compile(benchmark::State& state)
{
    const std::string text = scriptText(scriptPath(kScripts[state.range(0)]), kSmall[state.range(0)]);
    for (auto _ : state) {
        script::TfsScript s(&script::InstallStandardLibrary());
        s.SetText(text);
        if (!s.Compile()) {
            state.SkipWithError(s.ErrorText().c_str());
            break;
        }
    }
    state.SetLabel(kScripts[state.range(0)]);
}

void BM_Run(benchmark::State& state)
{
    const std::string text = scriptText(scriptPath(kScripts[state.range(0)]), kSmall[state.range(0)]);
    script::TfsScript s(&script::InstallStandardLibrary());
    s.SetText(text);
    long lines = 0;
    if (state.range(1))
        s.OnRunLine = [&lines](script::TfsScript&, const std::string&, const std::string&) { ++lines; };
    if (!s.Compile()) {
        state.SkipWithError(s.ErrorText().c_str());
        return;
    }
    for (auto _ : state)
        s.Execute();
    state.SetLabel(std::string(kScripts[state.range(0)]) + (state.range(1) ? " +hook" : ""));
}

} // namespace

BENCHMARK(BM_Compile)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--once") == 0) {
        bool hook = argc >= 4 && std::strcmp(argv[3], "--hook") == 0;
        std::string text, error;
        if (!platform::readFile(argv[2], text, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        Timed t;
        try {
            if (!runOnce(text, hook, t))
                return 2;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "RUNTIME ERROR: %s\n", e.what());
            return 3;
        }
        std::printf("%.3f %.3f %s\n", t.compileMs, t.runMs, t.checksum.c_str());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
