// File > "&Data Backup" on a data file of 1,000,000 books: the online-backup
// copy with its flush, check and rename, against `cp` of the same file into
// the same folder; and File > "&Restore Backup" of that file over another
// data file: its check, and the whole restore with the copy of the file as
// it was. The data file is built once under bench-data/.
#include "platform/data/backup.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/restore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

using namespace hk;

namespace
{

const std::string kDir = "bench-data/backup-1000000";
const std::string kSource = kDir + "/Hearthkp.Tps";
const std::string kTarget = kDir + "/copy";

void makeDataFile()
{
    if (std::filesystem::exists(kSource)) return;
    DataFile file(kSource);
    BooksRecord b;
    BookCategoryRecord c;
    Table books(TableId::Books, &b, &file), categories(TableId::BookCategory, &c, &file);
    books.create();
    categories.create();
    file.connect(false, {});
    sqlite3 *db = file.db();
    const char *sql =
        "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
        "INSERT INTO Books (BooksId, BookTitle, BookAuthor, BookCategoryId, BookValue, Pages, "
        "Publications, IsbnNumber, BookYear, BookCover) SELECT i, 'Title ' || hex(randomblob(8)), "
        "'Author ' || (i % 4999), 1 + i % 12, i % 10000, 50 + i % 900, 'Press ' || (i % 97), "
        "'0-' || (i % 1000) || '-' || i, 1900 + i % 125, 'Paperback' FROM n; COMMIT; "
        "PRAGMA wal_checkpoint(TRUNCATE)";
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        std::fprintf(stderr, "filling: %s\n", sqlite3_errmsg(db));
}

void BM_BackupDataFile(benchmark::State &state)
{
    makeDataFile();
    for (auto _ : state) {
        const BackupOutcome outcome = backupDataFile(kSource, kTarget + "/Hearthkp.Tps");
        if (outcome.code != 0) state.SkipWithError(outcome.reason.c_str());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(kSource));
}

void BM_CpDataFile(benchmark::State &state)
{
    makeDataFile();
    const std::string command = "cp '" + kSource + "' '" + kTarget + "/cp-Hearthkp.Tps'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
}

// cp and a flush of what it wrote, as the backup flushes its copy.
void BM_CpAndFlushDataFile(benchmark::State &state)
{
    makeDataFile();
    const std::string copy = kTarget + "/cp-Hearthkp.Tps";
    const std::string command = "cp '" + kSource + "' '" + copy + "' && sync '" + copy + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
}

// The check alone: quick_check with the CHECK constraints, and the layouts.
void BM_CheckBackup(benchmark::State &state)
{
    makeDataFile();
    for (auto _ : state) {
        const BackupSource backup(kSource, kTarget + "/Hearthkp.Tps");
        if (!backup.sound()) state.SkipWithError(backup.problem().c_str());
    }
}

// The check, the copy of the replaced file (1,000,000 books too), the
// restore in one transaction and the closing checkpoint of the log.
void BM_RestoreBackup(benchmark::State &state)
{
    makeDataFile();
    const std::string data = kTarget + "/restored/Hearthkp.Tps";
    std::filesystem::create_directories(kTarget + "/restored");
    backupDataFile(kSource, data);
    for (auto _ : state) {
        const BackupSource backup(kSource, data);
        DataFile file(data);
        const RestoreOutcome outcome =
            restoreBackup(backup, file, data + ".before-restore", DataFile::kTransactionTimeoutMs);
        if (outcome.failed != RestoreOutcome::Step::Done)
            state.SkipWithError(outcome.reason.c_str());
    }
}

BENCHMARK(BM_BackupDataFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CpDataFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CpAndFlushDataFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckBackup)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RestoreBackup)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    std::filesystem::create_directories(kTarget);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
