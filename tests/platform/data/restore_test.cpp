// Restoring a backup into the data file: the restored file holds the backup's
// records, counts, totals and search index while another station keeps the
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
    bool kept() const { return QFileInfo::exists(QString::fromStdString(keptPath())); }

    // Books, an item and the running totals, and a backup of them.
    void SetUp() override
    {
        DataFile file(path());
        BooksRecord b;
        ItemsRecord i;
        HearthkpValueRecord v;
        ASSERT_EQ(Table(TableId::Books, &b, &file).create(), NoError);
        ASSERT_EQ(Table(TableId::Items, &i, &file).create(), NoError);
        ASSERT_EQ(Table(TableId::HearthkpValue, &v, &file).create(), NoError);
        ASSERT_EQ(rawSql("INSERT INTO Books (BooksId, BookTitle, BookValue) VALUES (1, 'Emma', "
                         "1250), (2, 'Ulysses', 800); INSERT INTO Items (ItemsId, Items, "
                         "Description) VALUES (1, 'Lamp', 'brass lamp'); INSERT INTO "
                         "HearthkpValue (InventoryBooks) VALUES (2050)"),
                  SQLITE_OK);
        ASSERT_EQ(backupDataFile(path(), backupPath()).code, NoError);
    }
    // What a user would miss, as text: records, counts and totals.
    static std::string contents(const std::string &file)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(
            db,
            "SELECT (SELECT group_concat(BooksId || BookTitle || BookValue) FROM Books) || '|' || "
            "(SELECT group_concat(Items || Description) FROM Items) || '|' || (SELECT "
            "InventoryBooks FROM HearthkpValue) || '|' || (SELECT group_concat(TableLabel || "
            "Records) FROM HkCounts)",
            -1, &st, nullptr);
        std::string all = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0)
                              ? reinterpret_cast<const char *>(sqlite3_column_text(st, 0))
                              : sqlite3_errmsg(db);
        sqlite3_finalize(st);
        sqlite3_close(db);
        return all;
    }
};

} // namespace

TEST_F(RestoreTest, TheRestoredFileHoldsTheBackupAndTheKeptCopyTheDataAsItWas)
{
    ASSERT_EQ(rawSql("DELETE FROM Books WHERE BooksId = 1; INSERT INTO Books (BooksId, "
                     "BookTitle) VALUES (3, 'Dubliners'); UPDATE Items SET Description = 'desk "
                     "lamp'; UPDATE HearthkpValue SET InventoryBooks = 800"),
              SQLITE_OK);
    const std::string before = contents(path()), backedUp = contents(backupPath());
    ASSERT_NE(before, backedUp);
    // Another station has the file open, its schema and pages read.
    sqlite3 *station = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &station), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(station, "SELECT * FROM Books", nullptr, nullptr, nullptr), SQLITE_OK);

    DataFile file(path());
    const RestoreOutcome outcome =
        restoreBackup(BackupSource(backupPath(), path()), file, keptPath(), 2000);
    ASSERT_EQ(outcome.failed, RestoreOutcome::Step::Done) << outcome.reason;
    EXPECT_EQ(contents(path()), backedUp);
    EXPECT_EQ(contents(keptPath()), before);

    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(station, "SELECT group_concat(BookTitle) FROM Books", -1, &st, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "Emma,Ulysses");
    sqlite3_finalize(st);
    sqlite3_close(station);
    // The program opens it as it stands, and the search index agrees with it.
    BooksRecord b;
    Table books(TableId::Books, &b, &file);
    ASSERT_EQ(books.open(), NoError);
    EXPECT_EQ(books.records(), 2);
    EXPECT_EQ(rawSql("INSERT INTO Items_Description_Text (Items_Description_Text) VALUES "
                     "('integrity-check')"),
              SQLITE_OK);
}

TEST_F(RestoreTest, ABadBackupIsRefusedAndChangesNothing)
{
    QFile whole(QString::fromStdString(backupPath()));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray good = whole.readAll();
    const std::string before = contents(path()), bad = other.filePath("bad.Tps").toStdString();
    auto write = [&](const QByteArray &bytes) {
        QFile f(QString::fromStdString(bad));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    auto sql = [&](const char *text) {
        sqlite3 *db = nullptr;
        sqlite3_open(bad.c_str(), &db);
        const int rc = sqlite3_exec(db, text, nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc == SQLITE_OK;
    };
    const struct {
        std::function<bool()> make;
        std::string chosen;
        const char *reason; // part of the words given
    } cases[] = {
        {[&] { return write(QByteArray(8192, 'x')); }, bad, "not a data file"},
        {[&] { return write(good.left(good.size() / 2)); }, bad, "damaged"},
        {[&] { return sql("CREATE TABLE Books (BooksId INTEGER, Title TEXT)"); }, bad,
         "Hearthkp\\!Books is not laid out"},
        {[&] { return sql("CREATE TABLE Other (x)"); }, bad, "none of this program"},
        {[] { return true; }, path(), "data file itself"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason);
        std::remove(bad.c_str());
        ASSERT_TRUE(c.make());
        const BackupSource backup(c.chosen, path());
        EXPECT_NE(backup.problem().find(c.reason), std::string::npos) << backup.problem();
        DataFile file(path());
        EXPECT_EQ(restoreBackup(backup, file, keptPath(), 2000).failed,
                  RestoreOutcome::Step::Restoring);
        EXPECT_EQ(contents(path()), before);
        EXPECT_FALSE(kept());
    }
}

// A station in the middle of a write, or a kept copy that cannot be
// written, stops the restore before the data file is touched.
TEST_F(RestoreTest, ALockOrAFailedKeptCopyStopsTheRestoreWithTheFileAsItWas)
{
    ASSERT_EQ(rawSql("UPDATE Books SET BookTitle = 'Persuasion' WHERE BooksId = 1"), SQLITE_OK);
    const std::string before = contents(path());
    const BackupSource backup(backupPath(), path());
    DataFile file(path());
    sqlite3 *station = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &station), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(station, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(restoreBackup(backup, file, keptPath(), 100).code, FileLocked);
    EXPECT_EQ(lastError().code, FileLocked);
    sqlite3_close(station);
    EXPECT_EQ(contents(path()), before);

    const RestoreOutcome outcome =
        restoreBackup(backup, file, other.filePath("no/such/folder/kept").toStdString(), 100);
    EXPECT_EQ(outcome.failed, RestoreOutcome::Step::Keeping);
    EXPECT_EQ(contents(path()), before);
    EXPECT_FALSE(kept());
}

// On a new computer there is no data file yet: the restore makes it.
TEST_F(RestoreTest, ABackupIsRestoredWhereNoDataFileIsYet)
{
    const std::string backedUp = contents(backupPath());
    for (const char *suffix : {"", "-wal", "-shm"})
        std::remove((path() + suffix).c_str());
    DataFile file(path());
    EXPECT_EQ(restoreBackup(BackupSource(backupPath(), path()), file, keptPath(), 2000).failed,
              RestoreOutcome::Step::Done);
    EXPECT_EQ(contents(path()), backedUp);
    EXPECT_FALSE(kept());
}
