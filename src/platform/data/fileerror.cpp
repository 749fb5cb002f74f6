#include "platform/data/fileerror.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

namespace hk
{

namespace
{
FileError current;
}

std::string codeMessage(int code)
{
    switch (code) {
    case NoError:
        return "No error";
    case FileNotFound:
        return "File Not Found";
    case FileLocked:
        return "File Is Locked";
    case NoMoreRecords:
        return "Record Not Available";
    case RecordNotFound:
        return "Record Not Found";
    case FileNotOpen:
        return "File Not Open";
    case DuplicateKey:
        return "Creates Duplicate Key";
    case KeysInvalid:
        return "Invalid Key File";
    case LayoutMismatch:
        return "Invalid Record Declaration";
    case AlreadyOpen:
        return "File Already Open";
    case ChangedByOther:
        return "Record Changed By Another Station";
    case FileSystemError:
        return "File System Error";
    }
    return "Unknown Error";
}

namespace
{

// The system's error when the folder of db's file cannot be written, with
// `text` saying so; 0 when it can.
int unwritableFolder(sqlite3 *db, std::string &text)
{
    const char *path = sqlite3_db_filename(db, "main");
    if (!path || !*path) return 0;
    std::string folder(path);
    const auto slash = folder.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    if (::access(folder.c_str(), W_OK) == 0) return 0;
    const int os = errno;
    text = "cannot write in the folder " + folder + ": " + std::strerror(os);
    return os;
}

} // namespace

const FileError &lastError()
{
    return current;
}

int setError(int code, const std::string &file)
{
    current = FileError{code, codeMessage(code), 0, {}, file, {}};
    return code;
}

int setDriverError(int code, int driverCode, std::string driverMessage, const std::string &file)
{
    current = FileError{code, codeMessage(code), driverCode, std::move(driverMessage), file, {}};
    return code;
}

int setSqliteError(sqlite3 *db, int rc, const std::string &file)
{
    int extended = db ? sqlite3_extended_errcode(db) : rc;
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    if (db && (rc & 0xFF) == SQLITE_CANTOPEN) {
        // The OS error says why a file could not be opened.
        if (int os = sqlite3_system_errno(db)) text += std::string(": ") + std::strerror(os);
    }
    if (db && ((rc & 0xFF) == SQLITE_CANTOPEN || extended == SQLITE_READONLY_DIRECTORY)) {
        // A journal or log beside the file could not be made: the folder is
        // at fault, not the file, and the system says why.
        if (const int os = unwritableFolder(db, text)) extended = os;
    }
    int code = FileSystemError;
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        code = FileLocked;
        break;
    case SQLITE_CORRUPT:
        // An index whose entries are out of order (built under another
        // ordering) is mended by rebuilding it: a damaged key.
        if (extended == SQLITE_CORRUPT_INDEX) code = KeysInvalid;
        break;
    case SQLITE_CONSTRAINT:
        if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
            code = DuplicateKey;
        break;
    default:
        break;
    }
    return setDriverError(code, extended, std::move(text), file);
}

void setErrorKey(std::string key)
{
    current.key = std::move(key);
}

} // namespace hk
