#include "platform/data/attachments.h"

#include "dictionary/tables.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"

#include <algorithm>
#include <sqlite3.h>

namespace hk
{

const char *const kAttachmentsTable = "HkAttachments";

namespace
{

const std::string kStored = std::string("Hearthkp\\!") + kAttachmentsTable;

std::string literal(std::string_view text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

const char *const kMediaTypes[] = {kMediaJpeg, kMediaPng, kMediaWebp, kMediaPdf};

// Whether the file holds a table of that name.
bool hasTable(sqlite3 *db, const std::string &name)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", -1,
                           &st, nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    const bool there = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return there;
}

bool tableThere(sqlite3 *db)
{
    return hasTable(db, kAttachmentsTable);
}

// The stored SQL of a schema object, empty when there is none.
std::string storedSql(sqlite3 *db, const char *type, const std::string &name)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE type = ?1 AND name = ?2", -1,
                           &st, nullptr) != SQLITE_OK)
        return {};
    sqlite3_bind_text(st, 1, type, -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    std::string sql;
    if (sqlite3_step(st) == SQLITE_ROW)
        if (auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, 0))) sql = t;
    sqlite3_finalize(st);
    return sql;
}

bool triggersKept(sqlite3 *db, const TableDef &owner)
{
    for (AttachmentTrigger which : {AttachmentTrigger::Delete, AttachmentTrigger::Renumber})
        if (storedSql(db, "trigger", attachmentTriggerName(owner, which)) !=
            createAttachmentTriggerSql(owner, which))
            return false;
    return true;
}

// A statement the station keeps, or null with lastError() set. A file that
// has no attachments table yet answers `absent`.
sqlite3_stmt *prepared(DataFile &file, const std::string &sql, bool &absent)
{
    absent = false;
    if (!file.db()) {
        setError(FileNotOpen, kStored);
        return nullptr;
    }
    if (!tableThere(file.db())) {
        absent = true;
        setError(NoError, kStored);
        return nullptr;
    }
    return file.statement(sql, kStored);
}

std::string columnText(sqlite3_stmt *st, int c)
{
    auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
    return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(st, c)))
             : std::string();
}

std::string columnBytes(sqlite3_stmt *st, int c)
{
    const void *b = sqlite3_column_blob(st, c);
    return b ? std::string(static_cast<const char *>(b),
                           static_cast<std::size_t>(sqlite3_column_bytes(st, c)))
             : std::string();
}

int readBlob(DataFile &file, const char *column, std::int64_t id, std::string &bytes)
{
    bytes.clear();
    bool absent = false;
    sqlite3_stmt *st = prepared(file,
                                std::string("SELECT ") + column + " FROM " + kAttachmentsTable +
                                    " WHERE AttachmentId = ?1",
                                absent);
    if (absent) return setError(RecordNotFound, kStored);
    if (!st) return lastError().code;
    StatementScope scope(st);
    sqlite3_bind_int64(st, 1, id);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) return setError(RecordNotFound, kStored);
    if (rc != SQLITE_ROW) return setSqliteError(file.db(), rc, kStored);
    bytes = columnBytes(st, 0);
    return setError(NoError, kStored);
}

} // namespace

const std::vector<TableId> &attachmentOwners()
{
    using T = TableId;
    static const std::vector<TableId> owners = {T::Items,       T::Books,       T::SoftWare,
                                                T::VideoNumber, T::MusicNumber, T::MagIssue};
    return owners;
}

bool ownsAttachments(TableId table)
{
    const auto &owners = attachmentOwners();
    return std::find(owners.begin(), owners.end(), table) != owners.end();
}

namespace
{

// A column of the table: its type, and the rule its values keep (none for
// the row's number).
struct Column {
    const char *name;
    const char *type;
    std::string rule;
};

const std::vector<Column> &columns()
{
    static const std::vector<Column> all = [] {
        std::string owners, types;
        for (TableId t : attachmentOwners())
            owners += (owners.empty() ? "" : ", ") + literal(tableDef(t).label);
        for (const char *m : kMediaTypes)
            types += (types.empty() ? "" : ", ") + literal(m);
        // The metadata comes first and the bytes last: a row's name, type and
        // thumbnail are read without going through the pages of its content.
        return std::vector<Column>{
            {"AttachmentId", "INTEGER PRIMARY KEY", ""},
            {"OwnerTable", "TEXT NOT NULL", "OwnerTable IN (" + owners + ")"},
            {"RecordId", "INTEGER NOT NULL",
             "typeof(RecordId) = 'integer' AND RecordId BETWEEN 1 AND " +
                 std::to_string(INT32_MAX)},
            {"FileName", "TEXT NOT NULL",
             "typeof(FileName) = 'text' AND length(FileName) BETWEEN 1 AND 255 AND "
             "instr(FileName, '/') = 0"},
            {"MediaType", "TEXT NOT NULL", "MediaType IN (" + types + ")"},
            {"Size", "INTEGER NOT NULL",
             "typeof(Size) = 'integer' AND Size BETWEEN 1 AND " +
                 std::to_string(kAttachmentMaxBytes)},
            {"Added", "TEXT NOT NULL",
             "Added GLOB "
             "'[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'"},
            {"Thumbnail", "BLOB",
             "Thumbnail IS NULL OR (typeof(Thumbnail) = 'blob' AND length(Thumbnail) <= " +
                 std::to_string(kThumbnailMaxBytes) + ")"},
            {"Content", "BLOB NOT NULL", "typeof(Content) = 'blob' AND length(Content) = Size"},
        };
    }();
    return all;
}

// The condition of a row (as "a") whose record is in the file: its owner's
// table is there and holds the record.
std::string ownedCondition(sqlite3 *db)
{
    std::string owned;
    for (TableId t : attachmentOwners()) {
        const TableDef &def = tableDef(t);
        if (!hasTable(db, def.label)) continue;
        owned += (owned.empty() ? "" : " OR ") + std::string("(a.OwnerTable = ") +
                 literal(def.label) + " AND EXISTS (SELECT 1 FROM " + quoteName(def.label) +
                 " WHERE " + quoteName(def.fields.at(0).column) + " = a.RecordId))";
    }
    return owned.empty() ? "0" : "(" + owned + ")";
}

int countWhere(sqlite3 *db, const std::string &condition, long long &count)
{
    count = 0;
    if (!tableThere(db)) return SQLITE_OK;
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(
        db,
        (std::string("SELECT count(*) FROM ") + kAttachmentsTable + " AS a WHERE " + condition)
            .c_str(),
        -1, &st, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        count = sqlite3_column_int64(st, 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

} // namespace

std::string createAttachmentsTableSql()
{
    std::string sql = std::string("CREATE TABLE ") + kAttachmentsTable + " (\n";
    for (const Column &c : columns()) {
        if (&c != &columns().front()) sql += ",\n";
        sql += std::string("  ") + c.name + " " + c.type;
        if (!c.rule.empty()) sql += " CHECK (" + c.rule + ")";
    }
    return sql + "\n)";
}

std::string attachmentsIndexName()
{
    return std::string(kAttachmentsTable) + "_ByRecord";
}

std::string createAttachmentsIndexSql()
{
    // The size rides along so that the summary adds it up from the index.
    return "CREATE INDEX " + attachmentsIndexName() + " ON " + kAttachmentsTable +
           " (OwnerTable, RecordId, Size)";
}

std::string attachmentTriggerName(const TableDef &owner, AttachmentTrigger which)
{
    return owner.label +
           (which == AttachmentTrigger::Delete ? "_AttachmentsDelete" : "_AttachmentsRenumber");
}

std::string createAttachmentTriggerSql(const TableDef &owner, AttachmentTrigger which)
{
    const std::string id = quoteName(owner.fields.at(0).column);
    const std::string mine =
        " WHERE OwnerTable = " + literal(owner.label) + " AND RecordId = old." + id + "; END";
    if (which == AttachmentTrigger::Delete)
        return "CREATE TRIGGER " + quoteName(attachmentTriggerName(owner, which)) +
               " AFTER DELETE ON " + quoteName(owner.label) + " BEGIN DELETE FROM " +
               kAttachmentsTable + mine;
    return "CREATE TRIGGER " + quoteName(attachmentTriggerName(owner, which)) +
           " AFTER UPDATE OF " + id + " ON " + quoteName(owner.label) + " WHEN new." + id +
           " <> old." + id + " BEGIN UPDATE " + kAttachmentsTable + " SET RecordId = new." + id +
           mine;
}

int startAttachments(sqlite3 *db, const TableDef &owner)
{
    std::string sql;
    if (!tableThere(db)) sql = createAttachmentsTableSql() + ";\n";
    if (storedSql(db, "index", attachmentsIndexName()).empty())
        sql += createAttachmentsIndexSql() + ";\n";
    for (AttachmentTrigger which : {AttachmentTrigger::Delete, AttachmentTrigger::Renumber})
        sql += "DROP TRIGGER IF EXISTS " + quoteName(attachmentTriggerName(owner, which)) + ";\n" +
               createAttachmentTriggerSql(owner, which) + ";\n";
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

int checkAttachmentsTable(sqlite3 *db)
{
    const std::string table = storedSql(db, "table", kAttachmentsTable);
    if (table.empty()) return setError(FileNotFound, kStored);
    if (table != createAttachmentsTableSql()) return setError(LayoutMismatch, kStored);
    const std::string index = storedSql(db, "index", attachmentsIndexName());
    if (index.empty()) return setError(FileNotFound, kStored);
    if (index != createAttachmentsIndexSql()) return setError(LayoutMismatch, kStored);
    return setError(NoError, kStored);
}

int checkAttachments(sqlite3 *db, const TableDef &owner)
{
    if (const int code = checkAttachmentsTable(db); code != NoError) return code;
    return setError(triggersKept(db, owner) ? NoError : FileNotFound, kStored);
}

int countBrokenAttachments(sqlite3 *db, long long &count)
{
    // A CHECK fails only on false; a NOT NULL column fails on NULL.
    std::string broken;
    for (const Column &c : columns()) {
        if (std::string_view(c.type).ends_with("NOT NULL"))
            broken += (broken.empty() ? "" : " OR ") + std::string(c.name) + " IS NULL";
        if (!c.rule.empty())
            broken +=
                (broken.empty() ? "" : " OR ") + std::string("NOT coalesce((") + c.rule + "), 1)";
    }
    return countWhere(db, broken, count);
}

int countStrayAttachments(sqlite3 *db, long long &count)
{
    return countWhere(db, "NOT " + ownedCondition(db), count);
}

int copyAttachments(sqlite3 *from, sqlite3 *to)
{
    if (!tableThere(from)) return SQLITE_OK;
    std::string sql;
    if (!tableThere(to)) sql = createAttachmentsTableSql() + ";\n";
    if (storedSql(to, "index", attachmentsIndexName()).empty())
        sql += createAttachmentsIndexSql() + ";\n";
    int rc = sqlite3_exec(to, sql.c_str(), nullptr, nullptr, nullptr);
    std::string names, marks;
    for (const Column &c : columns()) {
        names += (names.empty() ? "" : ", ") + std::string(c.name);
        marks += marks.empty() ? "?" : ", ?";
    }
    const int count = static_cast<int>(columns().size());
    sqlite3_stmt *read = nullptr, *write = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(from,
                                (std::string("SELECT ") + names + " FROM " + kAttachmentsTable +
                                 " AS a WHERE " + ownedCondition(from))
                                    .c_str(),
                                -1, &read, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(to,
                                (std::string("INSERT INTO ") + kAttachmentsTable + " (" + names +
                                 ") VALUES (" + marks + ")")
                                    .c_str(),
                                -1, &write, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(read)) == SQLITE_ROW) {
        for (int c = 0; c < count; ++c)
            sqlite3_bind_value(write, c + 1, sqlite3_column_value(read, c));
        rc = sqlite3_step(write);
        rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
        sqlite3_reset(write);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(write);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int ensureAttachments(DataFile &file, const TableDef &owner)
{
    sqlite3 *db = file.db();
    if (!db) return setError(FileNotOpen, kStored);
    int code = checkAttachments(db, owner);
    if (code == NoError) return code;
    if (code != LayoutMismatch) {
        Transaction txn(file);
        if (txn.begin() != NoError) return setError(NoError, kStored);
        // Another station may have set it up while this one waited for the lock.
        code = checkAttachments(db, owner);
        if (code == FileNotFound && startAttachments(db, owner) == SQLITE_OK) txn.commit();
    }
    if (code == LayoutMismatch)
        return setDriverError(LayoutMismatch, 0,
                              std::string("the table ") + kAttachmentsTable +
                                  " is not defined as this program defines it",
                              kStored);
    return setError(NoError, kStored);
}

int listAttachments(DataFile &file, TableId owner, std::int64_t record,
                    std::vector<AttachmentInfo> &out)
{
    out.clear();
    bool absent = false;
    sqlite3_stmt *st = prepared(file,
                                std::string("SELECT AttachmentId, FileName, MediaType, Size, Added "
                                            "FROM ") +
                                    kAttachmentsTable +
                                    " WHERE OwnerTable = ?1 AND RecordId = ?2 ORDER BY "
                                    "AttachmentId",
                                absent);
    if (absent) return NoError;
    if (!st) return lastError().code;
    StatementScope scope(st);
    sqlite3_bind_text(st, 1, tableDef(owner).label.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 2, record);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        out.push_back({sqlite3_column_int64(st, 0), columnText(st, 1), columnText(st, 2),
                       sqlite3_column_int64(st, 3), columnText(st, 4)});
    if (rc != SQLITE_DONE) return setSqliteError(file.db(), rc, kStored);
    return setError(NoError, kStored);
}

int readThumbnail(DataFile &file, std::int64_t id, std::string &bytes)
{
    return readBlob(file, "Thumbnail", id, bytes);
}

int readContent(DataFile &file, std::int64_t id, std::string &bytes)
{
    return readBlob(file, "Content", id, bytes);
}

int addAttachment(DataFile &file, TableId owner, std::int64_t record, const NewAttachment &a,
                  std::int64_t *id)
{
    bool absent = false;
    sqlite3_stmt *st =
        prepared(file,
                 std::string("INSERT INTO ") + kAttachmentsTable +
                     " (OwnerTable, RecordId, FileName, MediaType, Size, Added, Thumbnail, "
                     "Content) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
                 absent);
    if (absent) {
        // Made on the spot, inside the caller's transaction.
        const int rc = startAttachments(file.db(), tableDef(owner));
        if (rc != SQLITE_OK) return setSqliteError(file.db(), rc, kStored);
        return addAttachment(file, owner, record, a, id);
    }
    if (!st) return lastError().code;
    StatementScope scope(st);
    sqlite3_bind_text(st, 1, tableDef(owner).label.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 2, record);
    sqlite3_bind_text(st, 3, a.fileName.data(), static_cast<int>(a.fileName.size()), SQLITE_STATIC);
    sqlite3_bind_text(st, 4, a.mediaType.data(), static_cast<int>(a.mediaType.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int64(st, 5, static_cast<std::int64_t>(a.content.size()));
    sqlite3_bind_text(st, 6, a.added.data(), static_cast<int>(a.added.size()), SQLITE_STATIC);
    if (a.thumbnail.empty())
        sqlite3_bind_null(st, 7);
    else
        sqlite3_bind_blob64(st, 7, a.thumbnail.data(), a.thumbnail.size(), SQLITE_STATIC);
    sqlite3_bind_blob64(st, 8, a.content.data(), a.content.size(), SQLITE_STATIC);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) return setSqliteError(file.db(), rc, kStored);
    if (id) *id = sqlite3_last_insert_rowid(file.db());
    file.noteChange();
    return setError(NoError, kStored);
}

int removeAttachment(DataFile &file, TableId owner, std::int64_t record, std::int64_t id)
{
    bool absent = false;
    sqlite3_stmt *st = prepared(file,
                                std::string("DELETE FROM ") + kAttachmentsTable +
                                    " WHERE AttachmentId = ?1 AND OwnerTable = ?2 AND "
                                    "RecordId = ?3",
                                absent);
    if (absent) return NoError;
    if (!st) return lastError().code;
    StatementScope scope(st);
    sqlite3_bind_int64(st, 1, id);
    sqlite3_bind_text(st, 2, tableDef(owner).label.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 3, record);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) return setSqliteError(file.db(), rc, kStored);
    file.noteChange();
    return setError(NoError, kStored);
}

int countAttachments(DataFile &file, TableId owner, const std::vector<std::int64_t> &records,
                     std::vector<int> &counts)
{
    counts.assign(records.size(), 0);
    if (records.empty()) return setError(NoError, kStored);
    // One statement for a whole page: the records go in chunks of at most
    // kChunk, each shape of statement prepared once and kept.
    constexpr std::size_t kChunk = 32;
    for (std::size_t from = 0; from < records.size(); from += kChunk) {
        const std::size_t n = std::min(kChunk, records.size() - from);
        std::string sql = std::string("SELECT RecordId FROM ") + kAttachmentsTable +
                          " INDEXED BY " + attachmentsIndexName() +
                          " WHERE OwnerTable = ?1 AND RecordId IN (";
        for (std::size_t i = 0; i < n; ++i)
            sql += (i ? ", ?" : "?") + std::to_string(i + 2);
        sql += ")";
        bool absent = false;
        sqlite3_stmt *st = prepared(file, sql, absent);
        if (absent) return NoError;
        if (!st) return lastError().code;
        StatementScope scope(st);
        sqlite3_bind_text(st, 1, tableDef(owner).label.c_str(), -1, SQLITE_TRANSIENT);
        for (std::size_t i = 0; i < n; ++i)
            sqlite3_bind_int64(st, int(i) + 2, records[from + i]);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const std::int64_t record = sqlite3_column_int64(st, 0);
            for (std::size_t i = 0; i < n; ++i)
                if (records[from + i] == record) ++counts[from + i];
        }
        if (rc != SQLITE_DONE) return setSqliteError(file.db(), rc, kStored);
    }
    return setError(NoError, kStored);
}

int attachmentTotals(DataFile &file, AttachmentTotals &out)
{
    out = {};
    bool absent = false;
    sqlite3_stmt *st = prepared(file,
                                std::string("SELECT count(*), coalesce(sum(Size), 0) FROM ") +
                                    kAttachmentsTable + " INDEXED BY " + attachmentsIndexName(),
                                absent);
    if (absent) return NoError;
    if (!st) return lastError().code;
    StatementScope scope(st);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) return setSqliteError(file.db(), rc, kStored);
    out.count = sqlite3_column_int64(st, 0);
    out.bytes = sqlite3_column_int64(st, 1);
    return setError(NoError, kStored);
}

} // namespace hk
