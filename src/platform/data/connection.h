// How every connection of the program to a data file or a backup is opened.
// A file may come from anyone, so its schema is not trusted: a function or
// virtual table is used from its triggers and views only when SQLite knows
// it to be harmless. SQLite's defensive mode is on, so that no SQL can
// corrupt the file on purpose. Result codes are extended, and the collation
// and functions the schema names are registered.
#pragma once

#include <string>

struct sqlite3;

namespace hk
{

// sqlite3_open_v2 with the settings above; returns SQLite's result code.
// As with sqlite3_open_v2, *db may be set also on failure, for its message;
// the caller closes it either way.
int openConnection(const std::string &path, int flags, sqlite3 **db);

} // namespace hk
