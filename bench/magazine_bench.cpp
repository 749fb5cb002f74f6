// The magazine archive at 1,000,000 articles (250 magazines x 10 years x
// 10 issues x 40 articles), or with HK_FULL_ARCHIVE=1 at 9,600,000 (1,000
// magazines x 20 years x 12 issues x 40 articles; building it takes a
// while): moving the highlight in the issue list, which
// re-ranges the article list on the new issue's first page, as the linked
// window does it (no window); and the comment search's first page and page
// down of 20 rows, for a text that about 10 articles contain and one that
// about half contain, with and without ignore case. The data file is built
// once under bench-data/.
//
//   build/bench/magazine_bench
#include "browse/engine.h"
#include "browse/lists/magazines.h"
#include "browse/search.h"
#include "dictionary/tables.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"

#include "searchpages.h"
#include <QDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

using namespace hk;

namespace
{

constexpr int kPage = 20;
struct Shape {
    long magazines, years, issues, articles;
    long total() const { return magazines * years * issues * articles; }
};

const Shape &shape()
{
    static const Shape s = qEnvironmentVariableIsSet("HK_FULL_ARCHIVE") ? Shape{1000, 20, 12, 40}
                                                                        : Shape{250, 10, 10, 40};
    return s;
}

const char *const kWords[] = {"garden", "river",  "stone",  "house", "winter", "letters",
                              "night",  "island", "silver", "road",  "bridge", "harvest"};

// About half of the comments say "vintage", one in 100,000 "zebrawood".
std::string comment(std::mt19937 &rng, long n)
{
    std::string c = std::string(kWords[rng() % 12]) + " " + kWords[rng() % 12];
    if (rng() % 2) c += " vintage";
    if (n % 100000 == 7) c += " zebrawood";
    return c;
}

void fill()
{
    std::mt19937 rng(11);
    const auto [kMagazines, kYears, kIssues, kArticles] = shape();
    DataFile &file = MagArticle.file();
    Long year = 0, issue = 0, article = 0;
    for (long m = 1; m <= kMagazines; ++m) {
        Transaction txn(file);
        txn.begin();
        Mag = MagNameRecord{};
        Mag.MagazineNameId = static_cast<Long>(m);
        Mag.MagazineName = "Magazine " + std::to_string(m);
        MagName.add();
        for (long y = 0; y < kYears; ++y) {
            Yer = MagYearRecord{};
            Yer.MagazineYearId = ++year;
            Yer.MagazineNameId = static_cast<Long>(m);
            Yer.MagazineYear = static_cast<Short>(1990 + y);
            MagYear.add();
            for (long i = 1; i <= kIssues; ++i) {
                Iss = MagIssueRecord{};
                Iss.MagazineIssueId = ++issue;
                Iss.MagazineNameId = static_cast<Long>(m);
                Iss.MagazineYearId = year;
                Iss.MagazineIssue = static_cast<Short>(i);
                Iss.MagazineMonth = "May";
                Iss.Values.setCents(450);
                MagIssue.add();
                for (long a = 0; a < kArticles; ++a) {
                    Art = MagArticleRecord{};
                    Art.MagazineArticleId = ++article;
                    Art.MagazineNameId = static_cast<Long>(m);
                    Art.MagazineYearId = year;
                    Art.MagazineIssueId = issue;
                    Art.Article = std::string(kWords[rng() % 12]) + " " + std::to_string(article);
                    Art.Comments = comment(rng, article);
                    Art.Pages = static_cast<Short>(1 + a * 3);
                    MagArticle.add();
                }
            }
        }
        txn.commit();
    }
}

class Archive
{
  public:
    Archive()
    {
        static ScriptedMessageService quiet;
        setMessageService(&quiet);
        const std::string dir = "bench-data/magazines-" + std::to_string(shape().total());
        std::filesystem::create_directories(dir);
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir));
        const bool fresh = !std::filesystem::exists(DataFile::kFileName);
        tables_ = std::make_unique<TablesInUse>(std::initializer_list<Table *>{
            &MagName, &MagYear, &MagIssue, &MagArticle, &MagCategory, &HearthkpValue});
        if (fresh) fill();
    }
    ~Archive()
    {
        tables_.reset();
        DataFile::program().shutdown();
        QDir::setCurrent(previous_);
    }

  private:
    QString previous_;
    std::unique_ptr<TablesInUse> tables_;
};

// The issue list of a year in the middle of the archive, and its articles.
void IssueHighlight(benchmark::State &state)
{
    Archive archive;
    Yer = MagYearRecord{};
    Yer.MagazineYearId = static_cast<Long>(shape().magazines * shape().years / 2);
    MagYear.get(Yer.Primary);
    const LinkedDef &def = browseIssDef();
    GlobalRequest = 0;
    BrowseEngine issues(def.first, [] { return kPage; });
    BrowseEngine articles(def.second, [] { return kPage; });
    auto refreshBoth = [&] {
        issues.checkOrder();
        articles.checkOrder();
        issues.endRefresh();
        articles.endRefresh();
    };
    issues.onWindowRefresh = refreshBoth;
    articles.onWindowRefresh = refreshBoth;
    issues.begin();
    articles.begin();
    refreshBoth();
    int row = 1;
    for (auto _ : state) {
        row = row % static_cast<int>(shape().issues) + 1;
        issues.highlight(row);
    }
    state.counters["articles"] = static_cast<double>(articles.rows().size());
}

void SearchFirstPage(benchmark::State &state)
{
    Archive archive;
    bench::timeFirstPage(state, searchCommentsResultDef());
}

void SearchPageDown(benchmark::State &state)
{
    Archive archive;
    bench::timePageDown(state, searchCommentsResultDef());
}

} // namespace

BENCHMARK(IssueHighlight)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(SearchFirstPage)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"frequent", "ignorecase"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(SearchPageDown)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"frequent", "ignorecase"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
