// The browse engine over 1,000 and 1,000,000 books, with a page of 20 rows
// and no window: opening on the first page, page down, row down at the end of
// the page, locating a title, dragging the thumb to the middle, and the last
// page. Each data file is built once under bench-data/ and reused. The peak
// memory counter is the process's; run one size at a time to compare them:
//
//   build/bench/browse_bench --benchmark_filter='/1000$'
//   build/bench/browse_bench --benchmark_filter='/1000000$'
#include "browse/engine.h"
#include "browse/lists/browses.h"
#include "integrity/tableopen.h"
#include "platform/messages.h"
#include "sampledata.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <random>

using namespace hk;

namespace
{

constexpr int kPage = 20;

// The data file of one size made current, its tables open for the scope.
class Shelf
{
  public:
    explicit Shelf(long books)
    {
        static ScriptedMessageService quiet;
        setMessageService(&quiet);
        const std::string dir = "bench-data/browse-" + std::to_string(books);
        std::filesystem::create_directories(dir);
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir));
        const bool fresh = !std::filesystem::exists(DataFile::kFileName);
        tables_ = std::make_unique<TablesInUse>(std::initializer_list<Table *>{
            &BookCategory, &Books, &HearthkpValue, &ItemsRooms, &Items});
        if (fresh) sample::fill(books);
    }
    ~Shelf()
    {
        tables_.reset();
        QDir::setCurrent(previous_);
    }

  private:
    QString previous_;
    std::unique_ptr<TablesInUse> tables_;
};

std::unique_ptr<BrowseEngine> openBooks()
{
    GlobalRequest = 0;
    auto engine = std::make_unique<BrowseEngine>(browseBooksDef(), [] { return kPage; });
    engine->begin();
    engine->windowRefresh();
    return engine;
}

void report(benchmark::State &state, const BrowseEngine &e)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["rows_held"] = static_cast<double>(e.rows().size());
}

void OpenFirstPage(benchmark::State &state)
{
    Shelf shelf(state.range(0));
    std::unique_ptr<BrowseEngine> e;
    for (auto _ : state) {
        e = openBooks();
        benchmark::DoNotOptimize(e->rows().data());
    }
    report(state, *e);
}

void PageDown(benchmark::State &state)
{
    Shelf shelf(state.range(0));
    auto e = openBooks();
    int n = 0;
    for (auto _ : state) {
        // Back to the top before the end of the smaller file (timed too:
        // it reads one page as well).
        e->scroll(++n % 40 == 0 ? ListScroll::Top : ListScroll::PageDown);
    }
    report(state, *e);
}

void RowDownAtPageEnd(benchmark::State &state)
{
    Shelf shelf(state.range(0));
    auto e = openBooks();
    e->highlight(kPage);
    int n = 0;
    for (auto _ : state) {
        if (++n % 900 == 0) {
            state.PauseTiming();
            e->scroll(ListScroll::Top);
            e->highlight(kPage);
            state.ResumeTiming();
        }
        e->scroll(ListScroll::RowDown);
    }
    report(state, *e);
}

void Locate(benchmark::State &state)
{
    Shelf shelf(state.range(0));
    auto e = openBooks();
    std::mt19937 rng(7);
    std::vector<std::string> values;
    for (int i = 0; i < 256; ++i)
        values.push_back(std::string(sample::kWords[rng() % 26]) + " " +
                         sample::kWords[rng() % 26]);
    std::size_t i = 0;
    for (auto _ : state)
        e->locatorAccepted(values[i++ % values.size()]);
    report(state, *e);
}

void ThumbToMiddle(benchmark::State &state)
{
    Shelf shelf(state.range(0));
    auto e = openBooks();
    int n = 0;
    for (auto _ : state)
        e->dragThumb(++n % 2 ? 50 : 51);
    report(state, *e);
}

void Bottom(benchmark::State &state)
{
    Shelf shelf(state.range(0));
    auto e = openBooks();
    for (auto _ : state)
        e->scroll(ListScroll::Bottom);
    report(state, *e);
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(1000)
        ->Arg(1000000)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(OpenFirstPage)->Apply(sizes);
BENCHMARK(PageDown)->Apply(sizes);
BENCHMARK(RowDownAtPageEnd)->Apply(sizes);
BENCHMARK(Locate)->Apply(sizes);
BENCHMARK(ThumbToMiddle)->Apply(sizes);
BENCHMARK(Bottom)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
