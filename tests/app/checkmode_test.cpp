// hearthkeep --check on a sound data file and on files damaged in each way
// it looks for, run as a user runs it (no display); and the stock sqlite3
// shell checking the same file with the extension loaded.
#include "collection/recordbuffer.h"
#include "datafixture.h"
#include "olderfile.h"
#include "platform/data/placeholders.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <sys/wait.h>

using namespace hk;

namespace
{

struct Ran {
    int exit = -1;
    std::string out;
};

// A program run with no display and no Qt platform named.
Ran run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(60000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll().toStdString()};
}

Ran check(const std::string &file)
{
    return run(QStringLiteral(HK_PROGRAM),
               {QStringLiteral("--check"), QString::fromStdString(file)});
}

class CheckTest : public DataFileTest
{
  protected:
    // Every table made; books in a category and items in a room, with their
    // totals; a placeholder of this (running) station.
    void SetUp() override
    {
        {
            DataFile file(path());
            for (int i = 0; i < TableCount; ++i) {
                RecordBuffer buffer(tableDef(TableId(i)));
                ASSERT_EQ(Table(TableId(i), buffer.data(), &file).create(), NoError);
            }
        }
        const Station &self = thisStation();
        ASSERT_EQ(rawSql("INSERT INTO BookCategory VALUES (1, 'Novels'), (2, 'Küche');"
                         "INSERT INTO Books (BooksId, BookTitle, BookCategoryId, BookValue) VALUES "
                         "(1, 'Emma', 1, 1250), (2, 'emma', 2, 800), (3, 'Ulysses', 1, 0);"
                         "INSERT INTO ItemsRooms VALUES (1, 'Hall');"),
                  SQLITE_OK);
        ASSERT_EQ(rawSql("INSERT INTO Items (ItemsId, Items, Description, RoomsId, \"Values\") "
                         "VALUES (1, 'Lamp', 'brass lamp', 1, 4500), (2, '', '', 0, 0);"
                         "INSERT INTO HearthkpValue (InventoryItems, InventoryBooks) VALUES "
                         "(4500, 2050);"
                         "CREATE TABLE IF NOT EXISTS HkPlaceholders (TableLabel TEXT NOT NULL, "
                         "RowNo INTEGER NOT NULL, Pid INTEGER NOT NULL, Started INTEGER NOT "
                         "NULL, Boot TEXT NOT NULL, Host TEXT NOT NULL, PRIMARY KEY "
                         "(TableLabel, RowNo)) WITHOUT ROWID;"
                         "INSERT INTO HkAttachments (OwnerTable, RecordId, FileName, "
                         "MediaType, Size, Added, Content) VALUES ('Items', 1, 'lamp.jpg', "
                         "'image/jpeg', 2, '2026-01-01 00:00:00', x'0102');"
                         "INSERT INTO HkPlaceholders VALUES ('Items', 2, " +
                         std::to_string(self.pid) + ", " + std::to_string(self.started) + ", '" +
                         self.boot + "', '" + self.host + "')"),
                  SQLITE_OK);
    }
    // A copy of the data file, damaged by `sql`.
    std::string damaged(const std::string &sql)
    {
        const std::string copy = dir.filePath("damaged.Tps").toStdString();
        std::filesystem::remove(copy);
        std::filesystem::copy_file(path(), copy);
        sqlite3 *db = nullptr;
        sqlite3_open(copy.c_str(), &db);
        registerKeyCollation(db);
        char *error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        return copy;
    }
};

// A process id that is free again: the station that had it has ended.
std::string endedProcess()
{
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return std::to_string(child);
}

} // namespace

TEST_F(CheckTest, ASoundFilePassesAndEachDamageIsFound)
{
    const Ran good = check(path());
    EXPECT_EQ(good.exit, 0) << good.out;
    EXPECT_NE(good.out.find("ok   integrity check: ok"), std::string::npos) << good.out;
    EXPECT_NE(good.out.find("ok   Books: 3 records, count kept 3"), std::string::npos) << good.out;
    EXPECT_NE(good.out.find("ok   HKV:INVENTORYBOOKS 20.50, sum of BOK:BOOKVALUE 20.50"),
              std::string::npos)
        << good.out;
    EXPECT_NE(good.out.find("ok   placeholders: 1 of running stations"), std::string::npos)
        << good.out;
    EXPECT_NE(good.out.find("ok   HkAttachments: 1 file\n"), std::string::npos) << good.out;
    EXPECT_NE(good.out.find("ok   schema: the program's own"), std::string::npos) << good.out;

    const struct {
        const char *what;
        std::string sql;
        std::string found;
    } cases[] = {
        {"a total", "UPDATE HearthkpValue SET InventoryBooks = 2051",
         "OFF  HKV:INVENTORYBOOKS 20.51, sum of BOK:BOOKVALUE 20.50"},
        {"a kept count", "UPDATE HkCounts SET Records = 7 WHERE TableLabel = 'Books'",
         "OFF  Books: 3 records, count kept 7"},
        {"figures per parent", "UPDATE HkChildSums SET Total = 1 WHERE TableLabel = 'Books'",
         "OFF  Books: figures kept per parent differ for "},
        {"a placeholder of a station that has ended",
         "UPDATE HkPlaceholders SET Pid = " + endedProcess() + ", Started = 1",
         "OFF  stray placeholder: Items record 2 of process "},
        {"a record beyond its constraints",
         "PRAGMA ignore_check_constraints = 1; UPDATE Books SET BookValue = 99999999 WHERE "
         "BooksId = 3",
         "OFF  Books: 1 of 3 records hold values that no record can hold"},
        {"a trigger of someone else's",
         "CREATE TRIGGER zz AFTER INSERT ON Books BEGIN DELETE FROM BookCategory; END",
         "OFF  schema: it holds the trigger \"zz\" on Books"},
        {"a file past its table's rules",
         "PRAGMA ignore_check_constraints = 1; UPDATE HkAttachments SET Size = 3",
         "OFF  HkAttachments: 1 file of 1 holds values that no file can hold"},
        {"a file whose record has gone",
         "DROP TRIGGER Items_AttachmentsDelete; DELETE FROM Items WHERE ItemsId = 1",
         "OFF  HkAttachments: 1 file of 1 belongs to no record"},
        {"the files' table laid out otherwise",
         "DROP TABLE HkAttachments; CREATE TABLE HkAttachments (AttachmentId INTEGER PRIMARY "
         "KEY, OwnerTable, RecordId, FileName, MediaType, Size, Added, Thumbnail, Content)",
         "OFF  table HkAttachments: it is not laid out as the program's"},
        {"an index in another order",
         "DROP INDEX Bok_DisplayByTitle; CREATE INDEX "
         "Bok_DisplayByTitle ON Books (BookTitle COLLATE BINARY)",
         "OFF  table Books: its keys differ from the program's"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Ran r = check(damaged(c.sql));
        EXPECT_EQ(r.exit, 1) << r.out;
        EXPECT_NE(r.out.find(c.found), std::string::npos) << r.out;
    }

    // Not a data file at all.
    const std::string garbage = dir.filePath("garbage.Tps").toStdString();
    std::FILE *f = std::fopen(garbage.c_str(), "w");
    std::fputs(std::string(4096, 'x').c_str(), f);
    std::fclose(f);
    EXPECT_EQ(check(garbage).exit, 2);
    EXPECT_EQ(check(dir.filePath("missing.Tps").toStdString()).exit, 2);
}

// The stock shell cannot check the file by itself: the collation of the
// keys is the program's. With the extension it can, and it can change the
// records with the program's triggers running as they do in the program.
TEST_F(CheckTest, TheStockShellChecksTheFileWithTheExtension)
{
    const QString shell = QStringLiteral(HK_SQLITE_SHELL), file = QString::fromStdString(path());
    const QString load = QStringLiteral(".load " HK_EXTENSION);
    const Ran alone = run(shell, {file, QStringLiteral("PRAGMA integrity_check")});
    EXPECT_NE(alone.out.find(std::string("no such collation sequence: ") + kCollationName),
              std::string::npos)
        << alone.out;

    const Ran loaded = run(shell, {file, load, QStringLiteral("PRAGMA integrity_check")});
    EXPECT_EQ(loaded.exit, 0) << loaded.out;
    EXPECT_EQ(loaded.out, "ok\n");

    const Ran changed =
        run(shell, {file, load,
                    QStringLiteral("UPDATE Items SET Description = 'iron lamp' WHERE ItemsId = 1"),
                    QStringLiteral("INSERT INTO Items_Description_Text (Items_Description_Text) "
                                   "VALUES ('integrity-check')"),
                    QStringLiteral("SELECT rowid FROM Items_Description_Text WHERE "
                                   "Items_Description_Text MATCH 'iron'")});
    EXPECT_EQ(changed.out, "1\n");
    EXPECT_EQ(check(path()).exit, 0);
}

// A file of the version before: the check passes it and says it will be
// converted; the stock shell with the extension checks it as it is.
TEST_F(CheckTest, AFileOfTheEarlierVersionIsSoundAndTheShellStillReadsIt)
{
    const std::string older = dir.filePath("older.Tps").toStdString();
    test::makeOlderFile(older, "INSERT INTO Books (BooksId, BookTitle) VALUES (1, 'Ééé'), "
                               "(2, 'Zephyr'); INSERT INTO BookCategory VALUES (1, 'Novels')");
    const Ran checked = check(older);
    EXPECT_EQ(checked.exit, 0) << checked.out;
    EXPECT_NE(checked.out.find("ok   schema: made by an earlier version"), std::string::npos)
        << checked.out;
    EXPECT_NE(checked.out.find("ok   Books: 2 records, count kept 2"), std::string::npos)
        << checked.out;

    const QString shell = QStringLiteral(HK_SQLITE_SHELL), file = QString::fromStdString(older);
    const QString load = QStringLiteral(".load " HK_EXTENSION);
    const Ran alone = run(shell, {file, QStringLiteral("PRAGMA integrity_check")});
    EXPECT_NE(alone.out.find(std::string("no such collation sequence: ") + test::kOlder),
              std::string::npos)
        << alone.out;
    // Its keys in the earlier order, as the extension orders them under that name.
    const Ran loaded =
        run(shell, {file, load, QStringLiteral("PRAGMA integrity_check"),
                    QStringLiteral("SELECT BookTitle FROM Books ORDER BY BookTitle")});
    EXPECT_EQ(loaded.out, "ok\nZephyr\nÉéé\n");
}
