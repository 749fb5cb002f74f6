#include "platform/data/restore.h"

#include "dictionary/tables.h"
#include "platform/data/backup.h"
#include "platform/data/collation.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hk
{

namespace
{

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat x, y;
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

long long pragmaNumber(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *st = nullptr;
    long long n = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

std::string journalMode(sqlite3 *db)
{
    sqlite3_stmt *st = nullptr;
    std::string mode;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        if (const auto *t = sqlite3_column_text(st, 0)) mode = reinterpret_cast<const char *>(t);
    sqlite3_finalize(st);
    return mode;
}

std::string fileName(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

RestoreOutcome failure(RestoreOutcome::Step step, const FileError &error)
{
    return {step, error.code, error.driverMessage.empty() ? error.message : error.driverMessage};
}

} // namespace

BackupSource::BackupSource(std::string path, const std::string &dataFile) : path_(std::move(path))
{
    // Checking is reading the file, not a file operation of the user's.
    const FileError before = lastError();
    problem_ = check(dataFile);
    setDriverError(before.code, before.driverCode, before.driverMessage, before.file);
}

BackupSource::~BackupSource()
{
    sqlite3_close(db_);
}

std::string BackupSource::check(const std::string &dataFile)
{
    struct stat info;
    if (::stat(path_.c_str(), &info) != 0)
        return std::string("it cannot be read: ") + std::strerror(errno);
    if (!S_ISREG(info.st_mode)) return "it is not a file";
    if (sameFile(path_, dataFile)) return "it is the data file itself";
    // Read-only: the backup stays as it is, whatever happens here.
    int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db_, DataFile::kTransactionTimeoutMs);
        registerKeyCollation(db_);
        // Reading the schema tells whether this is a database at all.
        rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        return ((rc & 0xFF) == SQLITE_CORRUPT ? "the file is damaged ("
                                              : "it is not a data file (") +
               why + ")";
    }
    std::string reason;
    // With the CHECK constraints: a backup may have been written by anyone.
    if (!quickCheck(db_, true, reason)) return reason;
    int tables = 0;
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        const int code = checkLayout(db_, def);
        if (code == NoError) {
            ++tables;
        } else if (code != FileNotFound) {
            return "its table " + def.storedName() + " is not laid out as this program's (" +
                   (code == LayoutMismatch ? codeMessage(code) : lastError().driverMessage) + ")";
        }
    }
    // An empty database would pass every check above, and restoring it
    // would empty the data file.
    if (tables == 0) return "it holds none of this program's tables";
    return {};
}

RestoreOutcome restoreBackup(const BackupSource &backup, DataFile &file, const std::string &keepAs,
                             int busyMs)
{
    using Step = RestoreOutcome::Step;
    const std::string name = fileName(file.path());
    if (!backup.sound()) {
        setDriverError(FileSystemError, 0, backup.problem(), name);
        return failure(Step::Restoring, lastError());
    }
    const bool existed = ::access(file.path().c_str(), F_OK) == 0;
    if (file.connect(true, name, busyMs) != NoError) return failure(Step::Restoring, lastError());
    file.retain();
    struct Held {
        DataFile &file;
        ~Held() { file.release(); }
    } held{file};

    // The copy of the file as it is replaces an older one only once the
    // restore has succeeded, so a failed restore leaves the older copy too,
    // and a restore of that very copy reads it unchanged.
    const std::string pending = keepAs + "." + std::to_string(::getpid()) + ".kept";
    if (existed) {
        // Under a write lock, held on a connection of its own (the copy
        // cannot read through one that holds it): no other station's change
        // can fall between the copy and the restore and be lost from both.
        sqlite3 *guard = nullptr;
        int rc = sqlite3_open_v2(file.path().c_str(), &guard, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_busy_timeout(guard, busyMs);
            rc = sqlite3_exec(guard, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        }
        if (rc != SQLITE_OK) {
            setSqliteError(guard, rc, name);
            sqlite3_close(guard);
            return failure(Step::Keeping, lastError());
        }
        const BackupOutcome kept = copyDatabase(file.db(), pending, CopyCheck::Unchecked);
        sqlite3_exec(guard, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(guard);
        if (kept.code != NoError) {
            setDriverError(kept.code, 0, kept.reason, fileName(keepAs));
            return failure(Step::Keeping, lastError());
        }
    }
    auto restoreFailed = [&](int rc) {
        std::remove(pending.c_str());
        setSqliteError(file.db(), rc, name);
        return failure(Step::Restoring, lastError());
    };

    // In write-ahead-log mode SQLite copies only pages of the size the file
    // has: say so plainly rather than "attempt to write a readonly database".
    const long long pageSize = pragmaNumber(backup.db(), "PRAGMA page_size");
    const long long ownSize = pragmaNumber(file.db(), "PRAGMA page_size");
    if (pageSize != ownSize && journalMode(file.db()) == "wal") {
        std::remove(pending.c_str());
        setDriverError(FileSystemError, SQLITE_READONLY,
                       "the backup's pages are of " + std::to_string(pageSize) +
                           " bytes, the data file's of " + std::to_string(ownSize),
                       name);
        return failure(Step::Restoring, lastError());
    }

    file.setBusyTimeout(busyMs);
    sqlite3_backup *copy = sqlite3_backup_init(file.db(), "main", backup.db(), "main");
    if (!copy) return restoreFailed(sqlite3_errcode(file.db()));
    // One step: every page in one write transaction on the data file.
    const int step = sqlite3_backup_step(copy, -1);
    const int finished = sqlite3_backup_finish(copy);
    file.setBusyTimeout(DataFile::kTransactionTimeoutMs);
    if (step != SQLITE_DONE) return restoreFailed(step);
    if (finished != SQLITE_OK) return restoreFailed(finished);
    file.noteChange();

    if (existed && std::rename(pending.c_str(), keepAs.c_str()) != 0) {
        // The data is restored; the copy of what it was stays under the
        // name it was written to.
        setDriverError(FileSystemError, errno,
                       std::strerror(errno) + std::string("; the data as it was is in ") + pending,
                       fileName(keepAs));
        return failure(Step::Keeping, lastError());
    }
    // A backup this very run took while an insert form was open holds that
    // form's placeholder, noted as this station's: no form is open now.
    removeOwnPlaceholders(file);
    setError(NoError, name);
    return {};
}

} // namespace hk
