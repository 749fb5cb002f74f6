#include "platform/data/transaction.h"

#include "platform/data/fileerror.h"

#include <sqlite3.h>

namespace hk
{

Transaction::~Transaction()
{
    if (own_ && open()) rollback();
}

int Transaction::begin(int timeoutMs)
{
    if (open()) return NoError;
    if (const std::uint64_t outer = file_.openTransaction()) {
        serial_ = outer;
        own_ = false;
        return NoError;
    }
    const int code = file_.begin(timeoutMs);
    if (code == NoError) {
        serial_ = file_.openTransaction();
        own_ = true;
    }
    return code;
}

int Transaction::commit()
{
    if (!open())
        return setDriverError(FileSystemError, SQLITE_ERROR,
                              "cannot commit - no transaction is active", {});
    if (!own_) return NoError;
    serial_ = 0;
    return file_.commit();
}

void Transaction::rollback()
{
    if (!open()) return;
    serial_ = 0;
    const FileError failure = lastError();
    file_.rollback();
    setDriverError(failure.code, failure.driverCode, failure.driverMessage, failure.file);
    setErrorKey(failure.key);
}

} // namespace hk
