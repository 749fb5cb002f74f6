// Result codes of the keyed-file service and the last error it met.
#pragma once

#include <string>

struct sqlite3;

namespace hk
{

enum FileCode : int {
    NoError = 0,
    FileNotFound = 2,     // the data file or the table does not exist
    FileLocked = 32,      // another station holds the lock
    NoMoreRecords = 33,   // a read ran past the first or last record
    RecordNotFound = 35,  // no record has the wanted key or position
    FileNotOpen = 37,     // the table was used before it was opened
    DuplicateKey = 40,    // a unique key would hold a value twice
    KeysInvalid = 46,     // a key's index is missing or differs from the dictionary
    LayoutMismatch = 47,  // the stored columns differ from the record declaration
    AlreadyOpen = 52,     // success: the table was open already
    ChangedByOther = 89,  // the watched record was changed by another station
    FileSystemError = 90, // anything else; the driver's code and text say more
};

// The code's own message ("Record Not Available" for 33 ...).
std::string codeMessage(int code);

struct FileError {
    int code = 0;
    std::string message;       // codeMessage(code)
    int driverCode = 0;        // SQLite's extended result code, for code 90
    std::string driverMessage; // SQLite's message, for code 90
    std::string file;          // stored name of the table the operation was on
    std::string key;           // label of the key a duplicate was found on (code 40)
};

// The result of the last file operation, whichever table it was on.
const FileError &lastError();
// Records a result; returns its code.
int setError(int code, const std::string &file = {});
int setDriverError(int code, int driverCode, std::string driverMessage, const std::string &file);
// Records SQLite's current error on db, mapped to a service code.
int setSqliteError(sqlite3 *db, int rc, const std::string &file);
void setErrorKey(std::string key);

} // namespace hk
