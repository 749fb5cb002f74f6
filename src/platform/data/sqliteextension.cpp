// The loadable extension that lets the stock sqlite3 shell work with a data
// file: it registers the key collation and the functions that the file's
// schema names, built from the very files the program registers them from.
//   sqlite3 Hearthkp.Tps '.load /usr/lib/hearthkeep/hksqlite' 'PRAGMA integrity_check'
#include "platform/data/collation.h"
#include "platform/data/sqliteapi.h"

SQLITE_EXTENSION_INIT1

extern "C" int sqlite3_hksqlite_init(sqlite3 *db, char **error, const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    const int rc = hk::registerKeyCollation(db);
    if (rc != SQLITE_OK && error) *error = sqlite3_mprintf("%s", sqlite3_errstr(rc));
    return rc;
}
