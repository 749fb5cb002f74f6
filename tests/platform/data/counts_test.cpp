// The record counts the data file keeps: exact after every kind of write,
// whoever makes it, and set up once in a file that was written without them.
#include "datafixture.h"

#include "platform/data/counts.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"

using namespace hk;

namespace
{

class CountsTest : public DataFileTest
{
  protected:
    // The rows as the table holds them, counted by another connection.
    long long rowsIn(const std::string &label)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + quoteName(label)).c_str(), -1, &st,
                           nullptr);
        long long n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
        sqlite3_finalize(st);
        sqlite3_close(db);
        return n;
    }
    // The count the file keeps; -1 when it keeps none.
    long long kept(DataFile &file)
    {
        return keptCount(file, tableDef(TableId::Books)).value_or(-1);
    }
    void addBook(Table &t, BooksRecord &b, Long id)
    {
        b = BooksRecord{};
        b.BooksId = id;
        b.BookTitle = "Title " + std::to_string(id);
        ASSERT_EQ(t.add(), NoError);
    }
};

} // namespace

TEST_F(CountsTest, ExactAfterInsertsDeletesARollbackAndAnotherStationsWrites)
{
    DataFile fileA(path()), fileB(path());
    BooksRecord a, b;
    Table booksA(TableId::Books, &a, &fileA), booksB(TableId::Books, &b, &fileB);
    ASSERT_EQ(booksA.create(), NoError);
    ASSERT_EQ(booksA.open(), NoError);
    ASSERT_EQ(booksB.open(), NoError);
    EXPECT_EQ(kept(fileA), 0);

    for (Long id = 1; id <= 5; ++id)
        addBook(booksA, a, id);
    addBook(booksB, b, 6);
    EXPECT_EQ(kept(fileA), 6);
    EXPECT_EQ(kept(fileB), 6);

    // Several rows in one statement, as a cascade or a clean-up removes them.
    ASSERT_EQ(rawSql("DELETE FROM Books WHERE BooksId <= 2"), SQLITE_OK);
    EXPECT_EQ(kept(fileA), 4);

    // Inside a transaction the station sees its own writes; a rollback takes
    // the count back with them.
    Transaction txn(fileA);
    ASSERT_EQ(txn.begin(), NoError);
    addBook(booksA, a, 7);
    a.BooksId = 3;
    ASSERT_EQ(booksA.get(BooksRecord::Primary), NoError);
    ASSERT_EQ(booksA.remove(), NoError);
    addBook(booksA, a, 8);
    EXPECT_EQ(kept(fileA), 5);
    EXPECT_EQ(kept(fileB), 4);
    txn.rollback();
    EXPECT_EQ(kept(fileA), 4);
    EXPECT_EQ(rowsIn("Books"), 4);

    // A failed insert (duplicate key) counts nothing.
    a = BooksRecord{};
    a.BooksId = 4;
    EXPECT_EQ(booksA.add(), DuplicateKey);
    EXPECT_EQ(kept(fileA), rowsIn("Books"));
}

TEST_F(CountsTest, AFileWithoutCountsGetsThemOnceWhenATableOpens)
{
    // A file as an earlier version wrote it: the tables and keys only.
    const TableDef &def = tableDef(TableId::Books);
    std::string sql = createTableSql(def);
    for (std::size_t k = 0; k < def.keys.size(); ++k)
        sql += ";\n" + createIndexSql(def, static_cast<int>(k));
    QFile(QString::fromStdString(path())).open(QIODevice::WriteOnly); // an empty data file
    ASSERT_EQ(rawSql(sql), SQLITE_OK);
    ASSERT_EQ(rawSql("INSERT INTO Books (BooksId, BookTitle) VALUES (1, 'A'), (2, 'B'), (3, 'C')"),
              SQLITE_OK);

    DataFile file(path());
    BooksRecord b;
    Table books(TableId::Books, &b, &file);
    ASSERT_EQ(books.open(), NoError);
    ASSERT_TRUE(countKept(file.db(), def));
    EXPECT_EQ(keptCount(file, def), 3);

    // From now on every program's writes are counted, also one that knows
    // nothing of the counts.
    ASSERT_EQ(rawSql("INSERT INTO Books (BooksId, BookTitle) VALUES (4, 'D')"), SQLITE_OK);
    EXPECT_EQ(kept(file), 4);

    // A trigger removed by hand is put back with a fresh count.
    ASSERT_EQ(books.close(), NoError);
    ASSERT_EQ(rawSql("DROP TRIGGER Books_CountDelete; DELETE FROM Books WHERE BooksId = 1"),
              SQLITE_OK);
    ASSERT_EQ(books.open(), NoError);
    EXPECT_EQ(kept(file), 3);
    EXPECT_EQ(rowsIn("Books"), 3);
}
