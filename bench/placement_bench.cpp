// The placement windows' figures and writes over 1,000,000 items, 200,000 of
// them in one location: the count and value sum of that location's items
// (read by the file in one statement), and one checked move of an item to
// another location and back. The data file is built once under
// bench-data/placement/ and reused.
//
//   build/bench/placement_bench
#include "dictionary/files.h"
#include "dictionary/globals.h"
#include "integrity/checked.h"
#include "integrity/tableopen.h"
#include "platform/data/childsums.h"
#include "platform/data/datafile.h"
#include "platform/data/table.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace hk;

namespace
{

constexpr long kItems = 1000000;
constexpr long kBig = 200000; // items in location 1
constexpr long kLocations = 1000;

void prepare()
{
    static bool ready = false;
    if (ready) return;
    ready = true;
    std::filesystem::create_directories("bench-data/placement");
    QDir::setCurrent(QStringLiteral("bench-data/placement"));
    const bool fresh = !std::filesystem::exists("Hearthkp.Tps");
    UseTable(ItemsRooms);
    UseTable(Items);
    if (!fresh) return;
    DataFile::program().begin();
    for (long id = 1; id <= kLocations; ++id) {
        ItmRom = {};
        ItmRom.RoomsId = Long(id);
        ItmRom.Rooms = "Room " + std::to_string(id);
        ItemsRooms.add();
    }
    for (long id = 1; id <= kItems; ++id) {
        Itm = {};
        Itm.ItemsId = Long(id);
        Itm.Items = "Item " + std::to_string(id);
        Itm.RoomsId = Long(id <= kBig ? 1 : 2 + id % (kLocations - 1));
        Itm.Values.setCents(id % 10000);
        Items.add();
    }
    DataFile::program().commit();
}

void figures(benchmark::State &state)
{
    prepare();
    const int link = Items.def().fieldIndex("Itm:RoomsId");
    const int values = Items.def().fieldIndex("ITM:VALUES");
    for (auto _ : state) {
        auto f = childSum(Items.file(), Items.def(), link, 1, values);
        benchmark::DoNotOptimize(f);
        if (!f || f->count != kBig) state.SkipWithError("wrong count");
    }
}
BENCHMARK(figures)->Unit(benchmark::kMillisecond);

// One move as the window makes it: the checked write and the figures of
// both locations afterwards.
void move(benchmark::State &state)
{
    prepare();
    const int link = Items.def().fieldIndex("Itm:RoomsId");
    const int values = Items.def().fieldIndex("ITM:VALUES");
    Long to = 2;
    for (auto _ : state) {
        Itm = {};
        Itm.ItemsId = 7;
        Items.watch();
        Items.get(Itm.Primary);
        Itm.RoomsId = to;
        if (UpdateRecordChecked(Items, false, NoteKeyBeforeChange(Items)) != Updated)
            state.SkipWithError("move refused");
        benchmark::DoNotOptimize(childSum(Items.file(), Items.def(), link, 1, values));
        benchmark::DoNotOptimize(childSum(Items.file(), Items.def(), link, to, values));
        to = to == 2 ? 1 : 2;
    }
}
BENCHMARK(move)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
