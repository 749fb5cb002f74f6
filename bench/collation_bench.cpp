// The key rule's cost: a million comparisons of neighbouring titles under
// the rule (HKCASE2) and under the earlier one (HKCASE1, case-blind code
// points), for plain ASCII titles and for titles with accented letters; and
// the conversion of a file made under the earlier rule, at 100,000 books.
//
//   build/bench/collation_bench
#include "dictionary/tables.h"
#include "platform/data/childsums.h"
#include "platform/data/collation.h"
#include "platform/data/connection.h"
#include "platform/data/counts.h"
#include "platform/data/olderorder.h"
#include "platform/data/schema.h"
#include "platform/data/textsearch.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace hk;

namespace
{

constexpr std::size_t kPairs = 1'000'000;

const char *kPlain[] = {"Garden", "River",  "Stone", "House",  "Winter",  "Letters", "Night",
                        "Island", "Silver", "Road",  "Bridge", "Harvest", "Light",   "Shadow"};
const char *kAccented[] = {"Café", "Müller", "Ångström", "Straße", "Éclair", "Øresund", "Crème",
                           "Zoë",  "Łódź",   "Garçon",   "Señor",  "Ærø",    "Über",    "Naïve"};

// kPairs + 1 titles of three words; accented: one word in two from the
// accented list. Sorted, so that neighbours share their start as keys do
// in an index.
const std::vector<std::string> &titles(bool accented)
{
    static std::vector<std::string> all[2];
    auto &t = all[accented];
    if (!t.empty()) return t;
    std::mt19937 rng(42);
    t.reserve(kPairs + 1);
    for (std::size_t i = 0; i <= kPairs; ++i) {
        std::string s;
        for (int w = 0; w < 3; ++w) {
            if (w) s += ' ';
            s += accented && rng() % 2 ? kAccented[rng() % 14] : kPlain[rng() % 14];
        }
        t.push_back(std::move(s));
    }
    std::sort(t.begin(), t.end(),
              [](const std::string &a, const std::string &b) { return compareKeyText(a, b) < 0; });
    return t;
}

// Each title against a partner: its neighbour (range 1 = 0), as an index's
// search meets them near the end, or one at random (range 1 = 1), as at its
// first steps.
const std::vector<std::size_t> &partners(bool random)
{
    static std::vector<std::size_t> all[2];
    auto &p = all[random];
    if (!p.empty()) return p;
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < kPairs; ++i)
        p.push_back(random ? rng() % (kPairs + 1) : i + 1);
    return p;
}

template <int (*compare)(std::string_view, std::string_view)>
void BM_MillionComparisons(benchmark::State &state)
{
    const auto &t = titles(state.range(0) != 0);
    const auto &p = partners(state.range(1) != 0);
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 0; i < kPairs; ++i)
            sum += compare(t[i], t[p[i]]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(std::string(state.range(0) ? "accented titles" : "ASCII titles") +
                   (state.range(1) ? ", random pairs" : ", neighbours"));
}
BENCHMARK(BM_MillionComparisons<compareKeyText>)
    ->Name("MillionComparisons/HKCASE2")
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MillionComparisons<compareFoldedText>)
    ->Name("MillionComparisons/HKCASE1")
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A file of `books` books as the earlier version made it.
void makeOlderFile(const std::string &path, long books)
{
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
    sqlite3 *db = nullptr;
    openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &db);
    const char *older = kOlderCollationNames.front();
    std::string sql = "PRAGMA journal_mode=WAL; BEGIN;\n";
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        sql += createTableSql(def, older) + ";\n";
        for (std::size_t k = 0; k < def.keys.size(); ++k)
            sql += createIndexSql(def, static_cast<int>(k), older) + ";\n";
        for (int f : def.searched)
            sql += createSearchIndexSql(def, f);
    }
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    for (int i = 0; i < TableCount; ++i) {
        startCount(db, tableDef(TableId(i)));
        startChildSums(db, tableDef(TableId(i)));
    }
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Books (BooksId, BookTitle, BookAuthor, BookCategoryId, "
                       "BookValue) VALUES (?1, ?2, ?3, ?4, ?5)",
                       -1, &st, nullptr);
    const auto &t = titles(true);
    for (long i = 1; i <= books; ++i) {
        sqlite3_bind_int64(st, 1, i);
        sqlite3_bind_text(st, 2, t[i * 7 % kPairs].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, t[i * 13 % kPairs].c_str(), 25, SQLITE_TRANSIENT);
        sqlite3_bind_int64(st, 4, i % 20);
        sqlite3_bind_int64(st, 5, i % 5000);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void BM_ConvertOlderFile(benchmark::State &state)
{
    std::filesystem::create_directories("bench-data");
    const std::string path = "bench-data/older-" + std::to_string(state.range(0)) + ".Tps";
    for (auto _ : state) {
        state.PauseTiming();
        makeOlderFile(path, state.range(0));
        sqlite3 *db = nullptr;
        openConnection(path, SQLITE_OPEN_READWRITE, &db);
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (convertOlderOrder(db) != SQLITE_OK) state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConvertOlderFile)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
