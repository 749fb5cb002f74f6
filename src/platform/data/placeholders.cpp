#include "platform/data/placeholders.h"

#include "dictionary/tabledef.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"

#include <cerrno>
#include <csignal>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <string_view>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace hk
{

namespace
{

constexpr const char *kCreate = "CREATE TABLE IF NOT EXISTS HkPlaceholders ("
                                "TableLabel TEXT NOT NULL, RowNo INTEGER NOT NULL, "
                                "Pid INTEGER NOT NULL, Started INTEGER NOT NULL, "
                                "Boot TEXT NOT NULL, Host TEXT NOT NULL, "
                                "PRIMARY KEY (TableLabel, RowNo)) WITHOUT ROWID";

// When process `pid` started, in clock ticks after boot; 0 when unknown.
std::int64_t startOf(std::int64_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return 0;
    // The name in parentheses may hold blanks: count fields after its end.
    const auto close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 1));
    std::string f;
    for (int i = 3; i <= 22 && fields >> f; ++i)
        if (i == 22) return std::stoll(f);
    return 0;
}

std::string bootId()
{
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string id;
    std::getline(in, id);
    return id;
}

std::string hostName()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

// Runs one statement with its arguments bound in order.
template <class... Args> int run(sqlite3 *db, const char *sql, sqlite3_stmt **keep, Args... args)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc != SQLITE_OK) return rc;
    int i = 0;
    auto bind = [&](const auto &v) {
        ++i;
        if constexpr (std::is_integral_v<std::decay_t<decltype(v)>>)
            sqlite3_bind_int64(st, i, v);
        else
            sqlite3_bind_text(st, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    };
    (bind(args), ...);
    if (keep) {
        *keep = st;
        return SQLITE_OK;
    }
    rc = sqlite3_step(st);
    sqlite3_finalize(st);
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

} // namespace

const char *placeholdersTableSql()
{
    return kCreate;
}

const Station &thisStation()
{
    // Asked again in a forked process, which is a station of its own.
    static Station self;
    if (self.pid != getpid()) {
        const std::int64_t pid = getpid();
        self = Station{pid, startOf(pid), bootId(), hostName()};
    }
    return self;
}

bool stationRunning(const Station &s)
{
    const Station &self = thisStation();
    if (s == self) return true;
    if (s.host != self.host) return true;
    if (s.boot != self.boot) return false;
    if (s.started != 0 && self.started != 0) return startOf(s.pid) == s.started;
    return kill(static_cast<pid_t>(s.pid), 0) == 0 || errno != ESRCH;
}

int notePlaceholder(DataFile &file, const TableDef &table, std::int64_t row)
{
    sqlite3 *db = file.db();
    const Station &self = thisStation();
    int rc = sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = run(db,
                 "INSERT OR REPLACE INTO HkPlaceholders (TableLabel, RowNo, Pid, Started, Boot, "
                 "Host) VALUES (?, ?, ?, ?, ?, ?)",
                 nullptr, std::string_view(table.label), row, self.pid, self.started,
                 std::string_view(self.boot), std::string_view(self.host));
    return rc == SQLITE_OK ? setError(NoError) : setSqliteError(db, rc, table.storedName());
}

int forgetPlaceholder(DataFile &file, const TableDef &table, std::int64_t row)
{
    sqlite3 *db = file.db();
    int rc = sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = run(db, "DELETE FROM HkPlaceholders WHERE TableLabel = ? AND RowNo = ?", nullptr,
                 std::string_view(table.label), row);
    return rc == SQLITE_OK ? setError(NoError) : setSqliteError(db, rc, table.storedName());
}

int removeDeadPlaceholders(DataFile &file, const TableDef &table)
{
    sqlite3 *db = file.db();
    if (!db) return -FileNotOpen;
    struct Noted {
        std::int64_t row;
        Station station;
    };
    std::vector<Noted> dead;
    sqlite3_stmt *st = nullptr;
    // No notes at all (the table is made with the first one): nothing to do.
    if (run(db, "SELECT RowNo, Pid, Started, Boot, Host FROM HkPlaceholders WHERE TableLabel = ?",
            &st, std::string_view(table.label)) != SQLITE_OK)
        return 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        auto text = [&](int c) {
            auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            return std::string(t ? t : "");
        };
        Noted n{sqlite3_column_int64(st, 0),
                {sqlite3_column_int64(st, 1), sqlite3_column_int64(st, 2), text(3), text(4)}};
        if (!stationRunning(n.station)) dead.push_back(std::move(n));
    }
    sqlite3_finalize(st);
    if (dead.empty()) return 0;

    // Within a transaction of the caller's, or one of its own that waits only
    // briefly: a busy file is cleaned at a later opening.
    Transaction txn(file);
    if (txn.begin(200) != NoError) return 0;
    int removed = 0;
    int rc = SQLITE_OK;
    const std::string deleteRow = "DELETE FROM " + quoteName(table.label) + " WHERE rowid = ?";
    for (const Noted &n : dead) {
        // Only while the note is still the one read: the row may have been
        // cleaned, and even reused, by another station meanwhile.
        rc = run(db,
                 "DELETE FROM HkPlaceholders WHERE TableLabel = ? AND RowNo = ? AND Pid = ? AND "
                 "Started = ? AND Boot = ? AND Host = ?",
                 nullptr, std::string_view(table.label), n.row, n.station.pid, n.station.started,
                 std::string_view(n.station.boot), std::string_view(n.station.host));
        if (rc != SQLITE_OK) break;
        if (sqlite3_changes(db) == 0) continue;
        rc = run(db, deleteRow.c_str(), nullptr, n.row);
        if (rc != SQLITE_OK) break;
        removed += sqlite3_changes(db);
    }
    if (rc != SQLITE_OK) return -setSqliteError(db, rc, table.storedName());
    if (txn.commit() != NoError) return -lastError().code;
    if (removed > 0) file.noteChange();
    return removed;
}

int removeOwnPlaceholders(DataFile &file)
{
    sqlite3 *db = file.db();
    if (!db) return -FileNotOpen;
    const Station &self = thisStation();
    std::vector<std::pair<std::string, std::int64_t>> own;
    sqlite3_stmt *st = nullptr;
    if (run(db,
            "SELECT TableLabel, RowNo FROM HkPlaceholders WHERE Pid = ? AND Started = ? AND "
            "Boot = ? AND Host = ?",
            &st, self.pid, self.started, std::string_view(self.boot),
            std::string_view(self.host)) != SQLITE_OK)
        return 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        own.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)),
                         sqlite3_column_int64(st, 1));
    sqlite3_finalize(st);
    if (own.empty()) return 0;
    Transaction txn(file);
    if (txn.begin() != NoError) return -lastError().code;
    int rc = SQLITE_OK;
    for (const auto &[label, row] : own) {
        rc =
            run(db, ("DELETE FROM " + quoteName(label) + " WHERE rowid = ?").c_str(), nullptr, row);
        if (rc == SQLITE_OK)
            rc = run(db, "DELETE FROM HkPlaceholders WHERE TableLabel = ? AND RowNo = ?", nullptr,
                     std::string_view(label), row);
        if (rc != SQLITE_OK) break;
    }
    if (rc != SQLITE_OK) return -setSqliteError(db, rc, {});
    if (txn.commit() != NoError) return -lastError().code;
    return static_cast<int>(own.size());
}

} // namespace hk
