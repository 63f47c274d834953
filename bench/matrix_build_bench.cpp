// Reading a large data file into a 1000 x 1000 visualization matrix: the
// file read and both passes over its lines.
//
//   matrix_build_bench --make FILE N     write N random points to FILE
//   matrix_build_bench --peak FILE       build once; print time and peak memory
//   matrix_build_bench FILE [gbench options]

#include "viewer/data/matrix_builder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::string gFile;

tavrin::MatrixSettings benchSettings()
{
    tavrin::MatrixSettings s;
    s.rect = {0, 999, 0, 999};
    s.yesScale = true;
    s.modeMatrixFill = tavrin::FillMid;
    return s;
}

int makeFile(const char* path, long n)
{
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return 1;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> xy(0, 1000), z(-50, 50);
    char line[96];
    std::fputs("* benchmark points: X Y Z\n", f);
    for (long i = 0; i < n; ++i) {
        int len = std::snprintf(line, sizeof line, "%.3f %.3f %.5f\n", xy(rng), xy(rng), z(rng));
        std::fwrite(line, 1, static_cast<std::size_t>(len), f);
    }
    return std::fclose(f) == 0 ? 0 : 1;
}

int peak(const char* path)
{
    auto t0 = std::chrono::steady_clock::now();
    tavrin::DataLines lines = tavrin::DataLines::fromFile(path);
    auto m = tavrin::BuildMatrix(lines, benchSettings());
    auto t1 = std::chrono::steady_clock::now();
    struct stat st {};
    ::stat(path, &st);
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    double fileMb = static_cast<double>(st.st_size) / 1e6;
    double matrixMb = static_cast<double>(m->cellCount() * sizeof(double)) / 1e6;
    double peakMb = static_cast<double>(ru.ru_maxrss) * 1024 / 1e6;
    double seconds = std::chrono::duration<double>(t1 - t0).count();
    std::printf("file %.1f MB, matrix %.1f MB, peak RSS %.1f MB (limit %.1f MB), %.3f s, %.0f MB/s through two passes\n",
                fileMb, matrixMb, peakMb, (fileMb + matrixMb) * 1.1, seconds, 2 * fileMb / seconds);
    return peakMb <= (fileMb + matrixMb) * 1.1 ? 0 : 2;
}

void BM_ReadAndBuild(benchmark::State& state)
{
    struct stat st {};
    ::stat(gFile.c_str(), &st);
    for (auto _ : state) {
        tavrin::DataLines lines = tavrin::DataLines::fromFile(gFile);
        auto m = tavrin::BuildMatrix(lines, benchSettings());
        benchmark::DoNotOptimize(m->cells());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * st.st_size);
}

void BM_BuildOnly(benchmark::State& state)
{
    tavrin::DataLines lines = tavrin::DataLines::fromFile(gFile);
    for (auto _ : state) {
        auto m = tavrin::BuildMatrix(lines, benchSettings());
        benchmark::DoNotOptimize(m->cells());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * lines.text().size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--make") == 0)
        return makeFile(argv[2], std::atol(argv[3]));
    if (argc >= 3 && std::strcmp(argv[1], "--peak") == 0)
        return peak(argv[2]);
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s FILE [benchmark options] | --make FILE N | --peak FILE\n", argv[0]);
        return 1;
    }
    gFile = argv[1];
    argv[1] = argv[0];
    --argc;
    ++argv;
    benchmark::RegisterBenchmark("ReadAndBuild/1000x1000", BM_ReadAndBuild)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BuildOnly/1000x1000", BM_BuildOnly)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
