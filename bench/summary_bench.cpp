// File > "&Summary" over 1,000,000 records in each of Items, Books, Video,
// Music and MagArticle: from the menu click to the window showing its
// figures, on a station that has just started (no table open, no connection
// to the file). The "cold" case also drops the file from the system's cache
// first. The data file is built once under bench-data/ and reused.
#include "dictionary/globals.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/messages.h"
#include "shell/summary.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

using namespace hk;

namespace
{

constexpr long kRecords = 1000000;

// Rows enough to matter, with text spread over the keys.
void fillLarge(sqlite3 *db, const char *table, const char *columns, const char *values)
{
    const std::string sql = std::string("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                        "FROM n WHERE i < ") +
                            std::to_string(kRecords) + ") INSERT INTO " + table + " (" + columns +
                            ") SELECT " + values + " FROM n";
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::fprintf(stderr, "filling %s: %s\n", table, sqlite3_errmsg(db));
}

void makeDataFile()
{
    if (QFile::exists(DataFile::kFileName)) return;
    for (int i = 0; i < TableCount; ++i)
        table(TableId(i)).create();
    DataFile &file = DataFile::program();
    file.connect(false, {});
    sqlite3 *db = file.db();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    fillLarge(db, "Items", "ItemsId, Items, Description, RoomsId",
              "i, 'Item ' || hex(randomblob(4)), 'A thing ' || (i % 977), 1 + i % 10");
    fillLarge(db, "Books", "BooksId, BookTitle, BookAuthor, BookCategoryId",
              "i, 'Title ' || hex(randomblob(6)), 'Author ' || (i % 4999), 1 + i % 12");
    fillLarge(db, "Video", "VideoId, VideoNumberId, VideoTitle, VideoActor",
              "i, 1 + i / 8, 'Film ' || hex(randomblob(6)), 'Actor ' || (i % 2999)");
    fillLarge(db, "Music", "MusicId, MusicNumberId, MusicTitle, MusicArtist",
              "i, 1 + i / 12, 'Song ' || hex(randomblob(6)), 'Artist ' || (i % 2999)");
    fillLarge(db, "MagArticle",
              "MagazineArticleId, MagazineNameId, MagazineYearId, MagazineIssueId, Article, "
              "MagazineCategoryId, Comments",
              "i, 1 + i % 40, 1 + i % 400, 1 + i % 4000, 'Article ' || hex(randomblob(6)), "
              "1 + i % 30, 'Note ' || (i % 7919)");
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    DataFile::program().shutdown();
}

// As after the program's start: no table open, no connection.
void freshStation(bool dropCache)
{
    for (int i = 0; i < TableCount; ++i) {
        Table &t = table(TableId(i));
        if (t.isOpen()) t.close();
        t.Used = 0;
    }
    DataFile::program().shutdown();
    if (dropCache) {
        const int fd = ::open(DataFile::kFileName, O_RDONLY);
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

void openSummary(benchmark::State &state, bool cold)
{
    for (auto _ : state) {
        state.PauseTiming();
        freshStation(cold);
        state.ResumeTiming();
        // The window is open and its figures shown when start() returns;
        // the events after it paint them.
        const Long id = start(std::make_unique<FileSummary>());
        QApplication::processEvents();
        state.PauseTiming();
        if (EntryBooks != kRecords) state.SkipWithError("wrong count");
        if (Procedure *p = findProcedure(id); p && p->window()) p->window()->close();
        while (findProcedure(id))
            QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_SummaryOpenWarm(benchmark::State &state)
{
    openSummary(state, false);
}
void BM_SummaryOpenCold(benchmark::State &state)
{
    openSummary(state, true);
}
BENCHMARK(BM_SummaryOpenWarm)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SummaryOpenCold)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string dir = "bench-data/summary-" + std::to_string(kRecords);
    std::filesystem::create_directories(dir);
    qputenv("XDG_CONFIG_HOME", QDir(QString::fromStdString(dir)).absolutePath().toLocal8Bit());
    QApplication app(argc, argv);
    QDir::setCurrent(QString::fromStdString(dir));
    ScriptedMessageService quiet;
    setMessageService(&quiet);
    makeDataFile();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    freshStation(false);
    setMessageService(nullptr);
    return 0;
}
