#include "datafixture.h"
#include "platform/data/transaction.h"

#include <vector>

using namespace hk;

namespace
{

// Two programs on one data file: each station has its own connection,
// tables and record buffers.
class StationsTest : public DataFileTest
{
  protected:
    DataFile fileA{path()}, fileB{path()};
    BooksRecord a, b;
    BookCategoryRecord ca;
    Table booksA{TableId::Books, &a, &fileA};
    Table booksB{TableId::Books, &b, &fileB};
    Table categoriesA{TableId::BookCategory, &ca, &fileA};

    void SetUp() override
    {
        ASSERT_EQ(booksA.create(), NoError);
        ASSERT_EQ(categoriesA.create(), NoError);
        ASSERT_EQ(booksA.open(), NoError);
        ASSERT_EQ(categoriesA.open(), NoError);
        ASSERT_EQ(booksB.open(), NoError);
        a.BooksId = 1;
        a.BookTitle = "Walden";
        ASSERT_EQ(booksA.add(), NoError);
    }

    void readFirst(Table &t)
    {
        ASSERT_EQ(t.set(BooksRecord::Primary), NoError);
        ASSERT_EQ(t.next(), NoError);
    }
};

} // namespace

TEST_F(StationsTest, APutOverAnotherStationsChangeFailsAndWritesNothing)
{
    ASSERT_EQ(booksA.watch(), NoError);
    readFirst(booksA);
    readFirst(booksB);
    b.BookTitle = "walden"; // only the letter case: still a change
    ASSERT_EQ(booksB.put(), NoError);

    a.BookTitle = "Walden Pond";
    EXPECT_EQ(booksA.put(), ChangedByOther);
    readFirst(booksB);
    EXPECT_EQ(b.BookTitle.str(), "walden");

    // Watched again and unchanged by anyone else: the put goes through.
    ASSERT_EQ(booksA.watch(), NoError);
    readFirst(booksA);
    a.BookTitle = "Walden Pond";
    EXPECT_EQ(booksA.put(), NoError);
    a.BookAuthor = "Thoreau"; // a second put after our own is no conflict
    EXPECT_EQ(booksA.put(), NoError);
    readFirst(booksB);
    EXPECT_EQ(b.BookTitle.str(), "Walden Pond");
    EXPECT_EQ(b.BookAuthor.str(), "Thoreau");

    // A caller's own copy of the record as read decides as well.
    BooksRecord asRead = b;
    readFirst(booksA);
    a.Pages = 10;
    ASSERT_EQ(booksA.put(), NoError);
    b.Pages = 20;
    EXPECT_EQ(booksB.putIfUnchanged(&asRead), ChangedByOther);
}

TEST_F(StationsTest, ATransactionWaitingOnAnotherStationFailsWithItsCode)
{
    Transaction writing(fileB);
    ASSERT_EQ(writing.begin(), NoError);
    b.BooksId = 2;
    ASSERT_EQ(booksB.add(), NoError);

    Transaction waiting(fileA);
    EXPECT_EQ(waiting.begin(), FileLocked); // after the two-second wait, not forever
    EXPECT_EQ(lastError().driverCode, SQLITE_BUSY);
    EXPECT_FALSE(fileA.inTransaction());
    // Reading goes on meanwhile, and sees only what was committed.
    EXPECT_EQ(booksA.records(), 1);

    ASSERT_EQ(writing.commit(), NoError);
    ASSERT_EQ(waiting.begin(), NoError);
    EXPECT_EQ(booksA.records(), 2);
    ASSERT_EQ(waiting.commit(), NoError);
}

TEST_F(StationsTest, ARolledBackTransactionLeavesEveryTableAsItWas)
{
    ca.BookCategoryId = 1;
    ca.BookCategory = "Essays";
    ASSERT_EQ(categoriesA.add(), NoError);

    Transaction txn(fileA);
    ASSERT_EQ(txn.begin(), NoError);
    readFirst(booksA);
    ASSERT_EQ(booksA.remove(), NoError);
    ca.BookCategory = "Nature";
    ASSERT_EQ(categoriesA.put(), NoError);
    ca.BookCategoryId = 2;
    ca.BookCategory = "Travel";
    ASSERT_EQ(categoriesA.add(), NoError);
    txn.rollback();

    EXPECT_EQ(booksA.records(), 1);
    EXPECT_EQ(categoriesA.records(), 1);
    ca.BookCategoryId = 1;
    ASSERT_EQ(categoriesA.get(BookCategoryRecord::Primary), NoError);
    EXPECT_EQ(ca.BookCategory.str(), "Essays");
    readFirst(booksB);
    EXPECT_EQ(b.BookTitle.str(), "Walden");
}

TEST_F(StationsTest, AScanSeesChangesMadeWhileItReads)
{
    for (Long id = 2; id <= 40; ++id) {
        a.BooksId = id;
        ASSERT_EQ(booksA.add(), NoError);
    }
    ASSERT_EQ(booksA.set(BooksRecord::Primary), NoError);
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(booksA.next(), NoError); // far enough to be reading ahead
    ASSERT_EQ(a.BooksId, 10);

    // Another station renames the next book; this one deletes the one after.
    readFirst(booksB);
    b.BooksId = 11;
    ASSERT_EQ(booksB.get(BooksRecord::Primary), NoError);
    b.BookTitle = "Renamed";
    ASSERT_EQ(booksB.put(), NoError);
    a.BooksId = 12;
    ASSERT_EQ(booksA.get(BooksRecord::Primary), NoError);
    ASSERT_EQ(booksA.remove(), NoError);

    ASSERT_EQ(booksA.next(), NoError);
    EXPECT_EQ(a.BooksId, 11);
    EXPECT_EQ(a.BookTitle.str(), "Renamed");
    ASSERT_EQ(booksA.next(), NoError);
    EXPECT_EQ(a.BooksId, 13);
    ASSERT_EQ(booksA.previous(), NoError);
    EXPECT_EQ(a.BooksId, 11);
}

namespace
{

std::string journalMode(DataFile &file)
{
    sqlite3_stmt *st = file.statement("PRAGMA journal_mode", {});
    StatementScope scope(st);
    return sqlite3_step(st) == SQLITE_ROW
               ? reinterpret_cast<const char *>(sqlite3_column_text(st, 0))
               : std::string();
}

Mount onNetwork(const std::string &)
{
    return Mount::Network;
}

} // namespace

// A station on a network drive uses the rollback journal. It takes a file out
// of WAL mode only once no other station has it open; until then it refuses
// the file with its reason and leaves it as it was. Once out, it stays out.
TEST_F(DataFileTest, OnANetworkDriveTheFileLeavesWalModeOnlyWhenNoOtherStationHasItOpen)
{
    DataFile local(path()), remote(path(), onNetwork);
    BooksRecord l, r;
    Table booksLocal(TableId::Books, &l, &local);
    Table booksRemote(TableId::Books, &r, &remote);
    ASSERT_EQ(booksLocal.create(), NoError);
    ASSERT_EQ(booksLocal.open(), NoError);
    EXPECT_EQ(journalMode(local), "wal"); // a local file keeps WAL

    EXPECT_EQ(booksRemote.open(), FileSystemError);
    EXPECT_EQ(lastError().driverCode, SQLITE_BUSY);
    EXPECT_EQ(lastError().driverMessage, "on a network drive the data file must leave WAL mode, "
                                         "which waits until the other stations close it");
    EXPECT_FALSE(booksRemote.isOpen());
    EXPECT_EQ(journalMode(local), "wal");

    ASSERT_EQ(booksLocal.close(), NoError);
    ASSERT_EQ(booksRemote.open(), NoError);
    EXPECT_EQ(journalMode(remote), "delete");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path() + "-wal")));

    // A local station that joins later follows the file, not its own habit.
    DataFile later(path());
    BooksRecord k;
    Table booksLater(TableId::Books, &k, &later);
    ASSERT_EQ(booksLater.open(), NoError);
    EXPECT_EQ(journalMode(later), "delete");
    EXPECT_EQ(journalMode(remote), "delete");
}
