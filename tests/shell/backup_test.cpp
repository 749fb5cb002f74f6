// File > "&Data Backup": the questions and messages with their exact texts,
// the free-space rule, overwriting an earlier backup, the closing rules, and
// a copy into a file system that fills up.
#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/backup.h"
#include "platform/data/transaction.h"
#include "platform/drives.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowsettings.h"
#include "programfixture.h"
#include "shell/backup.h"
#include "testapp.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hk
{
namespace
{

using test::waitFor;

// Drive A: in a folder of the test's, with free space as the test says, or
// as the folder's file system has it.
struct TestDrive : DriveService {
    QString where;
    std::optional<DiskSpace> fixed;
    QString folder(const std::string &) override { return where; }
    std::optional<DiskSpace> space(const QString &f) override
    {
        return fixed ? fixed : SystemDrives().space(f);
    }
};

class BackupWindowTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        area.resize(900, 700);
        area.show();
        setDocumentArea(&area);
        drive.where = disk.path();
        setDriveService(&drive);
        Glo.DiskFree = Glo.DiskSize = Glo.FileSize = 0;
    }
    void TearDown() override
    {
        if (Procedure *p = findProcedure(id); p && p->window()) p->window()->close();
        waitFor([this] { return findProcedure(id) == nullptr; });
        setDriveService(nullptr);
        setDocumentArea(nullptr);
        ProgramTest::TearDown();
    }

    void addBooks(Long from, Long to)
    {
        ASSERT_TRUE(UseTable(Books));
        for (Long b = from; b <= to; ++b) {
            Bok = BooksRecord{};
            Bok.BooksId = b;
            Bok.BookTitle = "Book " + std::to_string(b);
            ASSERT_EQ(Books.add(), NoError);
        }
        ReleaseTable(Books);
    }
    // Starts the backup with the first question answered.
    void open(int answer = ButtonYes)
    {
        boxes.answer(answer);
        id = start(std::make_unique<CopyFile>());
    }
    BuiltWindow *content() const
    {
        Procedure *p = findProcedure(id);
        auto *sub = p ? qobject_cast<QMdiSubWindow *>(p->window()) : nullptr;
        return sub ? qobject_cast<BuiltWindow *>(sub->widget()) : nullptr;
    }
    void press(const QString &text)
    {
        for (auto *b : content()->findChildren<QPushButton *>())
            if (b->text() == text) return b->click();
        ADD_FAILURE() << "no button " << text.toStdString();
    }
    bool closed()
    {
        return waitFor([this] { return findProcedure(id) == nullptr; });
    }
    std::vector<std::string> titles() const
    {
        std::vector<std::string> t;
        for (const MessageRequest &r : boxes.boxes())
            t.push_back(r.title);
        return t;
    }
    QString backupPath() const { return disk.filePath("Hearthkp.Tps"); }
    // Books in the backup, read as the program reads a data file.
    long long booksInBackup() const
    {
        DataFile copy(backupPath().toStdString());
        BooksRecord b;
        Table books(TableId::Books, &b, &copy);
        if (books.open() != NoError) return -1;
        return books.records();
    }

    QApplication &app = test::app(); // before any widget member
    test::TempSettings settings;
    QMdiArea area;
    QTemporaryDir disk;
    TestDrive drive;
    Long id = 0;
};

TEST_F(BackupWindowTest, NoShowsTheReminderOnlyAndOpensNoWindow)
{
    open(ButtonNo);
    ASSERT_TRUE(closed());
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0],
              (MessageRequest{"Please insert a floppy disk in A-drive", "Insert disk",
                              MessageIcon::Exclamation, ButtonYes | ButtonNo, ButtonYes}));
    EXPECT_EQ(boxes.boxes()[1],
              (MessageRequest{"Make sure you do a backup of the data file as soon as possible !",
                              "Backup Reminder", MessageIcon::Information, ButtonOk, 0}));
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST_F(BackupWindowTest, ASecondBackupOverwritesTheFirstAndTheWindowGoesUnsaved)
{
    addBooks(1, 2);
    open();
    ASSERT_NE(content(), nullptr);
    EXPECT_EQ(findProcedure(id)->window()->windowTitle(), "Data Backup");
    const std::string source = QDir::current().filePath("Hearthkp.Tps").toStdString();
    EXPECT_EQ(Glo.SourceFileName.str(), source);
    EXPECT_EQ(Glo.TargetFileName.str(), backupPath().toStdString());
    const std::string line = "Your data file is located in: " + source + ".";
    ASSERT_LE(line.size(), 80u);
    EXPECT_EQ(std::get<std::string>(content()->value(1)),
              std::string((80 - line.size()) / 2, ' ') + line); // centred in 80
    // Where the copy goes is said before it is made, and after.
    bool toldWhere = false;
    for (auto *label : content()->findChildren<QLabel *>())
        toldWhere =
            toldWhere ||
            label->text() == "The backup goes to: " + QDir::toNativeSeparators(disk.path()) + ".";
    EXPECT_TRUE(toldWhere);
    EXPECT_EQ(Glo.FileSize, backupSize(source).value());
    EXPECT_GT(Glo.DiskFree, Glo.FileSize);
    EXPECT_GT(Glo.FileDate, 0);
    press("Backup");
    ASSERT_TRUE(closed());
    EXPECT_EQ(titles(), (std::vector<std::string>{"Insert disk", "Backup Completed"}));
    EXPECT_EQ(boxes.boxes().back().text,
              "The data file has been copied successfully.\n\nThe backup is " +
                  QDir::toNativeSeparators(backupPath()).toStdString() + ".");
    EXPECT_EQ(booksInBackup(), 2);

    addBooks(3, 5);
    open();
    press("Backup");
    ASSERT_TRUE(closed());
    EXPECT_EQ(boxes.boxes().back().title, "Backup Completed");
    EXPECT_EQ(booksInBackup(), 5);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files), QStringList{"Hearthkp.Tps"});
    EXPECT_FALSE(settings.text("HEARTHKP.INI").contains("[CopyFile]"));
}

TEST_F(BackupWindowTest, AFileOfExactlyTheFreeSpaceIsRefusedAndNothingWritten)
{
    addBooks(1, 2);
    drive.fixed =
        DiskSpace{1 << 20, *backupSize(QDir::current().filePath("Hearthkp.Tps").toStdString())};
    open();
    ASSERT_NE(content(), nullptr);
    EXPECT_EQ(Glo.FileSize, Glo.DiskFree);
    EXPECT_EQ(Glo.DiskSize, 1 << 20);
    press("Backup");
    ASSERT_TRUE(closed());
    ASSERT_EQ(boxes.boxes().back(),
              (MessageRequest{"The disk in A-Drive has not enough free space to copy data file!",
                              "Please Replace Disk", MessageIcon::Stop, ButtonOk, 0}));
    EXPECT_TRUE(QDir(disk.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(BackupWindowTest, CancelRemindsAndKeepsThePlacement)
{
    addBooks(1, 1);
    open();
    ASSERT_NE(content(), nullptr);
    press("Cancel");
    ASSERT_TRUE(closed());
    EXPECT_EQ(titles(), (std::vector<std::string>{"Insert disk", "Backup Reminder"}));
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("[CopyFile]"));
    EXPECT_TRUE(QDir(disk.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(BackupWindowTest, AMissingDataFileIsReportedAndItsCopyFails)
{
    open();
    ASSERT_NE(content(), nullptr);
    EXPECT_EQ(boxes.boxes().back(),
              (MessageRequest{"The data file is not found", "Locate file error", MessageIcon::Stop,
                              ButtonOk, 0}));
    press("Backup");
    ASSERT_TRUE(closed());
    const MessageRequest &error = boxes.boxes().back();
    EXPECT_EQ(error.title, "Error Testing File");
    EXPECT_EQ(error.icon, MessageIcon::Stop);
    EXPECT_EQ(error.text.rfind("An error occurred - could not copy data file " +
                                   Glo.SourceFileName.str() + " to " + Glo.TargetFileName.str() +
                                   " Errorcode = 90 (",
                               0),
              0u)
        << error.text;
    EXPECT_FALSE(QFile::exists("Hearthkp.Tps"));
}

// A file system that fills up while the copy is written: the system's reason
// is shown, and the earlier backup is still there and opens.
TEST_F(BackupWindowTest, AFullFileSystemReportsTheReasonAndKeepsTheEarlierBackup)
{
    QTemporaryDir small;
    if (::mount("tmpfs", small.path().toLocal8Bit().constData(), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    struct Unmount {
        QString at;
        ~Unmount() { ::umount2(at.toLocal8Bit().constData(), MNT_DETACH); }
    } unmount{small.path()};
    drive.where = small.path();

    addBooks(1, 3);
    open();
    press("Backup");
    ASSERT_TRUE(closed());
    ASSERT_EQ(boxes.boxes().back().title, "Backup Completed");

    // Far more than the room left; the drive claims there is room enough,
    // as when something else fills it between the look and the copy.
    ASSERT_TRUE(UseTable(Books));
    Transaction txn(DataFile::program());
    ASSERT_EQ(txn.begin(), NoError);
    for (Long b = 4; b <= 4000; ++b) {
        Bok = BooksRecord{};
        Bok.BooksId = b;
        Bok.BookTitle = "A rather long title for book number " + std::to_string(b);
        Bok.BookSummary = std::string(90, 'x');
        ASSERT_EQ(Books.add(), NoError);
    }
    ASSERT_EQ(txn.commit(), NoError);
    ReleaseTable(Books);
    drive.fixed = DiskSpace{1 << 30, 1 << 30};
    open();
    press("Backup");
    ASSERT_TRUE(closed());
    const MessageRequest &error = boxes.boxes().back();
    EXPECT_EQ(error.title, "Error Testing File");
    EXPECT_NE(error.text.find("(No space left on device)"), std::string::npos) << error.text;

    EXPECT_EQ(QDir(small.path()).entryList(QDir::Files), QStringList{"Hearthkp.Tps"});
    DataFile copy(small.filePath("Hearthkp.Tps").toStdString());
    BooksRecord b;
    Table books(TableId::Books, &b, &copy);
    ASSERT_EQ(books.open(), NoError);
    EXPECT_EQ(books.records(), 3);
}

// A copy that a backup killed in the middle left on the drive is gone by
// the time the window shows the free space; one of a station that runs
// stays.
TEST_F(BackupWindowTest, ACopyLeftByAStationThatHasGoneIsRemovedBeforeTheFreeSpaceIsShown)
{
    addBooks(1, 2);
    const std::string target = backupPath().toStdString();
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    const std::string gone = target + "." + std::to_string(child) + ".new",
                      running = target + "." + std::to_string(getpid()) + ".new";
    for (const std::string &p : {gone, running}) {
        QFile f(QString::fromStdString(p));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1 << 16, 'x'));
    }
    open();
    ASSERT_NE(content(), nullptr);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(gone)));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(running)));
}

// A drive that cannot be written: the message gives the system's reason and
// names the folder, and nothing is written there.
TEST_F(BackupWindowTest, AReadOnlyDriveIsNamedWithTheSystemsReason)
{
    QTemporaryDir readOnly;
    if (::mount("tmpfs", readOnly.path().toLocal8Bit().constData(), "tmpfs", MS_RDONLY,
                "size=512k") != 0)
        GTEST_SKIP() << "cannot mount a file system here: " << std::strerror(errno);
    struct Unmount {
        QString at;
        ~Unmount() { ::umount2(at.toLocal8Bit().constData(), MNT_DETACH); }
    } unmount{readOnly.path()};
    drive.where = readOnly.path();
    drive.fixed = DiskSpace{1 << 30, 1 << 30};

    addBooks(1, 3);
    open();
    press("Backup");
    ASSERT_TRUE(closed());
    const MessageRequest &error = boxes.boxes().back();
    EXPECT_EQ(error.title, "Error Testing File");
    EXPECT_NE(error.text.find("(cannot write in " + readOnly.path().toStdString() +
                              ": Read-only file system)"),
              std::string::npos)
        << error.text;
    EXPECT_TRUE(QDir(readOnly.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
} // namespace hk
