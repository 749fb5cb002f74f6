// CSV export of 1,000 and 1,000,000 books (with their category names) into a
// device that counts and discards, so the figure is the engine's and not the
// disk's. The data files are the browse benchmark's, built once under
// bench-data/ and reused. Peak memory is the process's; run one size at a
// time to see that it does not grow with the table:
//
//   build/bench/csv_export_bench --benchmark_filter='/1000$'
//   build/bench/csv_export_bench --benchmark_filter='/1000000$'
#include "collection/csvexport.h"
#include "integrity/tableopen.h"
#include "platform/data/fileerror.h"
#include "platform/messages.h"
#include "sampledata.h"

#include <QDir>
#include <QIODevice>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>

using namespace hk;

namespace
{

class Discard : public QIODevice
{
  public:
    Discard() { open(QIODevice::WriteOnly); }
    qint64 written = 0;

  protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 n) override
    {
        written += n;
        return n;
    }
};

void BM_ExportBooks(benchmark::State &state)
{
    static ScriptedMessageService quiet;
    setMessageService(&quiet);
    const long books = long(state.range(0));
    const std::string dir = "bench-data/browse-" + std::to_string(books);
    std::filesystem::create_directories(dir);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir));
    {
        const bool fresh = !std::filesystem::exists(DataFile::kFileName);
        TablesInUse tables{&BookCategory, &Books, &HearthkpValue, &ItemsRooms, &Items};
        if (fresh) sample::fill(books);
        qint64 bytes = 0;
        for (auto _ : state) {
            Discard out;
            CollectionExport e(TableId::Books);
            if (e.write(DataFile::program(), out) != NoError) state.SkipWithError("export failed");
            bytes = out.written;
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["MB_written"] = double(bytes) / 1e6;
        state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024;
    }
    QDir::setCurrent(previous);
}
BENCHMARK(BM_ExportBooks)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
