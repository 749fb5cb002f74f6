#include "platform/data/restore.h"

#include "dictionary/tables.h"
#include "platform/data/attachments.h"
#include "platform/data/backup.h"
#include "platform/data/connection.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/leftovers.h"
#include "platform/data/olderorder.h"
#include "platform/data/ownschema.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

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

std::string fileName(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

RestoreOutcome failure(RestoreOutcome::Step step, const FileError &error)
{
    return {step, error.code, error.driverMessage.empty() ? error.message : error.driverMessage};
}

// Where a step of the rebuild failed: its code and the connection that
// says why.
struct Failed {
    int rc = SQLITE_OK;
    sqlite3 *db = nullptr;
};

Failed run(sqlite3 *db, const std::string &sql)
{
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    return {rc, rc == SQLITE_OK ? nullptr : db};
}

// Copies the rows of one table from the backup, row ids and all, into the
// table of that name in the data file, which checks each against its own
// definition.
Failed copyRows(sqlite3 *from, sqlite3 *to, const std::string &table,
                const std::vector<std::string> &columns)
{
    std::string list = "rowid", marks = "?";
    for (const std::string &c : columns) {
        list += ", " + quoteName(c);
        marks += ", ?";
    }
    sqlite3_stmt *read = nullptr, *write = nullptr;
    Failed failed;
    int rc = sqlite3_prepare_v2(from, ("SELECT " + list + " FROM " + quoteName(table)).c_str(), -1,
                                &read, nullptr);
    if (rc != SQLITE_OK) failed = {rc, from};
    if (!failed.db) {
        rc = sqlite3_prepare_v2(
            to,
            ("INSERT INTO " + quoteName(table) + " (" + list + ") VALUES (" + marks + ")").c_str(),
            -1, &write, nullptr);
        if (rc != SQLITE_OK) failed = {rc, to};
    }
    while (!failed.db && (rc = sqlite3_step(read)) == SQLITE_ROW) {
        for (int c = 0; c <= static_cast<int>(columns.size()); ++c)
            sqlite3_bind_value(write, c + 1, sqlite3_column_value(read, c));
        if ((rc = sqlite3_step(write)) != SQLITE_DONE) failed = {rc, to};
        sqlite3_reset(write);
    }
    if (!failed.db && rc != SQLITE_DONE) failed = {rc, from};
    sqlite3_finalize(read);
    sqlite3_finalize(write);
    return failed;
}

// Drops every object of the data file's schema but SQLite's own.
Failed dropAll(sqlite3 *db)
{
    // Triggers and views first, then virtual tables (which take their own
    // tables with them), then whatever tables are left with their indexes.
    for (const char *what :
         {"type IN ('trigger', 'view')", "type = 'table' AND sql LIKE 'CREATE VIRTUAL TABLE%'",
          "type = 'table'"}) {
        std::vector<std::pair<std::string, std::string>> objects;
        sqlite3_stmt *st = nullptr;
        int rc = sqlite3_prepare_v2(db,
                                    (std::string("SELECT type, name FROM sqlite_master WHERE ") +
                                     what + " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'")
                                        .c_str(),
                                    -1, &st, nullptr);
        while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            objects.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)),
                                 reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
            rc = SQLITE_OK;
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) return {rc, db};
        for (const auto &[type, name] : objects) {
            std::string upper = type;
            for (char &c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (Failed f = run(db, "DROP " + upper + " IF EXISTS " + quoteName(name)); f.db)
                return f;
        }
    }
    return {};
}

// In the write transaction open on `to`: replaces the data file's schema and
// records by the backup's records, under the schema the dictionary derives.
// Only the records are taken from the backup: the tables, their indexes and
// triggers, the kept counts and figures and the substring indexes are made
// afresh, so nothing of the backup's own making runs or stays.
Failed rebuildFrom(sqlite3 *from, sqlite3 *to)
{
    std::vector<const TableDef *> older;
    if (const int rc = tablesUnderOlderOrder(from, older); rc != SQLITE_OK) return {rc, from};
    if (Failed f = dropAll(to); f.db) return f;
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        // A table of an earlier version comes under the current key rule
        // like any other: only its records are taken.
        const bool earlier = std::find(older.begin(), older.end(), &def) != older.end();
        if (!earlier && checkLayout(from, def) != NoError) continue; // not in the backup
        std::vector<std::string> columns;
        for (const FieldDef &f : def.fields)
            columns.push_back(f.column);
        if (Failed f = run(to, createTableSql(def)); f.db) return f;
        if (Failed f = copyRows(from, to, def.label, columns); f.db) return f;
        if (const int rc = createTableCompanions(to, def); rc != SQLITE_OK) return {rc, to};
    }
    // The photos and documents of the records restored, numbers and all.
    if (const int rc = copyAttachments(from, to); rc != SQLITE_OK) return {rc, to};
    // The notes of the placeholders among those records, so that those of
    // stations that have gone are removed as usual.
    if (sqlite3_table_column_metadata(from, "main", "HkPlaceholders", nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr) == SQLITE_OK) {
        if (Failed f = run(to, placeholdersTableSql()); f.db) return f;
        if (Failed f = copyRows(from, to, "HkPlaceholders",
                                {"TableLabel", "RowNo", "Pid", "Started", "Boot", "Host"});
            f.db)
            return f;
    }
    return {};
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
    int rc = openConnection(path_, SQLITE_OPEN_READONLY, &db_);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db_, DataFile::kTransactionTimeoutMs);
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
    if (!quickCheck(db_, true, reason)) return reason;
    if (rc = findForeignCode(db_, foreign_); rc != SQLITE_OK)
        return std::string("its schema cannot be read: ") + sqlite3_errmsg(db_);
    if (!foreign_.empty())
        return "it holds " + describeObjects(foreign_) + ", which this program does not make";
    // A backup of an earlier version: its tables name that version's key
    // rule, and are restored under the current one.
    std::vector<const TableDef *> older;
    if (rc = tablesUnderOlderOrder(db_, older); rc != SQLITE_OK)
        return std::string("its schema cannot be read: ") + sqlite3_errmsg(db_);
    int tables = 0;
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        const bool earlier = std::find(older.begin(), older.end(), &def) != older.end();
        int code = earlier ? NoError : checkLayout(db_, def);
        if (code == FileNotFound) continue;
        if (code != NoError)
            return "its table " + def.storedName() + " is not laid out as this program's (" +
                   (code == LayoutMismatch ? codeMessage(code) : lastError().driverMessage) + ")";
        // A backup may have been written by anyone, also past the
        // constraints (which a read-only quick_check does not look at).
        long long broken = 0;
        if (countBrokenRecords(db_, def, broken) != SQLITE_OK)
            return std::string("it cannot be read: ") + sqlite3_errmsg(db_);
        if (broken > 0)
            return std::to_string(broken) + (broken == 1 ? " record" : " records") +
                   " of its table " + def.storedName() + (broken == 1 ? " holds" : " hold") +
                   " values that no record can hold";
        // Keys in another order than the program's would be copied into
        // nothing (the indexes are made afresh), but they tell of a file
        // that another program has written.
        if (code = earlier ? NoError : checkKeys(db_, def); code != NoError)
            return "the keys of its table " + def.storedName() + " are not this program's (" +
                   (code == KeysInvalid ? codeMessage(code) : lastError().driverMessage) + ")";
        ++tables;
    }
    // An empty database would pass every check above, and restoring it
    // would empty the data file.
    if (tables == 0) return "it holds none of this program's tables";
    // Nothing but the program's own: a file that holds anything else was
    // made or changed by another program, whose code must not come along.
    if (std::string why = schemaDifference(db_); !why.empty()) return why;
    // Its photos and documents are held to their rules as the records are.
    long long broken = 0;
    if (countBrokenAttachments(db_, broken) != SQLITE_OK)
        return std::string("it cannot be read: ") + sqlite3_errmsg(db_);
    if (broken > 0)
        return std::to_string(broken) +
               (broken == 1 ? " of its photos and documents holds"
                            : " of its photos and documents hold") +
               " values that no file can hold";
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
    // A new file is made as the program makes its data file (with its
    // write-ahead log). One that is there is reached on connections of the
    // restore's own, which run nothing of the file's: whatever it holds of
    // anyone else's making is dropped with the rest.
    if (!existed && file.connect(true, name, busyMs) != NoError)
        return failure(Step::Restoring, lastError());
    if (!existed) file.retain();
    struct Held {
        DataFile &file;
        bool retained;
        sqlite3 *writer = nullptr;
        sqlite3 *reader = nullptr;
        ~Held()
        {
            if (writer && !sqlite3_get_autocommit(writer))
                sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(writer);
            sqlite3_close(reader);
            if (retained) file.release();
        }
    } held{file, !existed};

    // The whole restore holds the write lock, on a connection of its own:
    // no other station's change can fall between the copy of the file as it
    // is and the restore and be lost from both. The copy reads through
    // another (a connection that holds the lock cannot be copied).
    int rc = openConnection(file.path(), SQLITE_OPEN_READWRITE, &held.writer);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(held.writer, busyMs);
        rc = sqlite3_exec(held.writer, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        setSqliteError(held.writer, rc, name);
        return failure(existed ? Step::Keeping : Step::Restoring, lastError());
    }

    // The copy of the file as it is replaces an older one only once the
    // restore has succeeded, so a failed restore leaves the older copy too,
    // and a restore of that very copy reads it unchanged. Copies that
    // restores cut off earlier go first.
    removeLeftovers(keepAs, kPendingSuffix);
    const std::string pending = stationFileName(keepAs, kPendingSuffix);
    std::remove(pending.c_str());
    if (existed) {
        rc = openConnection(file.path(), SQLITE_OPEN_READONLY, &held.reader);
        if (rc == SQLITE_OK) sqlite3_busy_timeout(held.reader, busyMs);
        const BackupOutcome kept =
            rc == SQLITE_OK ? copyInto(held.reader, pending, CopyCheck::Unchecked)
                            : BackupOutcome{FileSystemError, sqlite3_errmsg(held.reader)};
        if (kept.code != NoError) {
            setDriverError(kept.code, 0, kept.reason, fileName(keepAs));
            return failure(Step::Keeping, lastError());
        }
    }

    Failed failed = rebuildFrom(backup.db(), held.writer);
    if (!failed.db) {
        rc = sqlite3_exec(held.writer, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) failed = {rc, held.writer};
    }
    if (failed.db) {
        // Rolled back as the writer closes: the file is as it was.
        setSqliteError(failed.db, failed.rc, name);
        std::remove(pending.c_str());
        return failure(Step::Restoring, lastError());
    }
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
    if (file.connect(false, name, busyMs) == NoError) {
        file.retain();
        removeOwnPlaceholders(file);
        file.release();
    }
    setError(NoError, name);
    return {};
}

} // namespace hk
