// The backup copy of the data file: one committed moment of it, also what is
// still in the write-ahead log, while another station writes; and nothing
// replaced when the copy cannot be made.
#include "datafixture.h"

#include "platform/data/backup.h"

#include <QFileInfo>

#include <atomic>
#include <thread>

using namespace hk;

namespace
{

class BackupTest : public DataFileTest
{
  protected:
    QTemporaryDir target;
    std::string copyPath() const { return target.filePath("Hearthkp.Tps").toStdString(); }

    // One number from a query on the copy.
    static long long number(sqlite3 *db, const std::string &sql)
    {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        long long n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
        sqlite3_finalize(st);
        return n;
    }
};

} // namespace

TEST_F(BackupTest, ACopyTakenWhileAnotherStationInsertsHoldsOneCommittedMoment)
{
    DataFile file(path());
    BooksRecord b;
    BookCategoryRecord c;
    Table books(TableId::Books, &b, &file), categories(TableId::BookCategory, &c, &file);
    ASSERT_EQ(books.create(), NoError);
    ASSERT_EQ(categories.create(), NoError);
    ASSERT_EQ(books.open(), NoError); // keeps the file open, its log unmerged

    // Another station adds a category and a book in each transaction; the
    // first hundred stay in the write-ahead log.
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &other), SQLITE_OK);
    registerKeyCollation(other);
    sqlite3_busy_timeout(other, 5000);
    sqlite3_exec(other, "PRAGMA wal_autocheckpoint=0; PRAGMA synchronous=OFF", nullptr, nullptr,
                 nullptr);
    auto addPair = [other](int n) {
        const std::string id = std::to_string(n);
        return sqlite3_exec(other,
                            ("BEGIN IMMEDIATE; INSERT INTO BookCategory (BookCategoryId, "
                             "BookCategory) VALUES (" +
                             id + ", 'C" + id +
                             "'); INSERT INTO Books (BooksId, BookTitle, BookCategoryId) VALUES (" +
                             id + ", 'T" + id + "', " + id + "); COMMIT")
                                .c_str(),
                            nullptr, nullptr, nullptr);
    };
    for (int n = 1; n <= 100; ++n)
        ASSERT_EQ(addPair(n), SQLITE_OK);
    ASSERT_TRUE(QFileInfo(QString::fromStdString(path() + "-wal")).size() > 0);

    std::atomic<int> added{100};
    std::thread writer([&] {
        for (int n = 101; n <= 1100; ++n)
            if (addPair(n) == SQLITE_OK) added = n;
    });
    BackupOutcome first, second;
    first = backupDataFile(path(), copyPath());
    second = backupDataFile(path(), copyPath()); // over the first, mid-stream too
    writer.join();
    sqlite3_close(other);
    ASSERT_EQ(added.load(), 1100);
    ASSERT_EQ(first.code, NoError) << first.reason;
    ASSERT_EQ(second.code, NoError) << second.reason;
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), QStringList{"Hearthkp.Tps"});

    sqlite3 *copy = nullptr;
    ASSERT_EQ(sqlite3_open_v2(copyPath().c_str(), &copy, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    registerKeyCollation(copy);
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(copy, "PRAGMA integrity_check", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "ok");
    sqlite3_finalize(st);
    const long long bookRows = number(copy, "SELECT count(*) FROM Books");
    EXPECT_GE(bookRows, 100); // what was only in the log is there
    EXPECT_EQ(number(copy, "SELECT count(*) FROM BookCategory"), bookRows);
    EXPECT_EQ(number(copy, "SELECT max(BooksId) FROM Books"), bookRows); // no gap: one moment
    EXPECT_EQ(number(copy, "SELECT Records FROM HkCounts WHERE TableLabel = 'Books'"), bookRows);
    sqlite3_close(copy);
}

// A file whose table differs from the dictionary is no good copy: the
// earlier backup stays.
TEST_F(BackupTest, ACopyThatFailsItsCheckLeavesTheEarlierBackup)
{
    QFile(QString::fromStdString(path())).open(QIODevice::WriteOnly); // an empty data file
    ASSERT_EQ(rawSql("CREATE TABLE Books (BooksId INTEGER, Title TEXT)"), SQLITE_OK);
    QFile earlier(QString::fromStdString(copyPath()));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier backup");
    earlier.close();

    const BackupOutcome outcome = backupDataFile(path(), copyPath());
    EXPECT_EQ(outcome.code, FileSystemError);
    EXPECT_NE(outcome.reason.find("Hearthkp\\!Books"), std::string::npos) << outcome.reason;
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier backup");
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), QStringList{"Hearthkp.Tps"});
}

TEST_F(BackupTest, AStationThatKeepsTheFileLockedEndsTheCopyInsteadOfHangingIt)
{
    DataFile file(path());
    BooksRecord b;
    Table books(TableId::Books, &b, &file);
    ASSERT_EQ(books.create(), NoError);
    books.close();

    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "SELECT count(*) FROM sqlite_master;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const BackupOutcome outcome = backupDataFile(path(), copyPath());
    EXPECT_EQ(outcome.code, FileSystemError);
    EXPECT_NE(outcome.reason.find("locked"), std::string::npos) << outcome.reason;
    EXPECT_TRUE(QDir(target.path()).entryList(QDir::Files).isEmpty());
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}
