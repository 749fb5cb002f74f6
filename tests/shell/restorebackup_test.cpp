// File > "Restore &Backup…": refused while another window is open (but not
// for one already asked to close), and a backup put back only after the user
// agrees.
#include "app/catalogue.h"
#include "integrity/tableopen.h"
#include "platform/data/backup.h"
#include "platform/filedialogs.h"
#include "platform/settingsfile.h"
#include "programfixture.h"
#include "shell/introduction.h"
#include "shell/restorebackup.h"
#include "testapp.h"

#include <QFileInfo>
#include <QMdiArea>

namespace hk
{
namespace
{

using test::waitFor;

class RestoreBackupTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        area.resize(900, 700);
        area.show();
        setDocumentArea(&area);
        setFileDialogService(&dialogs);
    }
    void TearDown() override
    {
        for (Long id : ids)
            if (Procedure *p = findProcedure(id); p && p->window()) p->window()->close();
        waitFor([this] {
            return std::none_of(ids.begin(), ids.end(), [](Long id) { return findProcedure(id); });
        });
        setFileDialogService(nullptr);
        setDocumentArea(nullptr);
        ProgramTest::TearDown();
    }

    void addBooks(std::initializer_list<const char *> titles)
    {
        ASSERT_TRUE(UseTable(Books));
        for (const char *title : titles) {
            Bok = BooksRecord{};
            Bok.BookTitle = title;
            ASSERT_TRUE(AutoNumberRecord(Books));
        }
        ReleaseTable(Books);
    }
    std::string titles()
    {
        std::string all;
        if (!UseTable(Books)) return "(not open)";
        Books.set(Bok.DisplayByTitle);
        while (Books.next() == NoError)
            all += std::string(Bok.BookTitle.view()) + ";";
        ReleaseTable(Books);
        return all;
    }
    // Runs the restore to its end.
    void restore()
    {
        const Long id = start(std::make_unique<RestoreBackup>());
        ASSERT_TRUE(waitFor([id] { return findProcedure(id) == nullptr; }));
    }
    bool kept() const { return QFileInfo::exists(dir.filePath("Hearthkp.Tps.before-restore")); }

    QApplication &app = test::app(); // before any widget member
    test::TempSettings settings;
    QMdiArea area;
    ScriptedFileDialogService dialogs;
    std::vector<Long> ids;
};

TEST_F(RestoreBackupTest, RefusedWhileAListWindowIsOpen)
{
    addBooks({"Emma"});
    // A window already asked to close does not count.
    ids.push_back(start(std::make_unique<AboutHearthkeep>(std::chrono::minutes(1))));
    ASSERT_TRUE(waitFor([this] { return findProcedure(ids.back())->window(); }));
    ids.push_back(start(programProcedures().at(QStringLiteral("BrowseBooks"))()));
    ASSERT_TRUE(waitFor([this] { return findProcedure(ids.back())->window(); }));
    const QString list = findProcedure(ids.back())->window()->windowTitle();
    post(ids.front(), Notice::closeRequest());

    restore();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Please close the other windows");
    EXPECT_EQ(boxes.boxes()[0].text,
              "A backup can be restored only while no other window is open. Close these windows "
              "first: " +
                  list.toStdString() + ".");
    EXPECT_TRUE(dialogs.openRequests().empty());
    EXPECT_FALSE(kept());
}

TEST_F(RestoreBackupTest, ABackupIsRestoredOnceConfirmedAndTheKeptCopyUndoesIt)
{
    addBooks({"Emma", "Ulysses"});
    const QString backup = dir.filePath("saved.Tps");
    ASSERT_EQ(backupDataFile(path(), backup.toStdString()).code, NoError);
    addBooks({"Dubliners"});
    const std::string now = titles();

    // The file dialog opens where Data Backup puts its copies.
    const QString backups = dir.filePath("backups");
    settingsService().write("HEARTHKP.INI", "Drives", "A", backups.toStdString());
    dialogs.answer(backup);
    boxes.answer(ButtonNo); // not sure after all
    restore();
    EXPECT_EQ(titles(), now);
    EXPECT_FALSE(kept());
    ASSERT_EQ(dialogs.openRequests().size(), 1u);
    EXPECT_EQ(dialogs.openRequests()[0].folder, backups);

    dialogs.answer(backup);
    boxes.answer(ButtonYes);
    restore();
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[2].title, "Restore Completed");
    EXPECT_EQ(titles(), "Emma;Ulysses;");
    ASSERT_TRUE(kept());

    // Restoring the kept copy undoes the restore.
    dialogs.answer(dir.filePath("Hearthkp.Tps.before-restore"));
    boxes.answer(ButtonYes);
    restore();
    EXPECT_EQ(boxes.boxes().back().title, "Restore Completed");
    EXPECT_EQ(titles(), now);
}

// A backup carrying a trigger of someone else's making is refused with its
// warning: nothing of it comes into the data file, which then takes new
// books with its categories and totals as they were.
TEST_F(RestoreBackupTest, ABackupHoldingCodeOfSomeoneElsesIsRefusedWithItsWarning)
{
    addBooks({"Emma"});
    ASSERT_TRUE(UseTable(BookCategory));
    BokCat.BookCategoryId = 1;
    BokCat.BookCategory = "Novels";
    ASSERT_EQ(BookCategory.add(), NoError);
    ReleaseTable(BookCategory);
    const QString backup = dir.filePath("saved.Tps");
    ASSERT_EQ(backupDataFile(path(), backup.toStdString()).code, NoError);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(backup.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER zz AFTER INSERT ON Books BEGIN DELETE FROM "
                           "BookCategory; END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    dialogs.answer(backup);
    restore();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Untrusted Backup");
    EXPECT_EQ(boxes.boxes()[0].text,
              QDir::toNativeSeparators(backup).toStdString() +
                  " holds the trigger \"zz\" on Books, which Hearthkeep does not make.  The "
                  "backup cannot be restored; nothing has been changed.");
    addBooks({"Ulysses"});
    EXPECT_EQ(titles(), "Emma;Ulysses;");
    ASSERT_TRUE(UseTable(BookCategory));
    EXPECT_EQ(BookCategory.records(), 1);
    ReleaseTable(BookCategory);
    EXPECT_FALSE(kept());
}

} // namespace
} // namespace hk
