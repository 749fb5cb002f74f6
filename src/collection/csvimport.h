// A CSV file read into a collection: the other half of CollectionExport, over
// the same columns. Columns are found by their header names, so they may come
// in any order and optional ones may be left out. Each row is checked with
// the rules of the collection's update forms (required fields, pictures and
// widths, drop-list choices, duplicates against the data and earlier rows,
// lookups by name); the parents on a flat parent-and-child row are found, or
// created once, and rows that repeat them add children to them. Locations and
// categories are looked up by name; names not on file are listed, and created
// only when the caller agrees.
//
// A dry run and a write do the same work inside one transaction: the dry run
// always rolls it back, the write commits it, with the running totals, only
// when every row has passed and nothing stopped it. The file is read record
// by record: memory does not grow with it.
#pragma once

#include "dictionary/tabledef.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

namespace hk
{

class DataFile;

struct CsvRowProblem {
    long long line; // where the row begins in the file, counted from 1
    std::string reason;
    friend bool operator==(const CsvRowProblem &, const CsvRowProblem &) = default;
};

// A location or category named in the file but not on file.
struct CsvMissingName {
    TableId table;
    std::string name;
};

class CollectionImport
{
  public:
    // numbered: the file may give the outermost records' numbers (see
    // CsvCollection); a number is kept when it is free, else the record gets
    // the next one.
    explicit CollectionImport(const std::vector<TableId> &levels, bool numbered = false);
    ~CollectionImport();
    CollectionImport(const CollectionImport &) = delete;
    CollectionImport &operator=(const CollectionImport &) = delete;

    enum class Mode { DryRun, Write };
    // Whether a write creates the locations and categories that are not on
    // file (a dry run always assumes so); without it their rows fail.
    void setCreateMissing(bool create) { createMissing_ = create; }
    // The folder the file's attachments' column counts its paths from (the
    // CSV's own); without it a row naming files fails.
    void setAttachmentsFolder(const QString &folder) { attachmentsFolder_ = folder; }

    // Reads the whole of in. progress (optional) hears the rows read so far
    // after each batch and may answer false to stop. Gives NoError when every
    // row passed (and, for a write, everything was stored); -1 when rows
    // failed (problems()) or the file was refused or stopped (failure()); or
    // the keyed-file error code (lastError() has the detail). Whatever it
    // gives but NoError on a write, nothing has been written.
    int run(DataFile &file, QIODevice &in, Mode mode,
            const std::function<bool(long long rows)> &progress = {});

    const std::vector<CsvRowProblem> &problems() const { return problems_; }
    long long failedRows() const { return failedRows_; }
    const std::vector<CsvMissingName> &missing() const { return missing_; }
    long long rowsRead() const { return rowsRead_; }
    const QString &failure() const { return failure_; }
    // The last run was stopped by its progress callback.
    bool stopped() const { return stopped_; }

    // At most this many problems are kept; failedRows() counts them all.
    static constexpr std::size_t kProblemsKept = 1000;
    // What the user calls a lookup table: "Location", "Category".
    static std::string lookupName(TableId table);

  private:
    struct Column;
    struct Level;
    struct Lookup;
    struct Run;
    bool mapHeader(const std::vector<std::string> &header);
    int processRow(Run &r, const std::vector<std::string> &cells);
    int placeParent(Run &r, std::size_t depth, const std::vector<std::string> &cells,
                    std::string &reason);
    int addChild(Run &r, std::size_t depth, const std::vector<std::string> &cells,
                 std::string &reason);
    int build(Run &r, std::size_t depth, const std::vector<std::string> &cells,
              std::string &reason);
    // Adds the files the row names for the level's record, just created.
    int attach(Run &r, std::size_t depth, const std::vector<std::string> &cells,
               std::string &reason);
    int findByName(Run &r, Lookup &l, const std::string &name, std::int64_t &id,
                   std::string &reason);
    int findEqual(Level &level, std::int64_t &id);
    int create(Run &r, Level &level, std::string &reason);
    int nextIdentifier(Level &level, std::int64_t &id);
    int givenIdentifier(Level &level, std::int64_t &id, std::string &reason);
    void fail(long long line, const std::string &reason);
    int finish(Run &r);

    std::vector<TableId> levelIds_;
    bool numbered_ = false;
    std::vector<Column> columns_;
    std::vector<std::unique_ptr<Level>> levels_;
    std::vector<std::unique_ptr<Lookup>> lookups_;
    std::vector<int> byHeader_; // file column -> columns_ index
    std::vector<std::pair<std::string, std::size_t>> attachmentColumns_; // header, level
    std::vector<int> attachmentsOf_; // file column -> the level whose files it names, or -1
    QString attachmentsFolder_;
    bool createMissing_ = false;
    std::vector<CsvRowProblem> problems_;
    long long failedRows_ = 0;
    std::vector<CsvMissingName> missing_;
    long long rowsRead_ = 0;
    QString failure_;
    bool stopped_ = false;
};

} // namespace hk
