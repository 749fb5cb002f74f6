// A collection written out as CSV (RFC 4180, UTF-8, CRLF line ends) for a
// spreadsheet or an insurer: a header row of field names, then one row per
// record (top-level records in the order of their identifier, children in
// their parent's key order), values as the forms show them
// (decimal point, no grouping, nothing for a zero), texts that a spreadsheet
// would run as formulas marked as texts (csvtext.h). The columns come from the
// dictionary: the table's fields less its identifier, with each reference to
// a lookup table replaced by the lookup's name, so a file means the same in
// any data file. A collection of parents and children (cassettes and their
// titles) is one flat sheet: one row per child with its parents' columns in
// front (children in their parent's key order: tracks by number, titles by
// counter), and a parent without children still gets its row with the child
// columns left empty, so sorting and filtering in a spreadsheet just work.
// Rows are read and written in batches: memory does not grow with the table.
#pragma once

#include "dictionary/tabledef.h"
#include "platform/picture.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace hk
{

class DataFile;

// Appends value to line as one CSV field, quoted when it must be.
void appendCsvField(std::string &line, std::string_view value);

struct CsvColumn {
    std::string header;
    int level; // the table in the collection's chain of parents and children
    int join;  // -1: that table's own field; else the lookup it names
    int field; // index in that table's fields
    // For a lookup's name: the field of the level's table holding the
    // lookup's identifier, and the lookup table.
    int reference = -1;
    const TableDef *lookup = nullptr;
    // A date or time: written as its form's entry shows it, blank for none.
    std::optional<Picture> shown;
    // The level's photos and papers: the files written beside the CSV, by
    // their paths from the CSV's folder, separated by '|'.
    bool attachments = false;
};

// The header of the attachments' column, and the character between the
// files it names.
inline constexpr const char *kAttachmentsHeader = "Attachments";
inline constexpr char kAttachmentSeparator = '|';

// A collection as the export menu offers it: its tables from the outermost
// parent down to the children, each the child of the one before. A numbered
// collection (the locations and categories, which other records name) carries
// its records' numbers in a column of their own, so that an import into an
// empty file gives them back the numbers they had.
struct CsvCollection {
    std::string name;
    std::vector<TableId> levels;
    bool numbered = false;
};

class CollectionExport
{
  public:
    explicit CollectionExport(TableId table);
    // numbered: the outermost table's identifier is a column (the first).
    // withAttachments: a level that keeps files gets its attachments' column.
    explicit CollectionExport(const std::vector<TableId> &levels, bool numbered = false,
                              bool withAttachments = false);

    // Where the files of the attachments' column are written: `folder`, named
    // in the column as `named` + "/" + the file (a path from the CSV's folder).
    // Made when the first file is written.
    void setAttachmentsFolder(const QString &folder, const QString &named);
    // The folder beside a CSV file where its attachments go: "Items.csv"
    // has "Items files".
    static QString attachmentsFolderFor(const QString &csvPath);

    const std::vector<CsvColumn> &columns() const { return columns_; }
    // The tables the export reads, which must be open while it writes.
    std::vector<TableId> tablesRead() const;

    // Writes the whole collection to out. progress (optional) hears the rows
    // written so far after each batch and may answer false to stop. Gives
    // NoError, or the keyed-file error code (lastError() has the detail) or,
    // for a failed write or a stop, -1 with failure() saying why.
    int write(DataFile &file, QIODevice &out,
              const std::function<bool(long long rows)> &progress = {});
    const QString &failure() const { return failure_; }
    // The rows the last write wrote, the header not counted.
    long long rowsWritten() const { return rows_; }

    // The collections that can be exported, in menu order.
    static const std::vector<CsvCollection> &collections();
    static const CsvCollection *findCollection(std::string_view name);

  private:
    struct Lookup {
        const TableDef *table;
        int referenceField; // in the level's table
    };
    struct Level {
        const TableDef *table;
        int parentKey; // key ranging over the parent's identifier; -1 at the top
        std::vector<Lookup> lookups;
    };
    struct Reading;
    void writeLevel(Reading &r, std::size_t depth);
    void appendRow(Reading &r, std::size_t depth);
    bool flush(Reading &r);

    bool writeAttachments(Reading &r, std::size_t depth, std::string &cell);

    std::vector<Level> levels_;
    std::vector<CsvColumn> columns_;
    QString failure_;
    QString folder_, folderNamed_;
    long long rows_ = 0;
};

} // namespace hk
