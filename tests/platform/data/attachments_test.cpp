// The attachments' table: made and checked with its owners, guarded by its
// own constraints, and emptied of a record's files by whatever removes the
// record, in the same transaction.
#include "datafixture.h"

#include "platform/data/attachments.h"
#include "platform/data/backup.h"
#include "platform/data/ownschema.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"

using namespace hk;

namespace
{

NewAttachment file(const std::string &name, std::size_t bytes = 1000)
{
    return {name, kMediaJpeg, "2026-05-01 10:00:00", std::string(bytes, 'j'), "thumb"};
}

class AttachmentsTest : public DataFileTest
{
  protected:
    DataFile station{path()};
    ItemsRecord itm;
    BooksRecord bok;
    Table items{TableId::Items, &itm, &station};
    Table books{TableId::Books, &bok, &station};

    void SetUp() override
    {
        ASSERT_EQ(items.create(), NoError);
        ASSERT_EQ(books.create(), NoError);
        ASSERT_EQ(items.open(), NoError);
        ASSERT_EQ(books.open(), NoError);
        for (Long id = 1; id <= 3; ++id) {
            itm = ItemsRecord{};
            itm.ItemsId = id;
            itm.Items = "Item " + std::to_string(id);
            ASSERT_EQ(items.add(), NoError);
            bok = BooksRecord{};
            bok.BooksId = id;
            bok.BookTitle = "Book " + std::to_string(id);
            ASSERT_EQ(books.add(), NoError);
        }
    }

    std::vector<std::string> namesOf(TableId owner, std::int64_t record)
    {
        std::vector<AttachmentInfo> list;
        EXPECT_EQ(listAttachments(station, owner, record, list), NoError);
        std::vector<std::string> names;
        for (const AttachmentInfo &a : list)
            names.push_back(a.fileName);
        return names;
    }
    using Names = std::vector<std::string>;
};

} // namespace

TEST_F(AttachmentsTest, KeptWithTheirBytesAndReadBackWithoutThem)
{
    std::int64_t first = 0, second = 0;
    NewAttachment a = file("receipt.jpg", 5000);
    a.content[0] = '\0'; // bytes, not text
    ASSERT_EQ(addAttachment(station, TableId::Items, 2, a, &first), NoError);
    ASSERT_EQ(addAttachment(station, TableId::Items, 2, file("front.jpg"), &second), NoError);
    ASSERT_EQ(addAttachment(station, TableId::Books, 2, file("cover.jpg")), NoError);

    std::vector<AttachmentInfo> list;
    ASSERT_EQ(listAttachments(station, TableId::Items, 2, list), NoError);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0],
              (AttachmentInfo{first, "receipt.jpg", kMediaJpeg, 5000, "2026-05-01 10:00:00"}));
    EXPECT_EQ(list[1].id, second);
    std::string bytes;
    ASSERT_EQ(readContent(station, first, bytes), NoError);
    EXPECT_EQ(bytes, a.content);
    ASSERT_EQ(readThumbnail(station, first, bytes), NoError);
    EXPECT_EQ(bytes, "thumb");

    std::vector<int> counts;
    ASSERT_EQ(countAttachments(station, TableId::Items, {1, 2, 3}, counts), NoError);
    EXPECT_EQ(counts, (std::vector<int>{0, 2, 0}));
    AttachmentTotals totals;
    ASSERT_EQ(attachmentTotals(station, totals), NoError);
    EXPECT_EQ(totals.count, 3);
    EXPECT_EQ(totals.bytes, 7000);

    // Removal names the record it belongs to: another record's id does nothing.
    ASSERT_EQ(removeAttachment(station, TableId::Books, 2, first), NoError);
    EXPECT_EQ(namesOf(TableId::Items, 2), (Names{"receipt.jpg", "front.jpg"}));
    ASSERT_EQ(removeAttachment(station, TableId::Items, 2, first), NoError);
    EXPECT_EQ(namesOf(TableId::Items, 2), (Names{"front.jpg"}));
    EXPECT_EQ(readContent(station, first, bytes), RecordNotFound);
}

TEST_F(AttachmentsTest, TheFilesOwnConstraintsRefuseWhatTheProgramWouldNeverWrite)
{
    const std::string valid =
        "'Items', 1, 'a.jpg', 'image/jpeg', 3, '2026-01-02 03:04:05', NULL, x'010203'";
    ASSERT_EQ(rawSql("INSERT INTO HkAttachments (OwnerTable, RecordId, FileName, MediaType, Size, "
                     "Added, Thumbnail, Content) VALUES (" +
                     valid + ")"),
              SQLITE_OK);
    const char *bad[] = {
        "'ItemsRooms', 1, 'a.jpg', 'image/jpeg', 3, '2026-01-02 03:04:05', NULL, x'010203'",
        "'Items', 0, 'a.jpg', 'image/jpeg', 3, '2026-01-02 03:04:05', NULL, x'010203'",
        "'Items', 1, '', 'image/jpeg', 3, '2026-01-02 03:04:05', NULL, x'010203'",
        "'Items', 1, '../a.jpg', 'image/jpeg', 3, '2026-01-02 03:04:05', NULL, x'010203'",
        "'Items', 1, 'a.exe', 'application/x-exe', 3, '2026-01-02 03:04:05', NULL, x'010203'",
        "'Items', 1, 'a.jpg', 'image/jpeg', 4, '2026-01-02 03:04:05', NULL, x'010203'",
        "'Items', 1, 'a.jpg', 'image/jpeg', 3, 'yesterday', NULL, x'010203'",
        "'Items', 1, 'a.jpg', 'image/jpeg', 3, '2026-01-02 03:04:05', NULL, '123'",
    };
    for (const char *values : bad)
        EXPECT_NE(rawSql(std::string("INSERT INTO HkAttachments (OwnerTable, RecordId, FileName, "
                                     "MediaType, Size, Added, Thumbnail, Content) VALUES (") +
                         values + ")"),
                  SQLITE_OK)
            << values;
    const std::string tooBig = "zeroblob(" + std::to_string(kAttachmentMaxBytes + 1) + ")";
    EXPECT_NE(rawSql("INSERT INTO HkAttachments (OwnerTable, RecordId, FileName, MediaType, Size, "
                     "Added, Content) VALUES ('Items', 1, 'a.pdf', 'application/pdf', " +
                     std::to_string(kAttachmentMaxBytes + 1) + ", '2026-01-02 03:04:05', " +
                     tooBig + ")"),
              SQLITE_OK);
}

TEST_F(AttachmentsTest, ARecordsFilesGoWithItWhoeverDeletesIt)
{
    for (Long id = 1; id <= 3; ++id) {
        ASSERT_EQ(addAttachment(station, TableId::Items, id, file("item.jpg")), NoError);
        ASSERT_EQ(addAttachment(station, TableId::Books, id, file("book.jpg")), NoError);
    }
    // This station's delete.
    itm.ItemsId = 1;
    ASSERT_EQ(items.get(ItemsRecord::Primary), NoError);
    ASSERT_EQ(items.remove(), NoError);
    EXPECT_TRUE(namesOf(TableId::Items, 1).empty());
    EXPECT_EQ(namesOf(TableId::Books, 1), (Names{"book.jpg"})); // same number, other table

    // Another station's, rolled back, then done.
    ASSERT_EQ(rawSql("BEGIN; DELETE FROM Items WHERE ItemsId = 2; ROLLBACK;"), SQLITE_OK);
    EXPECT_EQ(namesOf(TableId::Items, 2), (Names{"item.jpg"}));
    ASSERT_EQ(rawSql("DELETE FROM Books WHERE BooksId = 2"), SQLITE_OK);
    EXPECT_TRUE(namesOf(TableId::Books, 2).empty());

    // A renumbered record takes its files along.
    ASSERT_EQ(rawSql("UPDATE Items SET ItemsId = 30 WHERE ItemsId = 3"), SQLITE_OK);
    EXPECT_TRUE(namesOf(TableId::Items, 3).empty());
    EXPECT_EQ(namesOf(TableId::Items, 30), (Names{"item.jpg"}));

    AttachmentTotals totals;
    ASSERT_EQ(attachmentTotals(station, totals), NoError);
    EXPECT_EQ(totals.count, 4);
}

TEST_F(AttachmentsTest, APlaceholderLeftByAStationThatEndedTakesItsFilesAlong)
{
    itm = ItemsRecord{};
    itm.ItemsId = 9;
    ASSERT_EQ(items.add(), NoError);
    ASSERT_EQ(addAttachment(station, TableId::Items, 9, file("half-done.jpg")), NoError);
    const Station &self = thisStation();
    // Noted by a station of this machine before its last boot: gone.
    ASSERT_EQ(rawSql("CREATE TABLE IF NOT EXISTS HkPlaceholders (TableLabel TEXT NOT NULL, RowNo "
                     "INTEGER NOT NULL, Pid INTEGER NOT NULL, Started INTEGER NOT NULL, Boot "
                     "TEXT NOT NULL, Host TEXT NOT NULL, PRIMARY KEY (TableLabel, RowNo)) "
                     "WITHOUT ROWID; INSERT INTO HkPlaceholders VALUES ('Items', " +
                     std::to_string(items.currentRow()) + ", 1, 1, 'an earlier boot', '" +
                     self.host + "')"),
              SQLITE_OK);
    EXPECT_EQ(removeDeadPlaceholders(station, tableDef(TableId::Items)), 1);
    EXPECT_TRUE(namesOf(TableId::Items, 9).empty());
}

TEST_F(AttachmentsTest, AFileFromBeforeAttachmentsGetsThemAndADifferentTableIsRefused)
{
    items.close();
    books.close();
    std::string sql;
    for (TableId owner : attachmentOwners())
        for (AttachmentTrigger which : {AttachmentTrigger::Delete, AttachmentTrigger::Renumber})
            sql += "DROP TRIGGER IF EXISTS " +
                   quoteName(attachmentTriggerName(tableDef(owner), which)) + ";";
    ASSERT_EQ(rawSql(sql + "DROP TABLE HkAttachments"), SQLITE_OK);
    ASSERT_EQ(items.open(), NoError);
    EXPECT_EQ(checkAttachments(station.db(), tableDef(TableId::Items)), NoError);
    // Only the opened owner's triggers are made: each owner sets up its own.
    EXPECT_EQ(checkAttachments(station.db(), tableDef(TableId::Books)), FileNotFound);
    ASSERT_EQ(books.open(), NoError);
    EXPECT_EQ(checkAttachments(station.db(), tableDef(TableId::Books)), NoError);
    items.close();
    books.close();

    // The same columns without their constraints: not this program's table.
    ASSERT_EQ(rawSql("DROP TABLE HkAttachments; CREATE TABLE HkAttachments (AttachmentId INTEGER "
                     "PRIMARY KEY, OwnerTable TEXT, RecordId INTEGER, FileName TEXT, MediaType "
                     "TEXT, Size INTEGER, Added TEXT, Thumbnail BLOB, Content BLOB)"),
              SQLITE_OK);
    EXPECT_EQ(items.open(), LayoutMismatch);
    EXPECT_NE(lastError().driverMessage.find("HkAttachments"), std::string::npos);
}

TEST_F(AttachmentsTest, ABackupHoldsThemAndACopyFromOneTakesThemWhole)
{
    const std::string bytes(70000, '\x01');
    ASSERT_EQ(addAttachment(station, TableId::Items, 1, file("a.jpg", 10)), NoError);
    ASSERT_EQ(addAttachment(station, TableId::Books, 3,
                            {"b.pdf", kMediaPdf, "2026-01-01 00:00:00", bytes, ""}),
              NoError);
    const std::string backup = dir.filePath("backup.tps").toStdString();
    ASSERT_EQ(backupDataFile(path(), backup).code, NoError);
    {
        DataFile copy(backup);
        ASSERT_EQ(copy.connect(false, {}), NoError);
        AttachmentTotals totals;
        ASSERT_EQ(attachmentTotals(copy, totals), NoError);
        EXPECT_EQ(totals.count, 2);
        EXPECT_EQ(totals.bytes, 70010);
    }
    // Into a file of no attachments yet, as a restore rebuilds one.
    sqlite3 *from = nullptr, *to = nullptr;
    ASSERT_EQ(sqlite3_open(backup.c_str(), &from), SQLITE_OK);
    ASSERT_EQ(sqlite3_open(dir.filePath("fresh.tps").toUtf8().constData(), &to), SQLITE_OK);
    EXPECT_EQ(copyAttachments(from, to), SQLITE_OK);
    sqlite3_close(to);
    DataFile fresh(dir.filePath("fresh.tps").toStdString());
    ASSERT_EQ(fresh.connect(false, {}), NoError);
    std::string read;
    std::vector<AttachmentInfo> list;
    ASSERT_EQ(listAttachments(fresh, TableId::Books, 3, list), NoError);
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(readContent(fresh, list[0].id, read), NoError);
    EXPECT_EQ(read, bytes);
    // A second copy meets the same numbers and is refused, never doubled.
    sqlite3 *again = nullptr;
    ASSERT_EQ(sqlite3_open(dir.filePath("fresh.tps").toUtf8().constData(), &again), SQLITE_OK);
    EXPECT_NE(copyAttachments(from, again), SQLITE_OK);
    sqlite3_close(again);
    sqlite3_close(from);
}

// The table, its index and every owner's triggers are the program's own,
// derived where they are made; the same names spelled otherwise are not.
TEST_F(AttachmentsTest, TheirSchemaIsTheProgramsOwnAndNothingLikeIt)
{
    auto owned = [](const std::string &type, const std::string &name, const std::string &sql) {
        for (const SchemaObject &o : ownSchema())
            if (o.type == type && o.name == name) return o.sql == normaliseSql(sql);
        return false;
    };
    EXPECT_TRUE(owned("table", kAttachmentsTable, createAttachmentsTableSql()));
    EXPECT_TRUE(owned("index", attachmentsIndexName(), createAttachmentsIndexSql()));
    for (TableId owner : attachmentOwners())
        for (AttachmentTrigger which : {AttachmentTrigger::Delete, AttachmentTrigger::Renumber}) {
            const TableDef &def = tableDef(owner);
            EXPECT_TRUE(owned("trigger", attachmentTriggerName(def, which),
                              createAttachmentTriggerSql(def, which)))
                << def.label;
        }

    ASSERT_EQ(addAttachment(station, TableId::Items, 1, file("a.jpg")), NoError);
    std::vector<SchemaObject> foreign;
    ASSERT_EQ(findForeignCode(station.db(), foreign), SQLITE_OK);
    EXPECT_TRUE(foreign.empty()) << describeObjects(foreign);
    EXPECT_EQ(schemaDifference(station.db()), "");
    items.close();
    books.close();

    const std::string trigger =
        attachmentTriggerName(tableDef(TableId::Items), AttachmentTrigger::Delete);
    ASSERT_EQ(rawSql("DROP TRIGGER " + quoteName(trigger) + "; CREATE TRIGGER " +
                     quoteName(trigger) + " AFTER DELETE ON Items BEGIN DELETE FROM Books; END"),
              SQLITE_OK);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    ASSERT_EQ(findForeignCode(db, foreign), SQLITE_OK);
    ASSERT_EQ(foreign.size(), 1u);
    EXPECT_EQ(foreign[0].name, trigger);
    sqlite3_close(db);

    ASSERT_EQ(rawSql("DROP TRIGGER " + quoteName(trigger) + "; DROP INDEX " +
                     attachmentsIndexName() + "; CREATE INDEX " + attachmentsIndexName() +
                     " ON HkAttachments (RecordId)"),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_NE(schemaDifference(db).find("its index \"" + attachmentsIndexName() + "\" is not"),
              std::string::npos);
    EXPECT_EQ(checkAttachmentsTable(db), LayoutMismatch);
    sqlite3_close(db);
}
