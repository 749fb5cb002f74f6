#include "integrity/tableopen.h"

#include "integrity/checked.h"
#include "integrity/warnings.h"
#include "platform/data/transaction.h"
#include "programfixture.h"

#include <QFile>
#include <QProcess>
#include <chrono>
#include <thread>

using namespace hk;

namespace
{

bool exists(const QString &name)
{
    return QFile::exists(QDir::current().filePath(name));
}

void addItem(Long id, const char *name)
{
    Itm = ItemsRecord{};
    Itm.ItemsId = id;
    Itm.Items = name;
    ASSERT_EQ(Items.add(), NoError);
}

} // namespace

TEST_F(ProgramTest, TablesAreCreatedSilentlyAndOpenedOncePerProgram)
{
    for (int i = 0; i < TableCount; ++i)
        ASSERT_TRUE(UseTable(table(TableId(i))));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(exists("Hearthkp.Tps"));

    // A second procedure on the same table: one open, closed after the last.
    {
        TablesInUse second{&Books, &BookCategory};
        EXPECT_EQ(Books.Used, 2);
        EXPECT_TRUE(Books.isOpen());
    }
    EXPECT_EQ(Books.Used, 1);
    EXPECT_TRUE(Books.isOpen());
    ReleaseTable(Books);
    EXPECT_EQ(Books.Used, 0);
    EXPECT_FALSE(Books.isOpen());
}

TEST_F(ProgramTest, DamagedKeysAreRebuiltOnYesAndEndTheProgramOnNo)
{
    ASSERT_TRUE(UseTable(Items));
    addItem(1, "Lamp");
    addItem(2, "Chair");
    ReleaseTable(Items);
    ASSERT_EQ(rawSql("DROP INDEX Itm_Foreign_Rooms"), SQLITE_OK);

    boxes.answer(ButtonYes);
    ASSERT_TRUE(UseTable(Items));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Invalid Key");
    EXPECT_EQ(boxes.boxes()[0].text,
              "Hearthkp\\!Items key file is invalid.  Do you want to rebuild the key?");
    EXPECT_EQ(Items.records(), 2);
    ASSERT_EQ(Items.set(Itm.Foreign_Rooms), NoError); // the index serves again
    ASSERT_EQ(Items.next(), NoError);
    EXPECT_EQ(Itm.Items.str(), "Chair");
    ReleaseTable(Items);

    ASSERT_EQ(rawSql("DROP INDEX Itm_DisplayByItem; CREATE INDEX Itm_DisplayByItem ON Items "
                     "(Description)"),
              SQLITE_OK);
    boxes.answer(ButtonNo);
    EXPECT_FALSE(UseTable(Items));
    ASSERT_EQ(boxes.halts().size(), 1u);
    EXPECT_EQ(boxes.halts()[0], "Invalid Key!");
    EXPECT_EQ(haltCodes.size(), 1u);
}

namespace
{

void addBook(Long id, const char *title)
{
    Bok = BooksRecord{};
    Bok.BooksId = id;
    Bok.BookTitle = title;
    ASSERT_EQ(Books.add(), NoError);
}

std::vector<std::string> titlesInOrder()
{
    std::vector<std::string> titles;
    Books.set(Bok.DisplayByTitle);
    while (Books.next() == NoError)
        titles.push_back(Bok.BookTitle.str());
    return titles;
}

// Another program's idea of the key order: the reverse of ours.
int reverseOrder(void *, int n1, const void *s1, int n2, const void *s2)
{
    return -compareKeyText({static_cast<const char *>(s1), std::size_t(n1)},
                           {static_cast<const char *>(s2), std::size_t(n2)});
}

// SQL run by a program that orders text under another rule.
int otherProgramSql(const std::string &path, const std::string &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_create_collation(db, kCollationName, SQLITE_UTF8, nullptr, reverseOrder);
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

} // namespace

// An index whose definition is right but whose entries were put in another
// order: found when the table opens, or when a write trips over it later.
TEST_F(ProgramTest, KeysOrderedByAnotherProgramAreOfferedForRebuilding)
{
    ASSERT_TRUE(UseTable(Books));
    for (Long id = 1; const char *title : {"Emma", "Walden", "Kim", "Dune"})
        addBook(id++, title);
    ReleaseTable(Books);
    ASSERT_EQ(otherProgramSql(path(), "REINDEX Bok_DisplayByTitle"), SQLITE_OK);

    boxes.answer(ButtonYes);
    ASSERT_TRUE(UseTable(Books));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Invalid Key");
    EXPECT_EQ(titlesInOrder(), (std::vector<std::string>{"Dune", "Emma", "Kim", "Walden"}));

    // Open already when another program adds a book in its own order: the
    // delete of that book fails on the index, which is then offered for
    // rebuilding before the delete's own warning.
    ASSERT_EQ(otherProgramSql(path(), "INSERT INTO Books (BooksId, BookTitle) VALUES (5, 'Amok')"),
              SQLITE_OK);
    Bok.BooksId = 5;
    ASSERT_EQ(Books.get(Bok.Primary), NoError);
    boxes.answer(ButtonYes);
    EXPECT_TRUE(DeleteRecordChecked(Books));
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[1].title, "Invalid Key");
    EXPECT_EQ(boxes.boxes()[2].text, "An error (Invalid Key File (46)) was experienced when "
                                     "attempting to delete a record from the file Books.");
    EXPECT_EQ(titlesInOrder(), (std::vector<std::string>{"Amok", "Dune", "Emma", "Kim", "Walden"}));
    ASSERT_EQ(Books.get(Bok.Primary), NoError);
    EXPECT_FALSE(DeleteRecordChecked(Books)); // tried again, it goes through
    EXPECT_EQ(Books.records(), 4);
    EXPECT_TRUE(boxes.halts().empty());
}

TEST_F(ProgramTest, AChangedRecordLayoutEndsTheProgram)
{
    ASSERT_TRUE(UseTable(Items));
    ReleaseTable(Items);
    ASSERT_EQ(rawSql("ALTER TABLE Items DROP COLUMN Notes"), SQLITE_OK);
    EXPECT_FALSE(UseTable(Items));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Invalid File");
    EXPECT_EQ(boxes.boxes()[0].text,
              "Error: (Invalid Record Declaration (47)) accessing Hearthkp\\!Items.  Press OK to "
              "end this application.");
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Invalid File!"});
}

TEST_F(ProgramTest, AFileThatIsNoDatabaseEndsInWarning30)
{
    {
        QFile f("Hearthkp.Tps");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    EXPECT_FALSE(UseTable(Books));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "File Access Error");
    EXPECT_EQ(boxes.boxes()[0].text, "File (Hearthkp\\!Books) could not be opened.  Error: file "
                                     "is not a database (26).");
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Disk Error"});
    QFile f("Hearthkp.Tps");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(4096, 'x')); // never overwritten
}

TEST_F(ProgramTest, AFileWithoutPermissionEndsInWarning30WithTheSystemsReason)
{
    ASSERT_TRUE(UseTable(Books));
    ReleaseTable(Books);
    ASSERT_TRUE(QFile::setPermissions("Hearthkp.Tps", QFileDevice::Permissions()));
    if (geteuid() == 0) {
        // Root reads any file: look at it as an ordinary user.
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadGroup | QFile::WriteGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::WriteOther | QFile::ExeOther);
        ASSERT_EQ(setresuid(65534, 65534, 0), 0);
    }
    bool opened = UseTable(Books);
    if (geteuid() != getuid() || getuid() == 65534) (void)setresuid(0, 0, 0);
    EXPECT_FALSE(opened);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "File (Hearthkp\\!Books) could not be opened.  Error: unable "
                                     "to open database file: Permission denied (14).");
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Disk Error"});
}

// A data file the user may write in a folder he may not: the journal beside
// it cannot be made, and the warning says so of the folder, with the
// system's reason, not of the file.
TEST_F(ProgramTest, AFolderThatCannotBeWrittenIsNamedWithTheSystemsReason)
{
    ASSERT_TRUE(UseTable(Books));
    ReleaseTable(Books);
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                     QFile::ReadOther | QFile::WriteOther;
    ASSERT_TRUE(QFile::setPermissions("Hearthkp.Tps", all));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                      QFile::ReadGroup | QFile::ExeGroup |
                                                      QFile::ReadOther | QFile::ExeOther));
    const bool asRoot = geteuid() == 0; // root writes into any folder: be someone else
    if (asRoot) {
        ASSERT_EQ(setresuid(65534, 65534, 0), 0);
    }
    const bool opened = UseTable(Books);
    if (asRoot) (void)setresuid(0, 0, 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(opened);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "File (Hearthkp\\!Books) could not be opened.  Error: cannot "
                                     "write in the folder " +
                                         QDir::current().absolutePath().toStdString() +
                                         ": Permission denied (13).");
}

// A folder the program may not look into is not an empty folder: nothing is
// created, and the warning names the system's reason.
TEST_F(ProgramTest, AFolderWithoutPermissionIsNotTakenForAMissingFile)
{
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::WriteOwner));
    const bool asRoot = geteuid() == 0; // root looks into any folder: be someone else
    if (asRoot) {
        ASSERT_EQ(setresuid(65534, 65534, 0), 0);
    }
    const bool opened = UseTable(Books);
    if (asRoot) (void)setresuid(0, 0, 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(opened);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "File Access Error");
    EXPECT_EQ(boxes.boxes()[0].text, "File (Hearthkp\\!Books) could not be opened.  Error: cannot "
                                     "reach the data file: Permission denied (13).");
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Disk Error"});
    EXPECT_FALSE(exists("Hearthkp.Tps"));
}

namespace
{

// Another program holding the data file locked until it is told to let go.
class Locker
{
  public:
    explicit Locker(const std::string &path) : stop_(QString::fromStdString(path) + ".stop")
    {
        process.start("sh", {"-c", QString("(echo 'PRAGMA locking_mode=EXCLUSIVE; BEGIN "
                                           "EXCLUSIVE; SELECT count(*) FROM sqlite_master;'; "
                                           "while [ ! -e '%1' ]; do sleep 0.05; done; "
                                           "echo 'COMMIT;') | sqlite3 '%2'")
                                       .arg(stop_)
                                       .arg(QString::fromStdString(path))});
        process.waitForStarted();
        // However busy the machine, go on only once the lock is really held.
        for (int i = 0; i < 600 && !locked(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~Locker()
    {
        release();
        process.waitForFinished(30000);
        if (releaser_.joinable()) releaser_.join();
    }

    void release() { QFile(stop_).open(QIODevice::WriteOnly); }
    // Lets go after `seconds`, while the test waits on the lock.
    void releaseAfter(int seconds)
    {
        releaser_ = std::thread([this, seconds] {
            std::this_thread::sleep_for(std::chrono::seconds(seconds));
            release();
        });
    }

    static bool locked(const std::string &path)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc == SQLITE_BUSY;
    }

  private:
    QString stop_;
    QProcess process;
    std::thread releaser_;
};

} // namespace

// A file kept in the rollback journal (as on a network drive) by a station
// that is connected through another table: another station's write lock keeps
// even reads out, so the open meets it after its usual two-second wait and
// the recovery waits on.
class LockedFile : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ASSERT_TRUE(UseTable(Books));
        ReleaseTable(Books);
        ASSERT_EQ(rawSql("PRAGMA journal_mode=DELETE"), SQLITE_OK);
        ASSERT_TRUE(UseTable(Items));
    }
    void TearDown() override
    {
        DataFile::program().setRecoveryWait(DataFile::kRecoveryWaitMs);
        ProgramTest::TearDown();
    }
};

TEST_F(LockedFile, ALockThatGoesAwayDuringTheRecoveryIsWaitedFor)
{
    // The recovery waits only until the lock goes: its length is room for a
    // loaded machine, not time the test spends.
    DataFile::program().setRecoveryWait(9000);
    Locker other(path());
    ASSERT_TRUE(Locker::locked(path()));
    other.releaseAfter(3); // longer than one open waits, well within the recovery
    EXPECT_TRUE(UseTable(Books));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(Books.isOpen());
}

TEST_F(LockedFile, ALockThatOutlastsTheRecoveryEndsTheProgramWithDiskError)
{
    DataFile::program().setRecoveryWait(300);
    Locker other(path());
    ASSERT_TRUE(Locker::locked(path()));
    EXPECT_FALSE(UseTable(Books));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "File (Hearthkp\\!Books) could not be opened.  Error: File Is Locked (32).");
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Disk Error"});
}

TEST_F(ProgramTest, HaltingLeavesTheFileSettled)
{
    ASSERT_TRUE(UseTable(Items));
    addItem(1, "Lamp");
    Transaction txn(DataFile::program());
    ASSERT_EQ(txn.begin(), NoError);
    addItem(2, "Half-written");
    WarnUser(1, Items.storedName()); // ends the program
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Invalid File!"});
    EXPECT_FALSE(exists("Hearthkp.Tps-wal"));
    EXPECT_FALSE(exists("Hearthkp.Tps-journal"));

    sqlite3 *db = nullptr;
    sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Items", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
}

TEST_F(ProgramTest, AutoNumberingAsksBeforeGivingUp)
{
    ASSERT_TRUE(UseTable(MusicNumber));
    MusNum = MusicNumberRecord{};
    MusNum.AlbumNumber = 7;
    ASSERT_TRUE(AutoNumberRecord(MusicNumber));
    EXPECT_EQ(MusNum.MusicNumberId, 1);

    // The same album number again: every attempt clashes.
    MusNum = MusicNumberRecord{};
    MusNum.AlbumNumber = 7;
    boxes.answer(ButtonRetry);
    boxes.answer(ButtonCancel);
    EXPECT_FALSE(AutoNumberRecord(MusicNumber));
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "Attempts to automatically number this record have failed.  "
                                     "Error: Creates Duplicate Key (40).");
    EXPECT_EQ(MusicNumber.records(), 1);
}

namespace
{

// One number read from the data file on a connection of its own.
long long rawNumber(const std::string &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    long long n = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

} // namespace

// A data file from someone else carries a trigger that empties the
// categories and zeroes the total when a book is added, and a view. Neither
// runs: the user is told, the file stays as it is unless he agrees to their
// removal, and an insert form's placeholder then leaves everything else alone.
TEST_F(ProgramTest, CodeOfSomeoneElsesMakingIsNamedAndNeverRuns)
{
    ASSERT_TRUE(UseTable(BookCategory));
    ASSERT_TRUE(UseTable(HearthkpValue));
    ASSERT_TRUE(UseTable(Books));
    BokCat.BookCategoryId = 1;
    BokCat.BookCategory = "Novels";
    ASSERT_EQ(BookCategory.add(), NoError);
    Hkv = HearthkpValueRecord{};
    Hkv.InventoryBooks.setCents(1250);
    ASSERT_EQ(HearthkpValue.add(), NoError);
    ReleaseTable(Books);
    ReleaseTable(HearthkpValue);
    ReleaseTable(BookCategory);
    ASSERT_EQ(rawSql("CREATE TRIGGER zz AFTER INSERT ON Books BEGIN DELETE FROM BookCategory; "
                     "UPDATE HearthkpValue SET InventoryBooks=0; END; CREATE VIEW v AS SELECT "
                     "BookCategory FROM BookCategory"),
              SQLITE_OK);
    const auto placeholder = [] {
        if (!UseTable(Books)) return;
        Bok = BooksRecord{};
        AutoNumberRecord(Books);
        ReleaseTable(Books);
    };
    const auto intact = [this] {
        EXPECT_EQ(rawNumber(path(), "SELECT count(*) FROM BookCategory"), 1);
        EXPECT_EQ(rawNumber(path(), "SELECT InventoryBooks FROM HearthkpValue"), 1250);
    };

    boxes.answer(ButtonNo);
    placeholder();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Untrusted Data File");
    EXPECT_EQ(boxes.boxes()[0].text,
              "Hearthkp.Tps holds the trigger \"zz\" on Books and the view \"v\", which "
              "Hearthkeep does not make and will not run.  Do you want to remove it from the "
              "file?  Press No to end this application.");
    EXPECT_EQ(boxes.halts(), std::vector<std::string>{"Untrusted Data File!"});
    intact();
    EXPECT_EQ(rawNumber(path(), "SELECT count(*) FROM sqlite_master WHERE name IN ('zz', 'v')"), 2);

    boxes.answer(ButtonYes);
    placeholder();
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.halts().size(), 1u);
    intact();
    EXPECT_EQ(rawNumber(path(), "SELECT count(*) FROM sqlite_master WHERE name IN ('zz', 'v')"), 0);
    EXPECT_EQ(rawNumber(path(), "SELECT count(*) FROM Books"), 1);
}
