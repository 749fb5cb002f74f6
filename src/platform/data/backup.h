// Copying the data file for a backup. The copy is taken through SQLite's
// online backup, so it holds one committed state of the file, also what is
// still in the write-ahead log, however other stations write meanwhile. It
// is written to a temporary file beside the target, flushed, checked, and
// only then renamed over the target: a copy that fails or is cut off leaves
// an earlier backup as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct sqlite3;

namespace hk
{

// How many bytes a backup of the data file writes; nothing when the file is
// not there or is no data file.
std::optional<std::int64_t> backupSize(const std::string &source);

struct BackupOutcome {
    int code = 0;       // the file service's code: 0 done, 90 failed
    std::string reason; // why it failed, as the system says it
};

// Copies the data file `source` to `target`, checking the copy with
// PRAGMA quick_check and the layout of every table the dictionary knows
// (tables of the file's own, such as its counts, are allowed).
BackupOutcome backupDataFile(const std::string &source, const std::string &target);

// How a copy is checked before it replaces the target: as a data file of
// this program (as backupDataFile checks it), or not at all, for a copy that
// must keep a file as it is, whatever its state.
enum class CopyCheck { AsDataFile, Unchecked };

// Copies the database open on `from` to `target` as backupDataFile does,
// under the transaction `from` has open, if any. The copy is written to
// stationFileName(target, kCopySuffix) first; such files of stations that
// have gone are removed before.
BackupOutcome copyDatabase(sqlite3 *from, const std::string &target, CopyCheck check);
inline constexpr const char *kCopySuffix = ".new";

// The copy itself: writes the database open on `from` into `file`, which
// must not exist yet, and flushes it; a failure removes it again.
BackupOutcome copyInto(sqlite3 *from, const std::string &file, CopyCheck check);

// PRAGMA quick_check on db, with or without the fields' CHECK constraints;
// false with the reason when it finds anything.
bool quickCheck(sqlite3 *db, bool constraints, std::string &reason);

} // namespace hk
