// Photos and papers kept with a record: the table "HkAttachments" of the data
// file, beside the dictionary's tables and derived, like them, in code. A row
// is one file as it was added (its bytes untouched, so a camera's date stays
// in them), with a small thumbnail made once, its name, type, size and when
// it was added, keyed by the owning table and the record's identifier.
//
// Each owning table has a trigger that removes a record's attachments when
// the record goes, inside the statement that deletes it: a form's delete, a
// placeholder removed by a cleaner station and a rollback all take them along
// or back, and so does any other program that writes the file.
#pragma once

#include "dictionary/tabledef.h"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace hk
{

class DataFile;

extern const char *const kAttachmentsTable;
// The largest file kept, in bytes.
constexpr std::int64_t kAttachmentMaxBytes = 50LL * 1024 * 1024;
// The largest thumbnail kept, in bytes.
constexpr std::int64_t kThumbnailMaxBytes = 256LL * 1024;

// The types kept, as MIME types.
inline constexpr const char *kMediaJpeg = "image/jpeg";
inline constexpr const char *kMediaPng = "image/png";
inline constexpr const char *kMediaWebp = "image/webp";
inline constexpr const char *kMediaPdf = "application/pdf";

// The tables whose records can hold attachments.
const std::vector<TableId> &attachmentOwners();
bool ownsAttachments(TableId table);

// The schema, derived here and nowhere else.
std::string createAttachmentsTableSql();
std::string attachmentsIndexName();
std::string createAttachmentsIndexSql();
enum class AttachmentTrigger { Delete, Renumber };
std::string attachmentTriggerName(const TableDef &owner, AttachmentTrigger which);
std::string createAttachmentTriggerSql(const TableDef &owner, AttachmentTrigger which);

// In the caller's transaction: makes the table and its index when missing,
// and the owner's triggers afresh. SQLite's result code.
int startAttachments(sqlite3 *db, const TableDef &owner);
// Whether the table and its index are as derived here. NoError;
// FileNotFound when the table (or its index) is not there yet;
// LayoutMismatch when it is not defined as this program defines it.
int checkAttachmentsTable(sqlite3 *db);
// The same, and the owner's triggers (FileNotFound when they are not as
// derived here).
int checkAttachments(sqlite3 *db, const TableDef &owner);
// On any connection, also a read-only one (where SQLite's integrity check
// passes over CHECK constraints), with the table as derived here: how many
// files break its rules, and how many belong to no record of the file
// (none without the table). SQLite's result code.
int countBrokenAttachments(sqlite3 *db, long long &count);
int countStrayAttachments(sqlite3 *db, long long &count);
// On opening an owning table: sets up what is missing in a transaction of its
// own, quietly giving up when the file cannot be written now (the next
// opening tries again). LayoutMismatch when the file's table differs.
int ensureAttachments(DataFile &file, const TableDef &owner);

// In the transaction open on `to`: copies every attachment of the database
// `from` (a backup being restored) whose record `from` holds into `to`,
// numbers and all, making the table and its index there when missing. Rows
// the table's constraints refuse stop the copy. SQLite's result code;
// SQLITE_OK also when `from` holds no attachments' table.
int copyAttachments(sqlite3 *from, sqlite3 *to);

struct AttachmentInfo {
    std::int64_t id = 0;
    std::string fileName;
    std::string mediaType;
    std::int64_t size = 0;
    std::string added; // "YYYY-MM-DD HH:MM:SS", local time
    friend bool operator==(const AttachmentInfo &, const AttachmentInfo &) = default;
};

struct NewAttachment {
    std::string fileName;
    std::string mediaType;
    std::string added;
    std::string content;   // the file's bytes
    std::string thumbnail; // encoded picture; empty for none (a document)
};

// The attachments of one record, in the order they were added, without their
// bytes. Sets lastError(); a file without the table has none.
int listAttachments(DataFile &file, TableId owner, std::int64_t record,
                    std::vector<AttachmentInfo> &out);
// One attachment's thumbnail or whole content; RecordNotFound when it has
// gone (another station removed it).
int readThumbnail(DataFile &file, std::int64_t id, std::string &bytes);
int readContent(DataFile &file, std::int64_t id, std::string &bytes);

// Inside the caller's transaction.
int addAttachment(DataFile &file, TableId owner, std::int64_t record, const NewAttachment &a,
                  std::int64_t *id = nullptr);
// Removes one attachment of the record; one already gone is no error.
int removeAttachment(DataFile &file, TableId owner, std::int64_t record, std::int64_t id);

// How many attachments each record holds, for the records given (a page of a
// list): one statement, an indexed probe each. counts[i] belongs to records[i].
int countAttachments(DataFile &file, TableId owner, const std::vector<std::int64_t> &records,
                     std::vector<int> &counts);

struct AttachmentTotals {
    long long count = 0;
    long long bytes = 0;
};
// Every attachment in the file, read from the index alone.
int attachmentTotals(DataFile &file, AttachmentTotals &out);

} // namespace hk
