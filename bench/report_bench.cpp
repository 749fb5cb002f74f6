// Reports of every shape at 100,000 and 1,000,000 records: the plain list
// (Books by Title), a grouped report (Books by Category), a parent with its
// titles (Video Cassette with Titles) and the magazine hierarchy (Magazines
// with Articles). For each: the time from the start of the run to the
// preview's page count (wall and CPU), the peak memory above what the
// process held before the run and what is still held once the pages are
// gone, and the time to write the whole report to a PDF file. A summary
// gives the 1,000,000 / 100,000 ratio of each time. The data files are built
// once under bench-data/ beside the binary and reused (the 1,000,000 ones
// take a few minutes each).
//
//   build/bench/report_bench [--benchmark_filter=grouped]
#include "reports/pageoutput.h"
#include "reports/reportpages.h"
#include "reportsets.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

using namespace hk;

namespace
{

// Resident memory from /proc/self/status: now, and the peak since the last
// resetPeak().
long statusKiB(const char *field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field) + 1));
    return 0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Figures {
    double previewWall = 0, previewCpu = 0, pdfWall = 0, pdfCpu = 0;
};
std::map<std::pair<int, long>, Figures> figures;

void releaseMemory()
{
    sqlite3_db_release_memory(DataFile::program().db());
    malloc_trim(0);
}

// range(0): the shape; range(1): the records.
void BM_Report(benchmark::State &state)
{
    const auto shape = bench::Shape(state.range(0));
    const long records = long(state.range(1));
    bench::ReportSet set(shape, records);
    const ReportDefinition &def = *findReport(QString::fromLatin1(bench::reportOf(shape)));
    releaseMemory();
    Figures f;
    for (auto _ : state) {
        const long before = statusKiB("VmRSS:");
        resetPeak();
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        auto job = std::make_unique<ReportJob>(def);
        if (job->begin())
            while (!job->batch()) {
            }
        job->finish();
        f.previewWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        f.previewCpu = cpuSeconds() - c0;
        state.SetIterationTime(f.previewWall);

        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = cpuSeconds();
        {
            auto pages = job->pages();
            const QString failure = savePdf(QStringLiteral("report.pdf"), *pages, def.name);
            if (!failure.isEmpty()) state.SkipWithError(failure.toStdString().c_str());
        }
        f.pdfWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
        f.pdfCpu = cpuSeconds() - c1;
        const long peak = statusKiB("VmHWM:");

        state.counters["pages"] = double(job->pageCount());
        job.reset();
        releaseMemory();
        state.counters["preview_s"] = f.previewWall;
        state.counters["preview_cpu_s"] = f.previewCpu;
        state.counters["pdf_s"] = f.pdfWall;
        state.counters["pdf_cpu_s"] = f.pdfCpu;
        state.counters["peak_MiB"] = double(peak - before) / 1024;
        state.counters["kept_MiB"] = double(statusKiB("VmRSS:") - before) / 1024;
        state.counters["pdf_MiB"] = double(std::filesystem::file_size("report.pdf")) / (1 << 20);
    }
    figures[{int(shape), records}] = f;
}

BENCHMARK(BM_Report)
    ->ArgsProduct({{0, 1, 2, 3}, {100000, 1000000}})
    ->ArgNames({"shape", "records"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

void printRatios()
{
    for (int s = 0; s < 4; ++s) {
        auto small = figures.find({s, 100000}), large = figures.find({s, 1000000});
        if (small == figures.end() || large == figures.end()) continue;
        const Figures &a = small->second, &b = large->second;
        std::printf("%-9s 1M/100k: preview %.1f (cpu %.1f), pdf %.1f (cpu %.1f)\n",
                    bench::shapeName(bench::Shape(s)), b.previewWall / a.previewWall,
                    b.previewCpu / a.previewCpu, b.pdfWall / a.pdfWall, b.pdfCpu / a.pdfCpu);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRatios();
    return 0;
}
