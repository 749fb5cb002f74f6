// Restoring a backup into the data file: the restored file holds the backup's
// records, counts, totals and search indexes while another station keeps the
// file open; the data as it was is kept beside it; and a bad backup, another
// station's lock or a copy that cannot be kept changes nothing.
#include "datafixture.h"

#include "platform/data/backup.h"
#include "platform/data/restore.h"

#include <QFileInfo>

using namespace hk;

namespace
{

class RestoreTest : public DataFileTest
{
  protected:
    QTemporaryDir other;
    std::string backupPath() const { return other.filePath("backup.Tps").toStdString(); }
    std::string keptPath() const { return path() + ".before-restore"; }

    // A data file with books, items and the running totals.
    void makeDataFile()
    {
        DataFile file(path());
        BooksRecord b;
        ItemsRecord i;
        HearthkpValueRecord v;
        for (Table *t : {new Table(TableId::Books, &b, &file), new Table(TableId::Items, &i, &file),
                         new Table(TableId::HearthkpValue, &v, &file)}) {
            ASSERT_EQ(t->create(), NoError);
            delete t;
        }
        ASSERT_EQ(rawSql("INSERT INTO Books (BooksId, BookTitle, BookValue) VALUES (1, 'Emma', "
                         "1250), (2, 'Ulysses', 800);"
                         "INSERT INTO Items (ItemsId, Items, Description) VALUES (1, 'Lamp', "
                         "'brass reading lamp');"
                         "INSERT INTO HearthkpValue (InventoryBooks, InventoryItems) VALUES "
                         "(2050, 0)"),
                  SQLITE_OK);
    }
    // Everything a user would miss, as text: records, counts and totals.
    static std::string contents(const std::string &file)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        registerKeyCollation(db);
        std::string all;
        for (const char *sql :
             {"SELECT group_concat(BooksId || ':' || BookTitle || ':' || BookValue, ';') FROM "
              "(SELECT * FROM Books ORDER BY BooksId)",
              "SELECT group_concat(ItemsId || ':' || Items || ':' || Description, ';') FROM "
              "(SELECT * FROM Items ORDER BY ItemsId)",
              "SELECT group_concat(InventoryBooks || ':' || InventoryItems) FROM HearthkpValue",
              "SELECT group_concat(TableLabel || '=' || Records, ';') FROM (SELECT * FROM "
              "HkCounts ORDER BY TableLabel)"}) {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
                all += reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
            else
                all += std::string("(") + sqlite3_errmsg(db) + ")";
            all += '\n';
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return all;
    }
    void writeFile(const std::string &file, const QByteArray &bytes)
    {
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST_F(RestoreTest, TheRestoredFileHoldsTheBackupAndTheKeptCopyTheDataAsItWas)
{
    makeDataFile();
    ASSERT_EQ(backupDataFile(path(), backupPath()).code, NoError);
    ASSERT_EQ(
        rawSql("DELETE FROM Books WHERE BooksId = 1;"
               "INSERT INTO Books (BooksId, BookTitle, BookValue) VALUES (3, 'Dubliners', 10);"
               "UPDATE Items SET Description = 'desk lamp' WHERE ItemsId = 1;"
               "UPDATE HearthkpValue SET InventoryBooks = 810"),
        SQLITE_OK);
    const std::string before = contents(path()), backedUp = contents(backupPath());
    ASSERT_NE(before, backedUp);

    // Another station has the file open, with its schema and pages read.
    sqlite3 *station = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &station), SQLITE_OK);
    registerKeyCollation(station);
    ASSERT_EQ(sqlite3_exec(station, "SELECT count(*) FROM Books", nullptr, nullptr, nullptr),
              SQLITE_OK);

    DataFile file(path());
    {
        const BackupSource backup(backupPath(), path());
        ASSERT_TRUE(backup.sound()) << backup.problem();
        const RestoreOutcome outcome = restoreBackup(backup, file, keptPath(), 2000);
        ASSERT_EQ(outcome.failed, RestoreOutcome::Step::Done) << outcome.reason;
    }
    EXPECT_FALSE(file.connected()); // nothing of the old file's state stays open
    EXPECT_EQ(contents(path()), backedUp);
    EXPECT_EQ(contents(keptPath()), before);

    // The other station reads the restored file; the file stays in WAL mode.
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(station, "SELECT group_concat(BookTitle) FROM Books", -1, &st, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "Emma,Ulysses");
    sqlite3_finalize(st);
    sqlite3_close(station);

    // The program opens it as it is, and its counts and search index agree
    // with the records.
    BooksRecord b;
    ItemsRecord i;
    Table books(TableId::Books, &b, &file), items(TableId::Items, &i, &file);
    ASSERT_EQ(books.open(), NoError);
    ASSERT_EQ(items.open(), NoError);
    EXPECT_EQ(books.records(), 2);
    std::string error;
    EXPECT_EQ(rawSql("INSERT INTO Items_Description_Text (Items_Description_Text) VALUES "
                     "('integrity-check')",
                     &error),
              SQLITE_OK)
        << error;
    sqlite3_stmt *mode = nullptr;
    sqlite3_prepare_v2(file.db(), "PRAGMA journal_mode", -1, &mode, nullptr);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(mode, 0)), "wal");
    sqlite3_finalize(mode);
}

TEST_F(RestoreTest, ABadBackupIsRefusedAndChangesNothing)
{
    makeDataFile();
    ASSERT_EQ(backupDataFile(path(), backupPath()).code, NoError);
    QFile whole(QString::fromStdString(backupPath()));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray good = whole.readAll();
    whole.close();
    const std::string before = contents(path());

    struct Case {
        const char *what;
        std::function<void()> make;
        const char *reason; // part of the words given
    };
    const std::string bad = other.filePath("bad.Tps").toStdString();
    auto sql = [bad](const char *text) {
        sqlite3 *db = nullptr;
        sqlite3_open(bad.c_str(), &db);
        sqlite3_exec(db, text, nullptr, nullptr, nullptr);
        sqlite3_close(db);
    };
    const Case cases[] = {
        {"garbage", [&] { writeFile(bad, QByteArray(8192, 'x')); }, "not a data file"},
        {"cut off", [&] { writeFile(bad, good.left(good.size() / 2)); }, "damaged"},
        {"a table of another layout",
         [&] { sql("CREATE TABLE Books (BooksId INTEGER, Title TEXT)"); },
         "Hearthkp\\!Books is not laid out"},
        {"no table of ours", [&] { sql("CREATE TABLE Other (x)"); }, "none of this program"},
        {"the data file itself", [] {}, "data file itself"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(bad.c_str());
        c.make();
        const std::string chosen = std::string(c.what) == "the data file itself" ? path() : bad;
        const BackupSource backup(chosen, path());
        EXPECT_FALSE(backup.sound());
        EXPECT_NE(backup.problem().find(c.reason), std::string::npos) << backup.problem();
        DataFile file(path());
        EXPECT_NE(restoreBackup(backup, file, keptPath(), 2000).failed, RestoreOutcome::Step::Done);
        EXPECT_EQ(contents(path()), before);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(keptPath())));
    }
}

// A station in the middle of a write, or a kept copy that cannot be
// written, stops the restore before the data file is touched.
TEST_F(RestoreTest, ALockOrAFailedKeptCopyStopsTheRestoreWithTheFileAsItWas)
{
    makeDataFile();
    ASSERT_EQ(backupDataFile(path(), backupPath()).code, NoError);
    ASSERT_EQ(rawSql("UPDATE Books SET BookTitle = 'Persuasion' WHERE BooksId = 1"), SQLITE_OK);
    const std::string before = contents(path());
    const BackupSource backup(backupPath(), path());
    ASSERT_TRUE(backup.sound()) << backup.problem();
    DataFile file(path());

    sqlite3 *station = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &station), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(station, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    RestoreOutcome outcome = restoreBackup(backup, file, keptPath(), 100);
    EXPECT_EQ(outcome.code, FileLocked);
    EXPECT_EQ(lastError().code, FileLocked);
    sqlite3_exec(station, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(station);
    EXPECT_EQ(contents(path()), before);

    outcome = restoreBackup(backup, file, other.filePath("no/such/folder/kept").toStdString(), 100);
    EXPECT_EQ(outcome.failed, RestoreOutcome::Step::Keeping);
    EXPECT_EQ(outcome.code, FileSystemError);
    EXPECT_EQ(contents(path()), before);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(keptPath())));
}
