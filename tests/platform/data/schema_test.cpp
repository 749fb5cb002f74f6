#include "datafixture.h"

#include "platform/data/files.h"
#include "platform/data/ownschema.h"
#include "platform/data/schema.h"

#include <QFile>
#include <vector>

using namespace hk;

namespace
{

struct AnyRecord {
    alignas(8) unsigned char bytes[2048] = {};
};

} // namespace

TEST_F(DataFileTest, CreatingEveryTableMakesOneFileWithColumnsInRecordOrder)
{
    DataFile file(path());
    std::vector<AnyRecord> buffers(TableCount);
    for (int i = 0; i < TableCount; ++i) {
        ASSERT_LE(tableDef(TableId(i)).recordSize, sizeof(AnyRecord));
        Table t(TableId(i), &buffers[i], &file);
        ASSERT_EQ(t.open(), FileNotFound) << t.storedName();
        ASSERT_EQ(t.create(), NoError) << lastError().driverMessage;
        ASSERT_EQ(t.open(), NoError) << t.storedName();
        EXPECT_EQ(t.open(), AlreadyOpen);
        EXPECT_EQ(t.close(), NoError);
    }
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList{"Hearthkp.Tps"}); // journals go with the last close

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    sqlite3_stmt *st = nullptr;
    // Besides the substring indexes of the searched fields and their parts,
    // and the program's own tables.
    sqlite3_prepare_v2(db,
                       "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                       "name NOT LIKE '%\\_Text%' ESCAPE '\\' AND name NOT LIKE 'Hk%'",
                       -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 15);
    sqlite3_finalize(st);
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        std::string sql = "PRAGMA table_info(" + quoteName(def.label) + ")";
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        std::size_t n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ASSERT_LT(n, def.fields.size());
            EXPECT_EQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)),
                      def.fields[n].column);
            ++n;
        }
        sqlite3_finalize(st);
        EXPECT_EQ(n, def.fields.size()) << def.label;
    }
    sqlite3_close(db);
}

TEST_F(DataFileTest, TheFileItselfRefusesValuesThatDoNotFitTheirFields)
{
    DataFile file(path());
    BooksRecord b;
    Table books(TableId::Books, &b, &file);
    ASSERT_EQ(books.create(), NoError);

    const std::string cols = "(BooksId, BookTitle, BookValue, Pages)";
    std::string error;
    EXPECT_EQ(rawSql("INSERT INTO Books " + cols + " VALUES (1, '" + std::string(45, 'x') +
                     "', 9999999, 10)"),
              SQLITE_OK);
    EXPECT_EQ(
        rawSql("INSERT INTO Books " + cols + " VALUES (2, '" + std::string(46, 'x') + "', 0, 0)",
               &error),
        SQLITE_CONSTRAINT)
        << error;
    EXPECT_NE(error.find("CHECK"), std::string::npos);
    // DECIMAL(4) holds 99,999.99 at most: 10000000 hundredths is one digit too many.
    EXPECT_EQ(rawSql("INSERT INTO Books " + cols + " VALUES (3, 'a', 10000000, 0)"),
              SQLITE_CONSTRAINT);
    EXPECT_EQ(rawSql("INSERT INTO Books " + cols + " VALUES (4, 'a', 0, 32768)"),
              SQLITE_CONSTRAINT);
    EXPECT_EQ(rawSql("INSERT INTO Books " + cols + " VALUES (5, 'a', 0.5, 0)"),
              SQLITE_CONSTRAINT); // amounts are whole hundredths
    EXPECT_EQ(rawSql("INSERT INTO Books " + cols + " VALUES (2147483648, 'a', 0, 0)"),
              SQLITE_CONSTRAINT);
    EXPECT_EQ(rawSql("INSERT INTO Books " + cols + " VALUES (6, 'trailing ', 0, 0)"),
              SQLITE_CONSTRAINT);
    // Three bytes, one character: width counts characters.
    EXPECT_EQ(rawSql("INSERT INTO SoftWare (SoftwareId, Media) VALUES (1, '3 \xC2\xBD + Cd Rom')"),
              SQLITE_ERROR); // SoftWare was never created: the statement fails as a whole
    SoftWareRecord s;
    Table software(TableId::SoftWare, &s, &file);
    ASSERT_EQ(software.create(), NoError);
    EXPECT_EQ(rawSql("INSERT INTO SoftWare (SoftwareId, Media) VALUES (1, '3 \xC2\xBD + Cd Rom')"),
              SQLITE_OK);
    // The music track is a BYTE.
    MusicRecord m;
    Table music(TableId::Music, &m, &file);
    ASSERT_EQ(music.create(), NoError);
    EXPECT_EQ(rawSql("INSERT INTO Music (MusicId, MusicTrack) VALUES (1, 256)"), SQLITE_CONSTRAINT);
}

TEST_F(DataFileTest, DamagedKeysAndChangedLayoutsAreReportedAndKeysRebuilt)
{
    DataFile file(path());
    ItemsRecord i;
    Table items(TableId::Items, &i, &file);
    ASSERT_EQ(items.create(), NoError);
    ASSERT_EQ(items.open(), NoError);
    i.ItemsId = 1;
    i.Items = "Lamp";
    ASSERT_EQ(items.add(), NoError);
    items.close();

    ASSERT_EQ(rawSql("DROP INDEX Itm_DisplayByItem"), SQLITE_OK);
    EXPECT_EQ(items.open(), KeysInvalid);
    EXPECT_EQ(lastError().file, "Hearthkp\\!Items");
    ASSERT_EQ(items.buildKeys(), NoError);
    ASSERT_EQ(items.open(), NoError);
    items.close();

    // An index built under another ordering rule is no good either.
    ASSERT_EQ(rawSql("DROP INDEX Itm_DisplayByItem; CREATE INDEX Itm_DisplayByItem ON Items "
                     "(Items COLLATE NOCASE)"),
              SQLITE_OK);
    EXPECT_EQ(items.open(), KeysInvalid);
    ASSERT_EQ(items.buildKeys(), NoError);
    ASSERT_EQ(items.open(), NoError);
    EXPECT_EQ(items.records(), 1);
    items.close();

    ASSERT_EQ(rawSql("ALTER TABLE Items ADD COLUMN Extra TEXT"), SQLITE_OK);
    EXPECT_EQ(items.open(), LayoutMismatch);
}

TEST_F(DataFileTest, FileFaultsEndInTheirCodesAndLeaveTheFileAlone)
{
    DataFile missing(path());
    BooksRecord b;
    Table books(TableId::Books, &b, &missing);
    EXPECT_EQ(books.open(), FileNotFound);

    // Random bytes: not a database, and not overwritten by an attempt to create.
    QByteArray noise(8192, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    {
        QFile f(QString::fromStdString(path()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(noise);
    }
    DataFile junk(path());
    Table junkBooks(TableId::Books, &b, &junk);
    EXPECT_EQ(junkBooks.open(), FileSystemError);
    EXPECT_EQ(lastError().driverCode, SQLITE_NOTADB);
    EXPECT_EQ(lastError().driverMessage, "file is not a database");
    EXPECT_EQ(junkBooks.create(), FileSystemError);
    {
        QFile f(QString::fromStdString(path()));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), noise);
    }
}

TEST_F(DataFileTest, AReadOnlyFileRefusesWritesAndKeepsItsData)
{
    {
        DataFile file(path());
        BooksRecord b;
        Table books(TableId::Books, &b, &file);
        ASSERT_EQ(books.create(), NoError);
        ASSERT_EQ(books.open(), NoError);
        b.BooksId = 1;
        b.BookTitle = "Kept";
        ASSERT_EQ(books.add(), NoError);
        books.close();
    }
    ASSERT_TRUE(QFile::setPermissions(QString::fromStdString(path()),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // Root may write to any file: look at it as an ordinary user would.
    RunAsOrdinaryUser user(dir.path());
    DataFile file(path());
    BooksRecord b;
    Table books(TableId::Books, &b, &file);
    ASSERT_EQ(books.open(), NoError) << lastError().driverMessage;
    b.BooksId = 2;
    b.BookTitle = "Lost";
    EXPECT_EQ(books.add(), FileSystemError);
    EXPECT_EQ(lastError().driverCode & 0xFF, SQLITE_READONLY);
    EXPECT_EQ(books.records(), 1);
    ASSERT_EQ(books.set(Bok.Primary), NoError);
    ASSERT_EQ(books.next(), NoError);
    EXPECT_EQ(b.BookTitle.str(), "Kept");
}

// A file written before unique keys left blank names out: it opens as it is,
// is taken as the program's own (a backup of it restores), and its keys are
// made as now at the opening, after which blank names may repeat.
TEST_F(DataFileTest, KeysThatHeldBlankNamesUniqueOpenAndAreMadeAsNow)
{
    int conditional = 0;
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        std::vector<int> keys;
        for (std::size_t k = 0; k < def.keys.size(); ++k)
            if (!keyCondition(def, int(k)).empty()) keys.push_back(int(k));
        if (keys.empty()) continue;
        SCOPED_TRACE(def.label);
        ++conditional;
        DataFile file(path());
        AnyRecord buffer;
        Table t(TableId(i), &buffer, &file);
        ASSERT_EQ(t.create(), NoError);
        std::string earlier;
        for (int k : keys)
            earlier +=
                "DROP INDEX " + quoteName(indexName(def, k)) + "; " + earlierIndexSql(def, k) + ";";
        ASSERT_EQ(rawSql(earlier), SQLITE_OK);

        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
        registerKeyCollation(db);
        bool old = false;
        EXPECT_EQ(checkKeys(db, def, &old), NoError);
        EXPECT_TRUE(old);
        EXPECT_EQ(schemaDifference(db), "");

        ASSERT_EQ(t.open(), NoError);
        EXPECT_EQ(checkKeys(db, def, &old), NoError);
        EXPECT_FALSE(old);
        sqlite3_close(db);
        for (Long id : {1, 2}) {
            def.clear(&buffer);
            field::setInteger(def.fields[0], &buffer, id);
            EXPECT_EQ(t.add(), NoError);
        }
        t.close();
    }
    EXPECT_GT(conditional, 0);
}
