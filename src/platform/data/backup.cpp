#include "platform/data/backup.h"

#include "dictionary/tables.h"
#include "platform/data/connection.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/leftovers.h"
#include "platform/data/olderorder.h"
#include "platform/data/schema.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>

#include <algorithm>
#include <unistd.h>

namespace hk
{

namespace
{

// The system's words for a failure of SQLite on db.
std::string reasonOf(sqlite3 *db, int rc)
{
    // A full disk is reported by SQLite without the system's error number.
    if ((rc & 0xFF) == SQLITE_FULL) return std::strerror(ENOSPC);
    if (int os = db ? sqlite3_system_errno(db) : 0) return std::strerror(os);
    return db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
}

BackupOutcome failed(std::string reason)
{
    return {FileSystemError, std::move(reason)};
}

// Flushes a file (or a folder) to the disk.
bool flush(const std::string &path, std::string &reason)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        reason = std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Pages read through a memory map rather than one system call each: a file
// of attachments has many of them.
constexpr const char *kMapWholeFile = "PRAGMA mmap_size=68719476736";

// The copy holds a sound file with every table as the dictionary lays it
// out, and every table the source has.

bool checkCopy(sqlite3 *copy, sqlite3 *source, std::string &reason)
{
    // The copy is the source page for page, and the source enforced every
    // field's CHECK constraints when it was written: what a copy can get
    // wrong is its structure, which quick_check reads without them in a
    // sixth of the time.
    if (!quickCheck(copy, false, reason)) return false;
    const FileError before = lastError();
    // A file of an earlier version is copied as it is, to be converted
    // when it is opened or restored.
    std::vector<const TableDef *> older;
    bool sound = tablesUnderOlderOrder(copy, older) == SQLITE_OK;
    if (!sound) reason = std::string("the copy cannot be read: ") + sqlite3_errmsg(copy);
    for (int i = 0; i < TableCount && sound; ++i) {
        const TableDef &def = tableDef(TableId(i));
        if (std::find(older.begin(), older.end(), &def) != older.end()) continue;
        const int code = checkLayout(copy, def);
        if (code == NoError) continue;
        if (code == FileNotFound && checkLayout(source, def) == FileNotFound) continue;
        reason = "the copy of " + def.storedName() + " differs: " + codeMessage(code);
        sound = false;
    }
    // The checks above are not file operations of the user's.
    setDriverError(before.code, before.driverCode, before.driverMessage, before.file);
    return sound;
}

} // namespace

std::optional<std::int64_t> backupSize(const std::string &source)
{
    if (::access(source.c_str(), F_OK) != 0) return std::nullopt;
    sqlite3 *db = nullptr;
    std::optional<std::int64_t> size;
    if (openConnection(source, SQLITE_OPEN_READONLY, &db) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db,
                               "SELECT page_count * page_size FROM pragma_page_count(), "
                               "pragma_page_size()",
                               -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            size = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return size;
}

bool quickCheck(sqlite3 *db, bool constraints, std::string &reason)
{
    if (!constraints)
        sqlite3_exec(db, "PRAGMA ignore_check_constraints=1", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr);
    std::string result;
    while (st && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto *line = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        if (!result.empty()) result += "; ";
        result += line ? line : "";
    }
    sqlite3_finalize(st);
    if (!constraints)
        sqlite3_exec(db, "PRAGMA ignore_check_constraints=0", nullptr, nullptr, nullptr);
    if (rc != SQLITE_DONE) {
        reason = ((rc & 0xFF) == SQLITE_CORRUPT ? "the file is damaged: " : "") + reasonOf(db, rc);
        return false;
    }
    if (result != "ok") {
        reason = "the file is damaged: " + result;
        return false;
    }
    return true;
}

BackupOutcome copyInto(sqlite3 *from, const std::string &file, CopyCheck check)
{
    auto discard = [&file] {
        std::remove(file.c_str());
        std::remove((file + "-journal").c_str());
    };
    // Made here first, so that a folder that cannot be written is named
    // with the system's own reason (SQLite would report what it tried last).
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return failed("cannot write in " + folderOf(file) + ": " + std::strerror(errno));
    ::close(fd);

    sqlite3 *to = nullptr;
    auto finish = [&](BackupOutcome outcome) {
        sqlite3_close(to);
        if (outcome.code != NoError) discard();
        return outcome;
    };
    int rc = openConnection(file, SQLITE_OPEN_READWRITE, &to);
    if (rc != SQLITE_OK) return finish(failed(reasonOf(to, rc)));
    // The file is thrown away on any failure, so its journal need not reach
    // the disk; it is flushed once, whole, when it is complete.
    sqlite3_exec(to, "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF", nullptr, nullptr,
                 nullptr);
    // The check after the copy reads every page again, also those of large
    // attachments: mapped, the pages are read without a copy each.
    sqlite3_exec(to, kMapWholeFile, nullptr, nullptr, nullptr);

    sqlite3_backup *copy = sqlite3_backup_init(to, "main", from, "main");
    if (!copy) return finish(failed(reasonOf(to, sqlite3_errcode(to))));
    // One step copies every page under one read transaction: one committed
    // moment of the file, whatever other stations write meanwhile. A station
    // that keeps the file locked is waited for as long as a transaction
    // would be, then the copy fails rather than hang.
    const auto giveUp = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(DataFile::kTransactionTimeoutMs);
    do {
        rc = sqlite3_backup_step(copy, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(50);
    } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) &&
             std::chrono::steady_clock::now() < giveUp);
    const int step = rc;
    rc = sqlite3_backup_finish(copy);
    if (step != SQLITE_DONE || rc != SQLITE_OK)
        return finish(failed(reasonOf(to, step != SQLITE_DONE ? step : rc)));

    std::string reason;
    if (check == CopyCheck::AsDataFile && !checkCopy(to, from, reason))
        return finish(failed(reason));
    rc = sqlite3_close(to);
    to = nullptr;
    if (rc != SQLITE_OK) return finish(failed(sqlite3_errstr(rc)));
    if (!flush(file, reason)) return finish(failed(reason));
    return finish({});
}

BackupOutcome copyDatabase(sqlite3 *from, const std::string &target, CopyCheck check)
{
    // What copies cut off earlier left beside the target goes first: it
    // would take the free space this copy needs.
    removeLeftovers(target, kCopySuffix);
    const std::string temp = stationFileName(target, kCopySuffix);
    std::remove(temp.c_str());
    BackupOutcome outcome = copyInto(from, temp, check);
    if (outcome.code != NoError) return outcome;
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temp.c_str());
        return failed(why);
    }
    // The rename itself is on the disk only once its folder is.
    std::string reason;
    flush(folderOf(target), reason);
    return outcome;
}

BackupOutcome backupDataFile(const std::string &source, const std::string &target)
{
    sqlite3 *from = nullptr;
    // Read-only and never created: a missing data file is an error here.
    const int rc = openConnection(source, SQLITE_OPEN_READONLY, &from);
    BackupOutcome outcome;
    if (rc != SQLITE_OK) {
        outcome = failed(reasonOf(from, rc));
    } else {
        sqlite3_busy_timeout(from, 2000);
        sqlite3_exec(from, kMapWholeFile, nullptr, nullptr, nullptr);
        outcome = copyDatabase(from, target, CopyCheck::AsDataFile);
    }
    sqlite3_close(from);
    return outcome;
}

} // namespace hk
