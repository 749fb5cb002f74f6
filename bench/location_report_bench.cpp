// RPTITEMALLLOCATION over 100,000 and 1,000,000 items in 500 locations:
// every location read in name order with its items attached, paginated with
// a group header and footer per location, to the page count the preview
// opens with. The data files are built once under bench-data/ and reused.
//
//   build/bench/location_report_bench
#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "reports/reportjob.h"

#include <QDir>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

using namespace hk;

namespace
{

constexpr long kLocations = 500;

const ReportDefinition &itemsByLocation(long items)
{
    static long ready = 0;
    if (ready != items) {
        if (ready) {
            ReleaseTable(Items);
            ReleaseTable(ItemsRooms);
            QDir::setCurrent(QStringLiteral("../.."));
        }
        ready = items;
        const std::string dir = items == 100000
                                    ? "bench-data/location-report"
                                    : "bench-data/location-report-" + std::to_string(items);
        std::filesystem::create_directories(dir);
        QDir::setCurrent(QString::fromStdString(dir));
        const bool fresh = !std::filesystem::exists("Hearthkp.Tps");
        UseTable(ItemsRooms);
        UseTable(Items);
        if (fresh) {
            std::mt19937 rng(11);
            Transaction txn(DataFile::program());
            txn.begin();
            for (long id = 1; id <= kLocations; ++id) {
                ItmRom = {};
                ItmRom.RoomsId = Long(id);
                ItmRom.Rooms =
                    "Room " + std::to_string(100000 + rng() % 900000) + " " + std::to_string(id);
                ItemsRooms.add();
            }
            for (long id = 1; id <= items; ++id) {
                Itm = {};
                Itm.ItemsId = Long(id);
                Itm.Items = "Item " + std::to_string(rng() % 1000000);
                Itm.Description = "Something of room " + std::to_string(1 + id % kLocations);
                Itm.RoomsId = Long(1 + id % kLocations);
                Itm.Quantity = Short(1 + rng() % 5);
                Itm.Values.setCents(std::int64_t(rng() % 100000));
                Itm.ItemYear = rng() % 2 ? Short(1950 + rng() % 75) : Short(0);
                Itm.SerialNumber = rng() % 3 ? "" : "SN-" + std::to_string(id);
                Itm.Notes = rng() % 4 ? "" : "A note";
                Items.add();
                if (id % 100000 == 0) {
                    txn.commit();
                    txn.begin();
                }
            }
            txn.commit();
        }
        OwnerName = "Bench Owner";
        OwnerAddress = "1 Bench Road";
        PrintDate = Long(reportToday());
    }
    return *findReport(QStringLiteral("RPTITEMALLLOCATION"));
}

void BM_ItemsByLocation(benchmark::State &state)
{
    const ReportDefinition &def = itemsByLocation(long(state.range(0)));
    int pages = 0;
    long records = 0;
    for (auto _ : state) {
        ReportJob job(def);
        if (job.begin())
            while (!job.batch()) {
            }
        job.finish();
        records = job.recordsRead();
        pages = job.pageCount();
    }
    state.counters["records"] = double(records);
    state.counters["records/s"] =
        benchmark::Counter(double(records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pages"] = double(pages);
}

BENCHMARK(BM_ItemsByLocation)
    ->Arg(100000)
    ->Arg(1000000)
    ->ArgName("items")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
