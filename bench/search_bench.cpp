// The item search over 1,000,000 items whose descriptions are a few
// household words: the first result page and a page down of 20 rows, for a
// text that about 10 items contain and one that about half contain, with
// and without ignore case; and the first page where every match sorts after
// all other items, for texts that 10 items, 1%, 10% and half of them
// contain (the worst case of a plan that walks the description order). The
// data files are built once under bench-data/.
// InsertItems measures what the substring index costs: time per item added
// and the file's size, with the index and without it.
//
//   build/bench/search_bench
#include "browse/engine.h"
#include "browse/search.h"
#include "dictionary/tables.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/data/textsearch.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"

#include "searchpages.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

using namespace hk;

namespace
{

constexpr long kItems = 1000000;

const char *const kHouseholdWords[] = {
    "lamp",    "chair",  "table",   "oak",    "brass",   "desk",   "shade",  "blue",   "red",
    "green",   "wooden", "metal",   "glass",  "silver",  "small",  "large",  "modern", "garden",
    "tool",    "box",    "frame",   "mirror", "clock",   "rug",    "sofa",   "bed",    "shelf",
    "cabinet", "drawer", "plate",   "cup",    "bowl",    "vase",   "candle", "holder", "picture",
    "print",   "radio",  "speaker", "cable",  "phone",   "camera", "bag",    "coat",   "hat",
    "boot",    "scarf",  "ring",    "watch",  "pen",     "folder", "tape",   "knife",  "fork",
    "spoon",   "pan",    "pot",     "kettle", "toaster", "mixer",  "iron",   "ladder", "hammer",
    "saw",     "drill",  "wrench",  "pliers", "bucket",  "mop",    "broom",  "brush",  "sponge"};

// About half of the items are "vintage" and one in 100,000 "zebrawood",
// each word at any place in the description, so that the matches spread
// over the description order.
std::string description(std::mt19937 &rng, long i)
{
    std::vector<std::string> words;
    const int count = 2 + static_cast<int>(rng() % 3);
    for (int w = 0; w < count; ++w)
        words.emplace_back(kHouseholdWords[rng() % std::size(kHouseholdWords)]);
    auto insert = [&](const char *word) {
        words.insert(words.begin() + static_cast<long>(rng() % (words.size() + 1)), word);
    };
    if (rng() % 2) insert("vintage");
    if (i % 100000 == 7) insert("zebrawood");
    std::string d = words.front();
    d[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(d[0])));
    for (std::size_t w = 1; w < words.size(); ++w)
        d += " " + words[w];
    return d.substr(0, 35);
}

void addItems(long from, long count, std::mt19937 &rng)
{
    Transaction txn(Items.file());
    txn.begin();
    for (long i = from; i < from + count; ++i) {
        Itm = ItemsRecord{};
        Itm.ItemsId = static_cast<Long>(i);
        Itm.Items = "Item " + std::to_string(i);
        Itm.Description = description(rng, i);
        Itm.RoomsId = static_cast<Long>(1 + i % 10);
        Itm.Values.setCents(static_cast<std::int64_t>(500 + rng() % 50000));
        Items.add();
    }
    txn.commit();
}

// A data file made current, its tables open for the scope.
class Store
{
  public:
    explicit Store(const std::string &name)
    {
        static ScriptedMessageService quiet;
        setMessageService(&quiet);
        const std::string dir = "bench-data/" + name;
        std::filesystem::create_directories(dir);
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir));
        fresh_ = !std::filesystem::exists(DataFile::kFileName);
        tables_ = std::make_unique<TablesInUse>(
            std::initializer_list<Table *>{&ItemsRooms, &Items, &HearthkpValue});
    }
    ~Store()
    {
        tables_.reset();
        DataFile::program().shutdown();
        QDir::setCurrent(previous_);
    }
    bool fresh() const { return fresh_; }

  private:
    QString previous_;
    bool fresh_ = false;
    std::unique_ptr<TablesInUse> tables_;
};

void FirstPage(benchmark::State &state)
{
    Store store("search-1000000");
    if (store.fresh()) {
        std::mt19937 rng(7);
        for (long at = 1; at <= kItems; at += 100000)
            addItems(at, 100000, rng);
    }
    bench::timeFirstPage(state, searchDescriptionResultDef());
}

// The matches all sort at the end of the description order: each
// description begins with its place in that order, and the last 1%, 10% and
// 50% of them say "marble", "bronze" and "copper", the last ten "zebrawood"
// (instead of "copper", for room). A plan that walks the order reads the
// rest before its first match.
void addItemsInOrder(long from, long count, std::mt19937 &rng)
{
    Transaction txn(Items.file());
    txn.begin();
    for (long i = from; i < from + count; ++i) {
        // Row ids and places differ, as they do when items are added over time.
        const long place = (i * 7919) % kItems;
        char lead[16];
        std::snprintf(lead, sizeof lead, "%06ld", place);
        std::string d = lead;
        const bool last = place >= kItems - 10;
        if (!last) d += std::string(" ") + kHouseholdWords[rng() % std::size(kHouseholdWords)];
        if (place >= kItems - kItems / 100) d += " marble";
        if (place >= kItems - kItems / 10) d += " bronze";
        if (place >= kItems / 2 && !last) d += " copper";
        if (last) d += " zebrawood";
        Itm = ItemsRecord{};
        Itm.ItemsId = static_cast<Long>(i);
        Itm.Items = "Item " + std::to_string(i);
        Itm.Description = d;
        Itm.RoomsId = static_cast<Long>(1 + i % 10);
        Itm.Values.setCents(static_cast<std::int64_t>(500 + rng() % 50000));
        Items.add();
    }
    txn.commit();
}

// range(0): the text, from the rarest ("zebrawood", 10 items) through
// "marble", "bronze" to "copper" (half the items); range(1): case ignored.
void FirstPageAtTheEnd(benchmark::State &state)
{
    Store store("search-at-end-1000000");
    if (store.fresh()) {
        std::mt19937 rng(5);
        for (long at = 1; at <= kItems; at += 100000)
            addItemsInOrder(at, 100000, rng);
    }
    static const char *const texts[4][2] = {{"zebrawood", "ZEBRAwood"},
                                            {"marble", "MARBLE"},
                                            {"bronze", "Bronze"},
                                            {"copper", "COPPER"}};
    const bool ignoreCase = state.range(1) != 0;
    std::unique_ptr<BrowseEngine> e;
    for (auto _ : state)
        e = bench::openSearchResult(searchDescriptionResultDef(), texts[state.range(0)][ignoreCase],
                                    ignoreCase);
    state.counters["rows"] = static_cast<double>(e->rows().size());
}

void PageDown(benchmark::State &state)
{
    Store store("search-1000000");
    bench::timePageDown(state, searchDescriptionResultDef());
}

// range(0): 1 with the substring index, 0 with it dropped.
void InsertItems(benchmark::State &state)
{
    constexpr long kBatch = 100000;
    const bool indexed = state.range(0) != 0;
    std::filesystem::remove_all(indexed ? "bench-data/insert-indexed" : "bench-data/insert-plain");
    Store store(indexed ? "insert-indexed" : "insert-plain");
    if (!indexed)
        sqlite3_exec(Items.file().db(), dropSearchIndexSql(Items.def(), 2).c_str(), nullptr,
                     nullptr, nullptr);
    std::mt19937 rng(7);
    long next = 1;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        addItems(next, kBatch, rng);
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - t0;
        state.SetIterationTime(spent.count() / 1e6);
        state.counters["us_per_item"] = spent.count() / kBatch;
        next += kBatch;
    }
    sqlite3_exec(Items.file().db(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(DataFile::kFileName)) / 1e6;
}

} // namespace

BENCHMARK(FirstPage)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"frequent", "ignorecase"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(FirstPageAtTheEnd)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->ArgNames({"text", "ignorecase"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(PageDown)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"frequent", "ignorecase"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(InsertItems)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("indexed")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
