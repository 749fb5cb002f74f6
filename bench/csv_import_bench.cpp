// CSV import of 1,000 and 100,000 books (with their category names, every
// form check, the running total), and of 1,000,000 items in a hundred
// locations (their descriptions going into the substring index, values that
// the total still holds), into a fresh data file, as File > Import
// Collection does it: a dry run over the whole file, then the write. The CSV
// files are generated once under bench-data/. Peak memory is the process's;
// run one size at a time to see that it does not grow with the file beyond
// SQLite's page cache, which is bounded and reported on its own:
//
//   build/bench/csv_import_bench --benchmark_filter='/1000$'
//   build/bench/csv_import_bench --benchmark_filter='/100000$'
//   /usr/bin/time -v build/bench/csv_import_bench --benchmark_filter=Items
#include "collection/csvimport.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

using namespace hk;

namespace
{

// Books in twenty categories, some with quotes, commas and line breaks, worth
// less than the running total can hold.
void writeBooks(const std::string &path, long books)
{
    QFile out(QString::fromStdString(path));
    out.open(QIODevice::WriteOnly);
    std::string chunk = "BookTitle,BookAuthor,BookCategory,BookValue,Pages,Publications,"
                        "IsbnNumber,BookYear,BookCover,BookSummary\r\n";
    for (long i = 1; i <= books; ++i) {
        const std::string n = std::to_string(i);
        chunk += (i % 7 ? "Book " + n : "\"Book " + n + " \"\"Σ, ½\"\"\"") + ",Author " +
                 std::to_string(i % 997) + ",Category " + std::to_string(i % 20) + "," +
                 std::to_string(i % 50) + ".25," + std::to_string(100 + i % 800) + ",Press,978-" +
                 n + "," + std::to_string(1900 + i % 120) + "," +
                 (i % 2 ? "Hardcover" : "Softcover") +
                 (i % 11 ? ",\r\n" : ",\"Two\r\nlines, one summary\"\r\n");
        if (chunk.size() > (1u << 20)) {
            out.write(chunk.data(), qint64(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), qint64(chunk.size()));
}

// Items in a hundred locations, each worth 0.01 to 9.99: a million of them
// come to about 5,000,000.00, within the most the total holds.
void writeItems(const std::string &path, long items)
{
    QFile out(QString::fromStdString(path));
    out.open(QIODevice::WriteOnly);
    std::string chunk = "Items,Description,Rooms,Quantity,Values,ItemYear,SerialNumber,Notes\r\n";
    for (long i = 1; i <= items; ++i) {
        const std::string n = std::to_string(i);
        const long cents = 1 + i % 999;
        chunk += "Item " + n + ",\"Brass lamp, number " + n + "\",Room " + std::to_string(i % 100) +
                 "," + std::to_string(1 + i % 9) + "," + std::to_string(cents / 100) + "." +
                 std::to_string(cents % 100 / 10) + std::to_string(cents % 10) + "," +
                 std::to_string(1950 + i % 70) + ",SN-" + n + ",\r\n";
        if (chunk.size() > (1u << 20)) {
            out.write(chunk.data(), qint64(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), qint64(chunk.size()));
}

// Imports `csv` (written by `make` once) into a fresh data file with a dry
// run and a write, as the import window does, and reports both times and the
// peak memory.
void importBench(benchmark::State &state, const char *name, const std::vector<TableId> &levels,
                 std::initializer_list<Table *> used, Table &counted,
                 void (*make)(const std::string &, long))
{
    static ScriptedMessageService quiet;
    setMessageService(&quiet);
    const long records = long(state.range(0));
    const std::string dir =
        std::string("bench-data/csv-import-") + name + "-" + std::to_string(records);
    std::filesystem::create_directories(dir);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir));
    const std::string csv = std::string(name) + ".csv";
    if (!std::filesystem::exists(csv)) make(csv, records);
    double dry = 0, write = 0;
    std::unique_ptr<TablesInUse> tables;
    for (auto _ : state) {
        state.PauseTiming();
        tables.reset();
        for (const char *f : {"Hearthkp.Tps", "Hearthkp.Tps-wal", "Hearthkp.Tps-shm"})
            std::filesystem::remove(f);
        tables = std::make_unique<TablesInUse>(used);
        state.ResumeTiming();

        QFile in(QString::fromStdString(csv));
        in.open(QIODevice::ReadOnly);
        CollectionImport importer(levels);
        const auto t0 = std::chrono::steady_clock::now();
        if (importer.run(DataFile::program(), in, CollectionImport::Mode::DryRun) != NoError)
            state.SkipWithError(("dry run failed: " + importer.failure().toStdString()).c_str());
        const auto t1 = std::chrono::steady_clock::now();
        in.seek(0);
        importer.setCreateMissing(true);
        if (importer.run(DataFile::program(), in, CollectionImport::Mode::Write) != NoError)
            state.SkipWithError(("import failed: " + importer.failure().toStdString() + " " +
                                 lastError().driverMessage)
                                    .c_str());
        const auto t2 = std::chrono::steady_clock::now();
        dry = std::chrono::duration<double>(t1 - t0).count();
        write = std::chrono::duration<double>(t2 - t1).count();
        if (counted.records() != records) state.SkipWithError("records missing");
    }
    tables.reset();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["dry_run_s"] = dry;
    state.counters["write_s"] = write;
    state.counters["file_MB"] = double(std::filesystem::file_size(csv)) / 1e6;
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024;
    // SQLite's page cache (up to 64 MB per connection) is the part of the
    // peak that grows with the data file; the rest is the import's.
    state.counters["sqlite_peak_MB"] = double(sqlite3_memory_highwater(0)) / (1 << 20);
    QDir::setCurrent(previous);
}

void BM_ImportBooks(benchmark::State &state)
{
    importBench(state, "books", {TableId::Books}, {&BookCategory, &Books, &HearthkpValue}, Books,
                writeBooks);
}
BENCHMARK(BM_ImportBooks)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportItems(benchmark::State &state)
{
    importBench(state, "items", {TableId::Items}, {&ItemsRooms, &Items, &HearthkpValue}, Items,
                writeItems);
}
BENCHMARK(BM_ImportItems)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
