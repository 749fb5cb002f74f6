// A data file that the version before made, under the earlier key rule: it
// is converted the first time a table opens, with its records, row ids,
// keys, kept counts and figures intact and the names in the new order; a
// conversion that fails leaves it as it was and ends the program.
#include "integrity/tableopen.h"

#include "olderfile.h"
#include "platform/data/childsums.h"
#include "platform/data/connection.h"
#include "platform/data/counts.h"
#include "platform/data/olderorder.h"
#include "platform/data/ownschema.h"
#include "platform/data/schema.h"
#include "platform/data/textsearch.h"
#include "programfixture.h"

using namespace hk;
using hk::test::makeOlderFile;

namespace
{

using Texts = std::vector<std::string>;

const char *const kRecords =
    "INSERT INTO BookCategory VALUES (1, 'Novels'), (2, 'Poetry');"
    "INSERT INTO Books (BooksId, BookTitle, BookCategoryId, BookValue) VALUES "
    "(1, 'Zephyr', 1, 1250), (2, 'Ééé', 2, 800), (3, 'Ünïcode', 1, 100), (4, 'eee', 1, 5),"
    "(5, 'Unicorn', 2, 0), (6, 'Attic', 1, 20);"
    "INSERT INTO ItemsRooms VALUES (1, 'Hall'), (2, 'Küche');"
    "INSERT INTO Items (ItemsId, Items, Description, RoomsId, \"Values\") VALUES "
    "(1, 'Lamp', 'brass lamp', 2, 4500), (2, 'Öl', 'olive oil', 2, 300)";

Texts titlesInOrder()
{
    Texts titles;
    Books.set(Bok.DisplayByTitle);
    while (Books.next() == NoError)
        titles.push_back(Bok.BookTitle.str());
    return titles;
}

// Everything of the file as it stands: its schema and every table's rows.
std::string snapshot(const std::string &path)
{
    sqlite3 *db = nullptr;
    openConnection(path, SQLITE_OPEN_READONLY, &db);
    std::string out;
    auto dump = [&](const std::string &sql) {
        sqlite3_stmt *st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto *t = sqlite3_column_text(st, c);
                out += t ? reinterpret_cast<const char *>(t) : "NULL";
                out += '|';
            }
            out += '\n';
        }
        sqlite3_finalize(st);
    };
    dump("SELECT type, name, sql FROM sqlite_master ORDER BY type, name");
    for (int i = 0; i < TableCount; ++i)
        dump("SELECT rowid, * FROM " + quoteName(tableDef(TableId(i)).label) + " ORDER BY rowid");
    dump("SELECT * FROM HkCounts ORDER BY 1");
    sqlite3_close(db);
    return out;
}

} // namespace

TEST_F(ProgramTest, AnOlderFileIsConvertedWithItsRecordsKeysAndCountsIntact)
{
    makeOlderFile(path(), kRecords);

    const bool opened = UseTable(Books);
    for (const MessageRequest &box : boxes.boxes())
        ADD_FAILURE() << box.title << ": " << box.text;
    ASSERT_TRUE(opened);
    // Its progress ran to the end, and the window closed.
    ASSERT_GE(boxes.progressSteps().size(), 2u);
    EXPECT_EQ(boxes.progressSteps().front(), 0);
    EXPECT_EQ(boxes.progressSteps()[boxes.progressSteps().size() - 2], 1000);
    EXPECT_EQ(boxes.progressSteps().back(), -1);

    EXPECT_EQ(titlesInOrder(), (Texts{"Attic", "eee", "Ééé", "Ünïcode", "Unicorn", "Zephyr"}));
    EXPECT_EQ(Books.records(), 6);
    Bok.BooksId = 3; // row ids and values as they were
    ASSERT_EQ(Books.get(Bok.Primary), NoError);
    EXPECT_EQ(Bok.BookTitle.str(), "Ünïcode");
    EXPECT_EQ(Bok.BookValue.cents(), 100);

    // Every table is the program's own again, keys and companions included.
    sqlite3 *db = DataFile::program().db();
    std::vector<const TableDef *> older;
    ASSERT_EQ(tablesUnderOlderOrder(db, older), SQLITE_OK);
    EXPECT_TRUE(older.empty());
    EXPECT_EQ(schemaDifference(db), "");
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        SCOPED_TRACE(def.label);
        EXPECT_EQ(checkLayout(db, def), NoError);
        EXPECT_EQ(checkKeys(db, def), NoError);
        EXPECT_TRUE(countKept(db, def));
        EXPECT_EQ(childSumsKept(db, def), def.perParent.by >= 0);
        EXPECT_EQ(checkSearchIndexes(db, def), NoError);
    }
    EXPECT_EQ(keptCount(DataFile::program(), Books.def()), 6);
    const TableDef &def = Books.def();
    const auto novels = childSum(DataFile::program(), def, def.fieldIndex("Bok:BookCategoryId"), 1,
                                 def.fieldIndex("BOK:BOOKVALUE"));
    ASSERT_TRUE(novels.has_value());
    EXPECT_EQ(novels->count, 4);
    EXPECT_EQ(novels->sum, 1250 + 100 + 5 + 20);

    // The triggers run on the new table.
    Bok = BooksRecord{};
    Bok.BooksId = 7;
    Bok.BookTitle = "Zoë";
    Bok.BookCategoryId = 1;
    ASSERT_EQ(Books.add(), NoError);
    EXPECT_EQ(keptCount(DataFile::program(), Books.def()), 7);
    ReleaseTable(Books);

    // Other tables open without converting again.
    const std::size_t steps = boxes.progressSteps().size();
    ASSERT_TRUE(UseTable(Items));
    EXPECT_EQ(boxes.progressSteps().size(), steps);
    EXPECT_EQ(Items.records(), 2);
    ReleaseTable(Items);
}

TEST_F(ProgramTest, AConversionThatFailsLeavesTheFileAsItWasAndEndsTheProgram)
{
    // A record that the earlier version let past a width (written by hand):
    // the new table refuses it in the middle of the copy.
    makeOlderFile(path(), std::string(kRecords) +
                              ";PRAGMA ignore_check_constraints=ON;"
                              "INSERT INTO ItemsRooms VALUES (3, '" +
                              std::string(200, 'x') + "')");
    const std::string before = snapshot(path());

    EXPECT_FALSE(UseTable(Books));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Data File Not Converted");
    EXPECT_NE(boxes.boxes()[0].text.find("Hearthkp.Tps was made by an earlier version"),
              std::string::npos);
    EXPECT_NE(boxes.boxes()[0].text.find("CHECK constraint failed"), std::string::npos)
        << boxes.boxes()[0].text;
    EXPECT_EQ(boxes.halts(), Texts{"Data File Not Converted!"});
    EXPECT_EQ(haltCodes.size(), 1u);
    EXPECT_EQ(snapshot(path()), before);
}

// Only the rule's name may differ: a table that differs in anything else is
// not the earlier version's, and is refused as before.
TEST_F(ProgramTest, OnlyTheEarlierRulesNameMakesATableConvertible)
{
    makeOlderFile(path(), kRecords);
    const TableDef &books = Books.def();
    std::string sql = "DROP TABLE Books;" + createTableSql(books, "NOCASE");
    for (std::size_t k = 0; k < books.keys.size(); ++k)
        sql += ";" + createIndexSql(books, static_cast<int>(k), "NOCASE");
    ASSERT_EQ(rawSql(sql), SQLITE_OK);

    // The other tables are converted; Books is not the program's.
    EXPECT_FALSE(UseTable(Books));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Invalid File");
    sqlite3 *db = nullptr;
    ASSERT_EQ(openConnection(path(), SQLITE_OPEN_READONLY, &db), SQLITE_OK);
    EXPECT_EQ(checkLayout(db, tableDef(TableId::Items)), NoError);
    EXPECT_EQ(checkLayout(db, books), LayoutMismatch);
    sqlite3_close(db);
}
