// The video collection at 1,000 and 1,000,000 cassettes, each with one title:
// a cassette inserted through its form (both running numbers, the
// placeholder, the total and the record, each in its transaction), and the
// title lists joined to their cassette with a page of 20 rows (opening, page
// down, locating, the thumb, the last page; the titles of one cassette).
// Each data file is built once under bench-data/ and reused; run one size at
// a time:
//
//   build/bench/collection_bench --benchmark_filter='/1000/'
//   build/bench/collection_bench --benchmark_filter='/1000000/'
#include "browse/engine.h"
#include "browse/lists/browses.h"
#include "forms/formcore.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"
#include "sampledata.h"

#include <QDir>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

using namespace hk;

namespace
{

constexpr int kPage = 20;

void fillVideo(long cassettes)
{
    std::mt19937 rng(42);
    Transaction txn(VideoNumber.file());
    txn.begin();
    for (long i = 1; i <= cassettes; ++i) {
        VidNum = VideoNumberRecord{};
        VidNum.VideoNumberId = static_cast<Long>(i);
        VidNum.VideoNumber = static_cast<Long>(i);
        VidNum.VideoTitle = std::string(sample::kWords[rng() % 26]) + " " +
                            sample::kWords[rng() % 26] + " " + std::to_string(i);
        VidNum.VideoActor = sample::kNames[rng() % 26];
        VidNum.Values.setCents(static_cast<std::int64_t>(100 + rng() % 9000));
        VideoNumber.add();
        Vid = VideoRecord{};
        Vid.VideoId = static_cast<Long>(i);
        // Titles spread over the cassettes, so that a cassette's list is a range.
        Vid.VideoNumberId = static_cast<Long>(1 + rng() % cassettes);
        Vid.CounterStart = static_cast<Long>(1 + rng() % 360000);
        Vid.VideoTitle = std::string(sample::kWords[rng() % 26]) + " " +
                         sample::kWords[rng() % 26] + " " + std::to_string(i);
        Vid.VideoActor = std::string(sample::kNames[rng() % 26]) + ", " +
                         static_cast<char>('A' + rng() % 26) + ".";
        Video.add();
    }
    Hkv = HearthkpValueRecord{};
    HearthkpValue.add();
    txn.commit();
}

class Collection
{
  public:
    explicit Collection(long cassettes)
    {
        static ScriptedMessageService quiet;
        setMessageService(&quiet);
        const std::string dir = "bench-data/video-" + std::to_string(cassettes);
        std::filesystem::create_directories(dir);
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir));
        const bool fresh = !std::filesystem::exists(DataFile::kFileName);
        tables_ = std::make_unique<TablesInUse>(
            std::initializer_list<Table *>{&VideoNumber, &Video, &HearthkpValue});
        if (fresh) fillVideo(cassettes);
    }
    ~Collection()
    {
        tables_.reset();
        QDir::setCurrent(previous_);
    }

  private:
    QString previous_;
    std::unique_ptr<TablesInUse> tables_;
};

void InsertCassette(benchmark::State &state)
{
    Collection collection(state.range(0));
    const FormDef &def = *findForm("UpdateVideoNumber");
    const FieldRef title = findField("VIDNUM:VIDEOTITLE"), actor = findField("VIDNUM:VIDEOACTOR"),
                   value = findField("VIDNUM:VALUES");
    for (auto _ : state) {
        VidNum = VideoNumberRecord{};
        GlobalRequest = InsertRecord;
        FormCore form(def);
        if (!form.open()) state.SkipWithError("numbering failed");
        form.setText(title, "Benchmark");
        form.setText(actor, "Timer");
        form.setInteger(value, 100);
        if (form.complete() != FormCore::Outcome::Close) state.SkipWithError("not stored");
        form.close();
    }
    // The inserted cassettes go again (untimed, after the loop), so that
    // every run starts at the same size.
    Transaction txn(VideoNumber.file());
    txn.begin();
    VideoNumber.set(VidNum.Primary);
    while (VideoNumber.previous() == NoError && VidNum.VideoNumberId > state.range(0))
        VideoNumber.remove();
    txn.commit();
}

std::unique_ptr<BrowseEngine> openList(const BrowseDef &def)
{
    GlobalRequest = 0;
    auto engine = std::make_unique<BrowseEngine>(def, [] { return kPage; });
    engine->begin();
    engine->windowRefresh();
    return engine;
}

// One list operation, repeated; `titles` the joined list of every title,
// else one cassette's titles.
template <class Step> void onTitles(benchmark::State &state, bool everyTitle, Step step)
{
    Collection collection(state.range(0));
    VidNum = VideoNumberRecord{};
    VidNum.VideoNumberId = static_cast<Long>(state.range(0) / 2);
    auto e = openList(everyTitle ? videoTitleDef() : videoTitlesOfCassetteDef());
    int n = 0;
    for (auto _ : state)
        step(*e, ++n);
}

void TitlesOpen(benchmark::State &state)
{
    Collection collection(state.range(0));
    for (auto _ : state) {
        auto e = openList(videoTitleDef());
        benchmark::DoNotOptimize(e->rows().data());
    }
}

void TitlesPageDown(benchmark::State &state)
{
    onTitles(state, true, [](BrowseEngine &e, int n) {
        e.scroll(n % 40 == 0 ? ListScroll::Top : ListScroll::PageDown);
    });
}

void TitlesLocate(benchmark::State &state)
{
    std::vector<std::string> values;
    std::mt19937 rng(7);
    for (int i = 0; i < 256; ++i)
        values.push_back(std::string(sample::kWords[rng() % 26]) + " " +
                         sample::kWords[rng() % 26]);
    onTitles(state, true, [&values](BrowseEngine &e, int n) {
        e.locatorAccepted(values[std::size_t(n) % values.size()]);
    });
}

void TitlesThumbToMiddle(benchmark::State &state)
{
    onTitles(state, true, [](BrowseEngine &e, int n) { e.dragThumb(n % 2 ? 50 : 51); });
}

void TitlesBottom(benchmark::State &state)
{
    onTitles(state, true, [](BrowseEngine &e, int) { e.scroll(ListScroll::Bottom); });
}

void CassetteTitlesRefresh(benchmark::State &state)
{
    onTitles(state, false, [](BrowseEngine &e, int) { e.windowRefresh(Refresh::ReadAgain); });
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(1000)
        ->Arg(1000000)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(InsertCassette)->Apply(sizes)->Iterations(200);
BENCHMARK(TitlesOpen)->Apply(sizes);
BENCHMARK(TitlesPageDown)->Apply(sizes);
BENCHMARK(TitlesLocate)->Apply(sizes);
BENCHMARK(TitlesThumbToMiddle)->Apply(sizes);
BENCHMARK(TitlesBottom)->Apply(sizes);
BENCHMARK(CassetteTitlesRefresh)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
