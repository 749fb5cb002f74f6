// Report speed on 100,000 books: RPTBOOKTITLE read and paginated from the
// data file, paginated alone from records held in memory, and its pages
// written to a PDF file. Counters give records and pages per second and the
// process's peak resident memory. The data file is built once under
// bench-data/report-100000/ beside the binary and reused.
//
//   QT_QPA_PLATFORM=offscreen build/bench/report_bench
#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "reports/pagepainter.h"
#include "reports/reportjob.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrinter>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <random>

using namespace hk;

namespace
{

constexpr long kBooks = 100000;

const char *kWords[] = {"Garden", "River",  "Stone", "House",  "Winter",  "Letters", "Night",
                        "Island", "Silver", "Road",  "Bridge", "Harvest", "Light",   "Shadow",
                        "Empire", "Voyage", "Song",  "Glass",  "Orchard", "Tide"};

std::string words(std::mt19937 &rng, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += (i ? " " : "") + std::string(kWords[rng() % 20]);
    return s;
}

const ReportDefinition &booksByTitle()
{
    static bool ready = false;
    if (!ready) {
        ready = true;
        std::filesystem::create_directories("bench-data/report-100000");
        QDir::setCurrent(QStringLiteral("bench-data/report-100000"));
        const bool fresh = !std::filesystem::exists("Hearthkp.Tps");
        UseTable(Books);
        if (fresh) {
            std::mt19937 rng(7);
            Transaction txn(DataFile::program());
            txn.begin();
            for (long id = 1; id <= kBooks; ++id) {
                Bok = {};
                Bok.BooksId = Long(id);
                Bok.BookTitle = words(rng, 3);
                Bok.BookAuthor = words(rng, 2);
                Bok.BookCategoryId = Long(rng() % 20 + 1);
                Bok.BookValue.setCents(std::int64_t(rng() % 10000));
                Bok.Pages = Short(rng() % 900);
                Bok.Publications = rng() % 3 ? words(rng, 1) : "";
                Bok.IsbnNumber = rng() % 2 ? "0-00-" + std::to_string(id) : "";
                Bok.BookYear = Short(1900 + rng() % 120);
                Bok.BookCover = rng() % 2 ? "Paper" : "";
                Books.add();
            }
            txn.commit();
        }
        OwnerName = "Bench Owner";
        OwnerAddress = "1 Bench Road";
        PrintDate = Long(reportToday());
    }
    return *findReport(QStringLiteral("RPTBOOKTITLE"));
}

long peakKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

std::size_t primitiveBytes(const std::vector<Page> &pages)
{
    std::size_t bytes = pages.capacity() * sizeof(Page);
    for (const Page &p : pages) {
        bytes += p.texts.capacity() * sizeof(PageText) + p.rules.capacity() * sizeof(PageRule);
        for (const PageText &t : p.texts)
            if (t.text.capacity() > 15) bytes += t.text.capacity() + 1;
    }
    return bytes;
}

std::vector<Page> runReport(const ReportDefinition &def)
{
    ReportJob job(def);
    if (job.begin())
        while (!job.batch()) {
        }
    job.finish();
    return job.takePages();
}

void BM_ReadAndPaginate(benchmark::State &state)
{
    const ReportDefinition &def = booksByTitle();
    std::size_t pages = 0, bytes = 0;
    for (auto _ : state) {
        auto result = runReport(def);
        pages = result.size();
        bytes = primitiveBytes(result);
    }
    state.SetItemsProcessed(state.iterations() * kBooks);
    state.counters["records/s"] =
        benchmark::Counter(double(kBooks), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pages/s"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pages"] = double(pages);
    state.counters["primitive_MiB"] = double(bytes) / (1 << 20);
    state.counters["peak_rss_MiB"] = double(peakKiB()) / 1024;
}

// Pagination alone: the records are read once into memory and fed to the
// paginator through the record buffer.
void BM_PaginateOnly(benchmark::State &state)
{
    const ReportDefinition &def = booksByTitle();
    std::vector<BooksRecord> records;
    {
        auto source = def.source();
        source->open();
        while (source->next() == 0)
            records.push_back(Bok);
    }
    const ReportLayout layout = def.layout(def.texts);
    std::size_t pages = 0;
    for (auto _ : state) {
        Paginator p(layout);
        for (const BooksRecord &r : records) {
            Bok = r;
            for (const OptionalControl &c : def.optional)
                p.setHidden(c.id, c.blank());
            p.printDetail();
        }
        p.finish();
        pages = p.pages().size();
    }
    state.counters["records/s"] =
        benchmark::Counter(double(records.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pages/s"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_rss_MiB"] = double(peakKiB()) / 1024;
}

void BM_WritePdf(benchmark::State &state)
{
    const std::vector<Page> pages = runReport(booksByTitle());
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("books-by-title.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printPages(printer, pages, QStringLiteral("Books by title"));
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(pages.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["records/s"] =
        benchmark::Counter(double(kBooks), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["pdf_MiB"] =
        double(std::filesystem::file_size("books-by-title.pdf")) / (1 << 20);
    state.counters["peak_rss_MiB"] = double(peakKiB()) / 1024;
}

BENCHMARK(BM_ReadAndPaginate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PaginateOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WritePdf)->Unit(benchmark::kMillisecond)->Iterations(1);

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
