// The placement windows' figures and writes over 1,000,000 items, 200,000 of
// them in one location. With the window (offscreen): moving the highlight to
// that location until its first page and its "No. of Items in Location:" and
// "Value of Items:" are shown; one item dropped on another location, from
// the drop to both lists refreshed. Without it: the figures read alone, one
// checked move alone, and 1,000 inserts with and without the per-parent
// figures kept by the file. The data file is built once under
// bench-data/placement/ and reused.
//
//   build/bench/placement_bench
#include "browse/listcontrol.h"
#include "browse/lists/placement.h"
#include "dictionary/globals.h"
#include "integrity/checked.h"
#include "integrity/tableopen.h"
#include "platform/data/childsums.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTreeView>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>

using namespace hk;

namespace
{

constexpr long kItems = 1000000;
constexpr long kBig = 200000; // items in location 1, "Room 1": the first row
constexpr long kLocations = 1000;

ScriptedMessageService *quiet = nullptr;

// As another station would: every item of the first location back there.
void putBack()
{
    DataFile other(DataFile::program().path());
    other.connect(false, "Items");
    sqlite3_exec(other.db(),
                 ("UPDATE Items SET RoomsId = 1 WHERE ItemsId <= " + std::to_string(kBig) +
                  " AND RoomsId <> 1")
                     .c_str(),
                 nullptr, nullptr, nullptr);
}

void prepare()
{
    static bool ready = false;
    if (ready) return;
    ready = true;
    const bool fresh = !std::filesystem::exists("Hearthkp.Tps");
    UseTable(ItemsRooms);
    UseTable(Items);
    if (!fresh) return putBack(); // after a run that was cut short
    Transaction txn(DataFile::program());
    txn.begin();
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
    txn.commit();
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Processes events until `done`; false after ten seconds without.
template <typename Done> bool until(Done done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 10000) return false;
        QApplication::processEvents();
    }
    return true;
}

// The window on the items, open once for the benchmarks that use it.
Placement *window()
{
    static Placement *w = nullptr;
    if (w) return w;
    prepare();
    const Long id = start(std::make_unique<Placement>(placeItemsDef()));
    w = qobject_cast<Placement *>(findProcedure(id));
    while (w && !(w->firstList() && w->firstList()->isVisible()))
        QApplication::processEvents();
    settle();
    return w;
}

std::int64_t shownCount(Placement *w)
{
    const PictureValue v = w->content()->value(placeItemsDef().countDisplay);
    const auto *n = std::get_if<std::int64_t>(&v);
    return n ? *n : -1;
}

// The highlight moves from the second location to the first (200,000 items)
// until its first page and figures are on show.
void highlight(benchmark::State &state)
{
    Placement *w = window();
    if (!w) return state.SkipWithError("no window");
    for (auto _ : state) {
        state.PauseTiming();
        emit w->firstList()->rowHighlighted(2);
        settle();
        if (shownCount(w) == kBig) {
            state.SkipWithError("second location not shown");
            break;
        }
        state.ResumeTiming();
        emit w->firstList()->rowHighlighted(1);
        if (!until([w] { return shownCount(w) == kBig && !w->secondEngine()->rows().empty(); })) {
            state.SkipWithError("first location not shown");
            break;
        }
    }
}
BENCHMARK(highlight)->Unit(benchmark::kMillisecond);

// The highlighted item of the first location dropped on the second: the
// checked write in its transaction, both lists and the figures refreshed.
// Between drops another station puts it back.
void drop(benchmark::State &state)
{
    Placement *w = window();
    if (!w) return state.SkipWithError("no window");
    emit w->firstList()->rowHighlighted(1);
    settle();
    QTreeView *v = w->firstList()->view();
    const QPoint second = v->visualRect(v->model()->index(1, 0)).center();
    for (auto _ : state) {
        state.PauseTiming();
        putBack();
        post(w->id(), Notice::gainFocus());
        if (!until([w] { return shownCount(w) == kBig; })) {
            state.SkipWithError("not put back");
            break;
        }
        settle();
        state.ResumeTiming();
        w->drop(DragIdentifier, second);
        state.PauseTiming();
        if (shownCount(w) != kBig - 1) {
            const std::string why =
                quiet->boxes().empty() ? std::string("not moved") : quiet->boxes().back().text;
            state.SkipWithError(why.c_str());
            break;
        }
        state.ResumeTiming();
    }
    putBack();
}
BENCHMARK(drop)->Unit(benchmark::kMillisecond);

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
BENCHMARK(figures)->Unit(benchmark::kMicrosecond);

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
    putBack();
}
BENCHMARK(move)->Unit(benchmark::kMillisecond);

// 1,000 items added in one transaction, rolled back untimed; argument 0
// without the per-parent figures (as a file of an earlier version), 1 with.
void inserts(benchmark::State &state)
{
    prepare();
    DataFile &file = Items.file();
    const bool kept = state.range(0) != 0;
    if (!kept)
        sqlite3_exec(file.db(),
                     "DROP TRIGGER Items_SumInsert; DROP TRIGGER Items_SumDelete; "
                     "DROP TRIGGER Items_SumUpdate",
                     nullptr, nullptr, nullptr);
    if (childSumsKept(file.db(), Items.def()) != kept) state.SkipWithError("figures not as asked");
    Long id = kItems + 1;
    for (auto _ : state) {
        Transaction txn(file);
        txn.begin();
        for (int i = 0; i < 1000; ++i) {
            Itm = {};
            Itm.ItemsId = id + i;
            Itm.Items = "New " + std::to_string(i);
            Itm.RoomsId = Long(1 + i % kLocations);
            Itm.Values.setCents(i);
            Items.add();
        }
        state.PauseTiming();
        txn.rollback();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    if (!kept) ensureChildSums(file, Items.def());
}
BENCHMARK(inserts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string dir = "bench-data/placement";
    std::filesystem::create_directories(dir);
    qputenv("XDG_CONFIG_HOME", QDir(QString::fromStdString(dir)).absolutePath().toLocal8Bit());
    QApplication app(argc, argv);
    QDir::setCurrent(QString::fromStdString(dir));
    ScriptedMessageService messages;
    quiet = &messages;
    setMessageService(&messages);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
    settle();
    setMessageService(nullptr);
    return 0;
}
