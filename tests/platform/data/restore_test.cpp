// Restoring a backup into the data file: the restored file holds the backup's
// records, counts, totals and search index while another station keeps the
// file open; the data as it was is kept beside it; and a bad backup, another
// station's lock or a copy that cannot be kept changes nothing.
#include "datafixture.h"
#include "olderfile.h"

#include "platform/data/attachments.h"
#include "platform/data/backup.h"
#include "platform/data/leftovers.h"
#include "platform/data/olderorder.h"
#include "platform/data/restore.h"
#include "platform/data/schema.h"

#include <QFileInfo>

#include <filesystem>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

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
    auto sql = [&](const std::string &text) {
        sqlite3 *db = nullptr;
        sqlite3_open(bad.c_str(), &db);
        registerKeyCollation(db);
        const int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc == SQLITE_OK;
    };
    // Books with the same columns and types, but none of their constraints,
    // holding a title and a value no record can hold.
    std::string looseBooks = "CREATE TABLE Loose (";
    for (const FieldDef &f : tableDef(TableId::Books).fields)
        looseBooks += (f.column == "BooksId" ? "" : ", ") + quoteName(f.column) +
                      (f.isText() ? " TEXT" : " INTEGER");
    looseBooks += "); INSERT INTO Loose SELECT * FROM Books; DROP TABLE Books; ALTER TABLE Loose "
                  "RENAME TO Books; UPDATE Books SET BookTitle = printf('%3001s', 'x'), "
                  "BookValue = 99999999999;";
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
        {[&] { return write(good) && sql(looseBooks); }, bad, "Hearthkp\\!Books is not laid out"},
        {[&] {
             return write(good) &&
                    sql("CREATE TRIGGER zz AFTER INSERT ON Books BEGIN DELETE FROM Items; "
                        "UPDATE HearthkpValue SET InventoryBooks = 0; END");
         },
         bad, "the trigger \"zz\" on Books, which this program does not make"},
        {[&] { return write(good) && sql("CREATE VIEW v AS SELECT 1"); }, bad, "the view \"v\""},
        {[&] {
             return write(good) &&
                    sql("DROP TRIGGER Books_CountInsert; CREATE TRIGGER Books_CountInsert AFTER "
                        "INSERT ON Books BEGIN DELETE FROM Items; END");
         },
         bad, "the trigger \"Books_CountInsert\" on Books"},
        {[&] { return write(good) && sql("CREATE TABLE Other (x)"); }, bad, "the table \"Other\""},
        {[&] {
             return write(good) && sql("PRAGMA ignore_check_constraints = 1; UPDATE Books SET "
                                       "BookValue = 99999999999 WHERE BooksId = 1");
         },
         bad, "1 record of its table Hearthkp\\!Books holds values that no record can hold"},
        {[&] {
             return write(good) &&
                    sql("PRAGMA ignore_check_constraints = 1; INSERT INTO HkAttachments "
                        "(OwnerTable, RecordId, FileName, MediaType, Size, Added, Content) VALUES "
                        "('Items', 1, 'a/b.jpg', 'image/jpeg', 1, '2026-01-01 00:00:00', x'01')");
         },
         bad, "1 of its photos and documents holds values that no file can hold"},
        {[&] {
             return write(good) &&
                    sql("DROP TRIGGER Items_AttachmentsDelete; CREATE TRIGGER "
                        "Items_AttachmentsDelete AFTER DELETE ON Items BEGIN DELETE FROM Books; "
                        "END");
         },
         bad, "the trigger \"Items_AttachmentsDelete\" on Items"},
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

// What the restored file holds of the backup is its records: the schema
// around them is made from the dictionary, however the backup spells it,
// and nothing of the file it replaces stays or runs.
TEST_F(RestoreTest, TheRestoredSchemaIsTheProgramsOwn)
{
    const TableDef &books = tableDef(TableId::Books);
    std::string spelled = createCountTriggerSql(books, CountTrigger::Insert);
    for (char &c : spelled)
        c = c == ' ' ? '\n' : c;
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(backupPath().c_str(), &db), SQLITE_OK);
    registerKeyCollation(db);
    ASSERT_EQ(sqlite3_exec(db,
                           ("DROP TRIGGER Books_CountInsert; " + spelled +
                            "; DROP INDEX "
                            "Bok_DisplayByAuthor; " +
                            createIndexSql(books, 2) + " -- made again")
                               .c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    // The data file it replaces holds code of someone else's: it goes, unrun.
    ASSERT_EQ(rawSql("CREATE TRIGGER zz AFTER INSERT ON Books BEGIN DELETE FROM Items; END"),
              SQLITE_OK);
    const BackupSource backup(backupPath(), path());
    ASSERT_TRUE(backup.sound()) << backup.problem();
    DataFile file(path());
    const RestoreOutcome outcome = restoreBackup(backup, file, keptPath(), 2000);
    ASSERT_EQ(outcome.failed, RestoreOutcome::Step::Done) << outcome.reason;

    // Spelled as the program makes them, not as the backup had them.
    std::map<std::string, std::string> stored;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    sqlite3_exec(
        db, "SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL",
        [](void *out, int, char **v, char **) {
            (*static_cast<std::map<std::string, std::string> *>(out))[v[0]] = v[1];
            return 0;
        },
        &stored, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(stored["Books_CountInsert"], createCountTriggerSql(books, CountTrigger::Insert));
    EXPECT_EQ(stored["Bok_DisplayByAuthor"], createIndexSql(books, 2));
    EXPECT_EQ(stored.count("zz"), 0u);
    EXPECT_EQ(contents(path()), contents(backupPath()));
}

// A backup of a file of the version before names the earlier key rule: it
// is taken as it is, and its records come back under the current rule.
TEST_F(RestoreTest, ABackupOfTheEarlierVersionIsRestoredUnderTheCurrentOrder)
{
    const std::string earlier = other.filePath("older.Tps").toStdString();
    test::makeOlderFile(earlier, "INSERT INTO Books (BooksId, BookTitle) VALUES (1, "
                                 "'Zephyr'), (2, 'Ééé'), (3, 'eee')");
    ASSERT_EQ(backupDataFile(earlier, backupPath()).code, NoError); // taken as it is
    {
        const BackupSource backup(backupPath(), path());
        ASSERT_TRUE(backup.sound()) << backup.problem();
        DataFile file(path());
        const RestoreOutcome outcome = restoreBackup(backup, file, keptPath(), 2000);
        ASSERT_EQ(outcome.failed, RestoreOutcome::Step::Done) << outcome.reason;
    }
    sqlite3 *db = nullptr;
    ASSERT_EQ(openConnection(path(), SQLITE_OPEN_READONLY, &db), SQLITE_OK);
    std::vector<const TableDef *> older;
    EXPECT_EQ(tablesUnderOlderOrder(db, older), SQLITE_OK);
    EXPECT_TRUE(older.empty());
    for (int i = 0; i < TableCount; ++i) {
        EXPECT_EQ(checkLayout(db, tableDef(TableId(i))), NoError) << i;
        EXPECT_EQ(checkKeys(db, tableDef(TableId(i))), NoError) << i;
    }
    std::string titles;
    sqlite3_exec(
        db, "SELECT BookTitle FROM Books ORDER BY BookTitle",
        [](void *out, int, char **v, char **) {
            *static_cast<std::string *>(out) += std::string(v[0]) + ";";
            return 0;
        },
        &titles, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(titles, "eee;Ééé;Zephyr;");
}

// The photos and documents of the backup's records come back, numbers and
// all, under the program's own table and triggers; a file whose record the
// backup does not hold stays behind.
TEST_F(RestoreTest, PhotosAndDocumentsComeBackWithTheirRecords)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(backupPath().c_str(), &db), SQLITE_OK);
    registerKeyCollation(db);
    const char *insert = "INSERT INTO HkAttachments (AttachmentId, OwnerTable, RecordId, "
                         "FileName, MediaType, Size, Added, Content) VALUES ";
    ASSERT_EQ(sqlite3_exec(db,
                           (std::string(insert) +
                            "(7, 'Items', 1, 'lamp.jpg', 'image/jpeg', 2, '2026-01-01 00:00:00', "
                            "x'0102'), (8, 'Books', 2, 'cover.pdf', 'application/pdf', 1, "
                            "'2026-01-02 00:00:00', x'03'), (9, 'Books', 40, 'gone.jpg', "
                            "'image/jpeg', 1, '2026-01-03 00:00:00', x'04')")
                               .c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const BackupSource backup(backupPath(), path());
    ASSERT_TRUE(backup.sound()) << backup.problem();
    DataFile file(path());
    const RestoreOutcome outcome = restoreBackup(backup, file, keptPath(), 2000);
    ASSERT_EQ(outcome.failed, RestoreOutcome::Step::Done) << outcome.reason;

    ASSERT_EQ(file.connect(false, {}), NoError);
    std::vector<AttachmentInfo> list;
    ASSERT_EQ(listAttachments(file, TableId::Items, 1, list), NoError);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, 7);
    std::string bytes;
    ASSERT_EQ(readContent(file, 8, bytes), NoError);
    EXPECT_EQ(bytes, "\x03");
    EXPECT_EQ(readContent(file, 9, bytes), RecordNotFound);
    for (TableId owner : {TableId::Items, TableId::Books})
        EXPECT_EQ(checkAttachments(file.db(), tableDef(owner)), NoError);
    EXPECT_EQ(schemaDifference(file.db()), "");
    // The restored triggers take a record's files along.
    ASSERT_EQ(
        sqlite3_exec(file.db(), "DELETE FROM Items WHERE ItemsId = 1", nullptr, nullptr, nullptr),
        SQLITE_OK);
    EXPECT_EQ(readContent(file, 7, bytes), RecordNotFound);
}

namespace
{

// The files a station that has since ended left beside `path` in the middle
// of a copy: named after the station, and as earlier versions named them.
std::vector<std::string> leftByGoneStation(const std::string &path, const char *suffix)
{
    const pid_t child = fork();
    if (child == 0) {
        std::FILE *f = std::fopen(stationFileName(path, suffix).c_str(), "w");
        _exit(f && std::fputs("half a copy", f) >= 0 && std::fclose(f) == 0 ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    std::vector<std::string> files;
    for (const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        if (entry.path().string().starts_with(path + "." + std::to_string(child) + "."))
            files.push_back(entry.path().string());
    files.push_back(path + "." + std::to_string(child) + suffix);
    std::FILE *f = std::fopen(files.back().c_str(), "w");
    std::fclose(f);
    EXPECT_EQ(files.size(), 2u);
    return files;
}

} // namespace

// A backup or restore killed in the middle leaves a copy as large as the
// file. The next backup or restore removes those of stations that have
// gone, and only those: a station that runs, or runs on another machine,
// may be writing its copy right now.
TEST_F(RestoreTest, CopiesThatStationsLeftWhenTheyEndedGoBeforeTheNextBackupOrRestore)
{
    const std::string target = other.filePath("Hearthkp.Tps").toStdString();
    const auto deadCopies = leftByGoneStation(target, ".new");
    const auto deadKept = leftByGoneStation(keptPath(), ".kept");
    std::vector<std::string> others;
    for (const std::string &p : {target + ".new", keptPath() + ".kept"}) {
        const auto dot = p.rfind('.');
        others.push_back(p.substr(0, dot) + "." + std::to_string(getpid()) + p.substr(dot));
        others.push_back(p.substr(0, dot) + ".1.1.elsewhere" + p.substr(dot));
    }
    for (const std::string &p : others)
        std::fclose(std::fopen(p.c_str(), "w"));

    DataFile file(path());
    ASSERT_EQ(restoreBackup(BackupSource(backupPath(), path()), file, keptPath(), 2000).failed,
              RestoreOutcome::Step::Done);
    for (const std::string &p : deadKept)
        EXPECT_FALSE(std::filesystem::exists(p)) << p;
    ASSERT_EQ(backupDataFile(path(), target).code, NoError);
    for (const std::string &p : deadCopies)
        EXPECT_FALSE(std::filesystem::exists(p)) << p;
    for (const std::string &p : others)
        EXPECT_TRUE(std::filesystem::exists(p)) << p;
}
