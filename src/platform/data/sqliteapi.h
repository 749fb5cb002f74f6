// The SQLite interface as the code of this folder reaches it. The program
// links SQLite itself; the loadable extension (hksqlite) compiles the same
// files with HK_SQLITE_EXTENSION and then reaches the interface of whichever
// program loaded it, such as the stock sqlite3 shell, through the table that
// SQLite hands to the extension.
#pragma once

#ifdef HK_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
