#include "platform/data/connection.h"

#include "platform/data/collation.h"

#include <sqlite3.h>

namespace hk
{

int openConnection(const std::string &path, int flags, sqlite3 **db)
{
    int rc = sqlite3_open_v2(path.c_str(), db, flags, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_extended_result_codes(*db, 1);
    rc = sqlite3_db_config(*db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_db_config(*db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    if (rc == SQLITE_OK) rc = registerKeyCollation(*db);
    return rc;
}

} // namespace hk
