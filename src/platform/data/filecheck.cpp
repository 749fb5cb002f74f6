#include "platform/data/filecheck.h"

#include "platform/data/attachments.h"
#include "platform/data/connection.h"
#include "platform/data/fileerror.h"
#include "platform/data/olderorder.h"
#include "platform/data/ownschema.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace hk
{

namespace
{

// Runs a query and hands every row to `row`; SQLite's result code.
int query(sqlite3 *db, const std::string &sql, const std::function<void(sqlite3_stmt *)> &row)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        row(st);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

std::optional<long long> number(sqlite3 *db, const std::string &sql)
{
    std::optional<long long> n;
    query(db, sql, [&](sqlite3_stmt *st) { n = sqlite3_column_int64(st, 0); });
    return n;
}

std::string text(sqlite3_stmt *st, int column)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
    return t ? t : "";
}

bool hasTable(sqlite3 *db, const std::string &name)
{
    return number(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" +
                          name + "'")
               .value_or(0) > 0;
}

struct Checker {
    sqlite3 *db;
    FileCheck &out;
    std::vector<bool> present = std::vector<bool>(TableCount);
    int attachmentsTable = FileNotFound;

    void line(bool ok, std::string text) { out.lines.push_back({ok, std::move(text)}); }
    void failed(const std::string &what) { line(false, what + ": " + sqlite3_errmsg(db)); }

    void integrity()
    {
        std::vector<std::string> found;
        if (query(db, "PRAGMA integrity_check",
                  [&](sqlite3_stmt *st) { found.push_back(text(st, 0)); }) != SQLITE_OK)
            return failed("integrity check");
        if (found == std::vector<std::string>{"ok"}) return line(true, "integrity check: ok");
        for (const std::string &f : found)
            line(false, "integrity check: " + f);
    }

    void schema()
    {
        bool ok = true;
        // Tables of an earlier version, under its key rule: sound, and
        // converted when the program opens the file; their records are
        // checked as any others.
        std::vector<const TableDef *> older;
        if (tablesUnderOlderOrder(db, older) != SQLITE_OK) return failed("schema");
        if (!older.empty())
            line(true, "schema: made by an earlier version (" + std::to_string(older.size()) +
                           " tables under its order of names); the program converts it when it "
                           "opens the file");
        for (int i = 0; i < TableCount; ++i) {
            const TableDef &def = tableDef(TableId(i));
            if (std::find(older.begin(), older.end(), &def) != older.end()) {
                present[std::size_t(i)] = true;
                continue;
            }
            const int code = checkLayout(db, def);
            present[std::size_t(i)] = code == NoError;
            if (code == FileNotFound) continue;
            if (code == NoError && checkKeys(db, def) == NoError) continue;
            ok = false;
            line(false, "table " + def.label + ": " +
                            (code == NoError ? "its keys differ from the program's"
                                             : "it is not laid out as the program's"));
        }
        attachmentsTable = checkAttachmentsTable(db);
        if (attachmentsTable == LayoutMismatch) {
            ok = false;
            line(false, std::string("table ") + kAttachmentsTable +
                            ": it is not laid out as the program's");
        }
        std::vector<SchemaObject> foreign;
        if (findForeignCode(db, foreign) != SQLITE_OK) return failed("schema");
        if (!foreign.empty()) {
            ok = false;
            line(false, "schema: it holds " + describeObjects(foreign) +
                            ", which the program does not make");
        }
        if (ok && older.empty()) line(true, "schema: the program's own");
    }

    void counts()
    {
        const bool kept = hasTable(db, "HkCounts");
        for (int i = 0; i < TableCount; ++i) {
            if (!present[std::size_t(i)]) continue;
            const TableDef &def = tableDef(TableId(i));
            const auto records = number(db, "SELECT count(*) FROM " + quoteName(def.label));
            if (!records) return failed(def.label);
            std::optional<long long> count;
            if (kept)
                count = number(db, "SELECT Records FROM HkCounts WHERE TableLabel = '" + def.label +
                                       "'");
            const std::string n =
                std::to_string(*records) + (*records == 1 ? " record" : " records");
            long long broken = 0;
            if (countBrokenRecords(db, def, broken) != SQLITE_OK) return failed(def.label);
            if (broken > 0)
                line(false, def.label + ": " + std::to_string(broken) + " of " + n +
                                " hold values that no record can hold");
            if (!count)
                line(true, def.label + ": " + n + " (no count kept yet)");
            else
                line(*count == *records,
                     def.label + ": " + n + ", count kept " + std::to_string(*count));
            childSums(def);
        }
    }

    // The per-parent figures kept for the table against its records.
    void childSums(const TableDef &def)
    {
        if (def.perParent.by < 0 || !hasTable(db, "HkChildSums")) return;
        const std::string by = quoteName(def.fields[std::size_t(def.perParent.by)].column);
        const std::string sum =
            def.perParent.summed < 0
                ? std::string("0")
                : "sum(" + quoteName(def.fields[std::size_t(def.perParent.summed)].column) + ")";
        // Parents whose kept figures differ from their records, either way.
        const std::string actual = "SELECT " + by + " AS Parent, count(*) AS Records, " + sum +
                                   " AS Total FROM " + quoteName(def.label) + " GROUP BY " + by;
        const std::string kept = "SELECT Parent, Records, Total FROM HkChildSums WHERE "
                                 "TableLabel = '" +
                                 def.label + "' AND Records <> 0";
        const auto differing =
            number(db, "SELECT (SELECT count(*) FROM (" + actual + " EXCEPT " + kept +
                           ")) + (SELECT count(*) FROM (" + kept + " EXCEPT " + actual + "))");
        if (!differing) return failed(def.label + " figures per parent");
        line(*differing == 0,
             def.label + ": figures kept per parent " +
                 (*differing == 0 ? std::string("agree with the records")
                                  : "differ for " + std::to_string(*differing) + " parents"));
    }

    // The photos and documents: each within the table's rules, and each
    // with a record it belongs to (a record's files go when it goes).
    void attachments()
    {
        if (attachmentsTable == LayoutMismatch) return;
        const std::string label = kAttachmentsTable;
        if (!hasTable(db, label)) return line(true, label + ": none");
        const auto files = number(db, "SELECT count(*) FROM " + label);
        if (!files) return failed(label);
        long long broken = 0, stray = 0;
        if (countBrokenAttachments(db, broken) != SQLITE_OK ||
            countStrayAttachments(db, stray) != SQLITE_OK)
            return failed(label);
        // "2 files of 5 hold ...", "1 file of 5 holds ..."
        auto some = [&](long long n, const char *one, const char *more) {
            return std::to_string(n) + (n == 1 ? " file of " : " files of ") +
                   std::to_string(*files) + (n == 1 ? one : more);
        };
        if (broken > 0)
            line(false, label + ": " +
                            some(broken, " holds values that no file can hold",
                                 " hold values that no file can hold"));
        if (stray > 0)
            line(false,
                 label + ": " + some(stray, " belongs to no record", " belong to no record"));
        if (broken == 0 && stray == 0)
            line(true, label + ": " + std::to_string(*files) + (*files == 1 ? " file" : " files"));
    }

    void totals(const std::vector<KeptTotal> &kept)
    {
        const bool values = present[std::size_t(TableId::HearthkpValue)];
        for (const KeptTotal &t : kept) {
            if (!present[std::size_t(t.value.table)]) continue;
            const auto sum =
                number(db, "SELECT coalesce(sum(" + quoteName(t.value.def().column) +
                               "), 0) FROM " + quoteName(tableDef(t.value.table).label));
            // The first record holds the totals; none holds nothing yet.
            const long long total =
                values ? number(db, "SELECT " + quoteName(t.total.def().column) +
                                        " FROM HearthkpValue ORDER BY rowid LIMIT 1")
                             .value_or(0)
                       : 0;
            if (!sum) return failed(t.total.def().label);
            line(total == *sum, t.total.def().label + " " + formatCents(total) + ", sum of " +
                                    t.value.def().label + " " + formatCents(*sum));
        }
    }

    void placeholders()
    {
        if (!hasTable(db, "HkPlaceholders")) return line(true, "placeholders: none");
        int live = 0;
        std::vector<std::string> stray;
        const int rc =
            query(db, "SELECT TableLabel, RowNo, Pid, Started, Boot, Host FROM HkPlaceholders",
                  [&](sqlite3_stmt *st) {
                      const Station s{sqlite3_column_int64(st, 2), sqlite3_column_int64(st, 3),
                                      text(st, 4), text(st, 5)};
                      if (stationRunning(s)) {
                          ++live;
                          return;
                      }
                      stray.push_back(text(st, 0) + " record " + text(st, 1) + " of process " +
                                      std::to_string(s.pid) + " on " + s.host);
                  });
        if (rc != SQLITE_OK) return failed("placeholders");
        for (const std::string &s : stray)
            line(false, "stray placeholder: " + s + ", which has ended");
        if (stray.empty())
            line(true, "placeholders: " + (live ? std::to_string(live) + " of running stations"
                                                : std::string("none")));
    }
};

} // namespace

bool FileCheck::ok() const
{
    return opened && std::all_of(lines.begin(), lines.end(), [](const Line &l) { return l.ok; });
}

FileCheck checkDataFile(const std::string &path, const std::vector<KeptTotal> &totals)
{
    FileCheck out;
    sqlite3 *db = nullptr;
    int rc = openConnection(path, SQLITE_OPEN_READONLY, &db);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        out.lines.push_back({false, std::string("cannot be read as a data file: ") +
                                        (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc))});
        sqlite3_close(db);
        return out;
    }
    out.opened = true;
    // One moment of the file for every check, whatever stations write meanwhile.
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    Checker check{db, out};
    check.integrity();
    check.schema();
    check.counts();
    check.attachments();
    check.totals(totals);
    check.placeholders();
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return out;
}

} // namespace hk
