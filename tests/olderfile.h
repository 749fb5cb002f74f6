// A data file as the version before made it: every table under the earlier
// key rule, for the tests of its conversion and of the tools that read it.
#pragma once

#include "dictionary/tables.h"
#include "platform/data/childsums.h"
#include "platform/data/collation.h"
#include "platform/data/connection.h"
#include "platform/data/counts.h"
#include "platform/data/schema.h"
#include "platform/data/textsearch.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace hk::test
{

inline const char *const kOlder = kOlderCollationNames.front();

// Every table as the earlier version made it, with its keys (holding every
// record) under the earlier rule, its substring indexes, kept counts and
// figures; then `records` written through its triggers.
inline void makeOlderFile(const std::string &path, const std::string &records)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &db), SQLITE_OK);
    std::string sql = "PRAGMA journal_mode=WAL; BEGIN;\n";
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        sql += createTableSql(def, kOlder) + ";\n";
        for (std::size_t k = 0; k < def.keys.size(); ++k)
            sql += earlierIndexSql(def, static_cast<int>(k), kOlder) + ";\n";
        for (int f : def.searched)
            sql += createSearchIndexSql(def, f);
    }
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    for (int i = 0; i < TableCount; ++i) {
        ASSERT_EQ(startCount(db, tableDef(TableId(i))), SQLITE_OK);
        ASSERT_EQ(startChildSums(db, tableDef(TableId(i))), SQLITE_OK);
    }
    ASSERT_EQ(sqlite3_exec(db, (records + ";\nCOMMIT").c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

} // namespace hk::test
