// Putting a backup of the data file back. The backup is checked before
// anything is touched: it must open as a database, pass PRAGMA quick_check,
// hold this program's tables as the dictionary defines them (constraints
// and all) with their keys in the program's order, and nothing else: no
// trigger, view or table of anyone else's making. The data file as it was
// is then kept beside it, and the backup's records are copied into the data
// file under a schema made afresh from the dictionary (indexes, triggers,
// counts and substring indexes included), in one write transaction: other
// stations wait for it or see the restored file whole, the write-ahead log
// stays in use, and a failure leaves the file as it was.
#pragma once

#include "platform/data/ownschema.h"

#include <string>
#include <vector>

struct sqlite3;

namespace hk
{

class DataFile;

// A backup chosen for restoring, open read-only and checked.
class BackupSource
{
  public:
    // dataFile: the file the backup is to replace, which it must not be.
    BackupSource(std::string path, const std::string &dataFile);
    ~BackupSource();
    BackupSource(const BackupSource &) = delete;
    BackupSource &operator=(const BackupSource &) = delete;

    const std::string &path() const { return path_; }
    // Why the backup cannot be restored, in words for the user; empty when
    // it can.
    const std::string &problem() const { return problem_; }
    bool sound() const { return problem_.empty(); }
    // The triggers and views in it that the program does not make (then
    // also the problem); empty when none.
    const std::vector<SchemaObject> &foreignCode() const { return foreign_; }
    sqlite3 *db() const { return db_; }

  private:
    std::string check(const std::string &dataFile);

    std::string path_;
    sqlite3 *db_ = nullptr;
    std::string problem_;
    std::vector<SchemaObject> foreign_;
};

struct RestoreOutcome {
    enum class Step {
        Done,      // restored
        Keeping,   // the copy of the data file as it was could not be made
        Restoring, // the backup could not be copied in; the file is as it was
    };
    Step failed = Step::Done;
    int code = 0;       // the file service's code (32 locked, 90 otherwise)
    std::string reason; // why, as the system says it
};

// Restores a sound backup into `file` (created when it is not there yet).
// The data file as it was is copied to `keepAs` first (through
// stationFileName(keepAs, kPendingSuffix), whose leftovers of stations that
// have gone are removed), replacing an older copy only once the restore has
// succeeded. busyMs: how long to wait for
// another station's lock. The outcome's code and reason are also in
// lastError(), for the standard warning.
RestoreOutcome restoreBackup(const BackupSource &backup, DataFile &file, const std::string &keepAs,
                             int busyMs);
inline constexpr const char *kPendingSuffix = ".kept";

} // namespace hk
