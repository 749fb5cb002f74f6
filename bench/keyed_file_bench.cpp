// Reading speed of the keyed-file service at 1,000 and 1,000,000 books:
// twenty records forward or backward from a random place, locating the first
// record at or after a value, and the last record. The data files are built
// once under bench-data/ beside the binary and reused.
//
//   build/bench/keyed_file_bench --benchmark_filter=/1000000
#include "dictionary/tables.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "platform/data/transaction.h"
#include "platform/data/view.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace hk;

namespace
{

const char *kWords[] = {"Garden", "River",  "Stone", "House",  "Winter",  "Letters", "Night",
                        "Island", "Silver", "Road",  "Bridge", "Harvest", "Light",   "Shadow",
                        "Empire", "Voyage", "Song",  "Glass",  "Orchard", "Tide"};

std::string randomWords(std::mt19937 &rng, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) {
        if (i) s += ' ';
        s += kWords[rng() % 20];
    }
    return s;
}

struct Station {
    std::unique_ptr<DataFile> file;
    BooksRecord b;
    std::unique_ptr<Table> books;
    std::vector<Position> positions; // random places in title order
    std::vector<std::string> titles; // random values to locate
};

Station &station(long count)
{
    static std::map<long, std::unique_ptr<Station>> stations;
    auto &s = stations[count];
    if (s) return *s;
    s = std::make_unique<Station>();
    std::filesystem::create_directories("bench-data");
    std::string path = "bench-data/books-" + std::to_string(count) + ".Tps";
    bool fresh = !std::filesystem::exists(path);
    s->file = std::make_unique<DataFile>(path);
    s->books = std::make_unique<Table>(TableId::Books, &s->b, s->file.get());
    Table &books = *s->books;
    if (fresh) books.create();
    if (books.open() != NoError) {
        std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(),
                     lastError().driverMessage.c_str());
        std::exit(1);
    }
    std::mt19937 rng(42);
    if (fresh) {
        Transaction txn(*s->file);
        txn.begin();
        for (long id = 1; id <= count; ++id) {
            s->b = BooksRecord{};
            s->b.BooksId = static_cast<Long>(id);
            s->b.BookTitle = randomWords(rng, 3);
            s->b.BookAuthor = randomWords(rng, 2);
            s->b.BookCategoryId = static_cast<Long>(rng() % 20 + 1);
            books.add();
        }
        txn.commit();
    }
    for (int i = 0; i < 1000; ++i) {
        s->b.BooksId = static_cast<Long>(rng() % count + 1);
        books.get(Bok.Primary);
        s->positions.push_back(books.position(Bok.DisplayByTitle));
        s->titles.push_back(randomWords(rng, 1));
    }
    return *s;
}

void NextTwenty(benchmark::State &state)
{
    Station &s = station(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        s.books->reset(s.positions[i++ % s.positions.size()]);
        for (int n = 0; n < 20; ++n)
            benchmark::DoNotOptimize(s.books->next());
    }
}

void PreviousTwenty(benchmark::State &state)
{
    Station &s = station(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        s.books->reset(s.positions[i++ % s.positions.size()]);
        for (int n = 0; n < 20; ++n)
            benchmark::DoNotOptimize(s.books->previous());
    }
}

// A page of twenty in one read, as a list fills itself.
void PageOfTwenty(benchmark::State &state)
{
    Station &s = station(state.range(0));
    View view(*s.books, Bok.DisplayByTitle);
    view.open();
    std::size_t i = 0;
    for (auto _ : state) {
        view.reset(s.positions[i++ % s.positions.size()]);
        benchmark::DoNotOptimize(view.fetch(true, 20, {}));
    }
}

void Locate(benchmark::State &state)
{
    Station &s = station(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        s.b = BooksRecord{};
        s.b.BookTitle = s.titles[i++ % s.titles.size()];
        s.books->setByKey(Bok.DisplayByTitle);
        benchmark::DoNotOptimize(s.books->next());
    }
}

void LastRecord(benchmark::State &state)
{
    Station &s = station(state.range(0));
    for (auto _ : state) {
        s.books->set(Bok.DisplayByTitle);
        benchmark::DoNotOptimize(s.books->previous());
    }
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
    b->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(NextTwenty)->Apply(sizes);
BENCHMARK(PreviousTwenty)->Apply(sizes);
BENCHMARK(PageOfTwenty)->Apply(sizes);
BENCHMARK(Locate)->Apply(sizes);
BENCHMARK(LastRecord)->Apply(sizes);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
