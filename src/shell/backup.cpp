#include "shell/backup.h"

#include "dictionary/globals.h"
#include "platform/data/backup.h"
#include "platform/data/datafile.h"
#include "platform/data/leftovers.h"
#include "platform/drives.h"
#include "platform/messages.h"
#include "platform/picture.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <algorithm>

namespace hk
{

namespace
{

enum : int {
    TextLine = 1,
    DiskSizePrompt,
    DiskSizeShown,
    FreePrompt,
    FreeShown,
    FileSizePrompt,
    FileSizeShown,
    DatePrompt,
    DateShown,
    TimePrompt,
    TimeShown,
    BackupButton,
    CancelButton,
    TargetLine
};

constexpr const char *kReminderTitle = "Backup Reminder";
constexpr const char *kReminder =
    "Make sure you do a backup of the data file as soon as possible !";

const WindowLayout &copyFileLayout()
{
    using K = ControlKind;
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.title = "Data Backup";
        w.size = QSize(330, 130);
        w.kind = WindowKind::FrameChild;
        w.resizable = false;
        w.controls = {
            {.id = TextLine,
             .kind = K::Display,
             .design = {6, 6, 318, 10},
             .picture = "s80",
             .flags = FlagCenter},
            // Where the copy goes: the folder that stands for drive A:.
            {.id = TargetLine, .kind = K::Display, .design = {6, 18, 318, 10}, .flags = FlagCenter},
        };
        // Sizes are whole bytes of today's disks, wider than a diskette's.
        const struct {
            int prompt;
            const char *label;
            const char *picture;
        } rows[] = {{DiskSizePrompt, "Disk Size:", "n19"},
                    {FreePrompt, "Free Space:", "n19"},
                    {FileSizePrompt, "File Size:", "n19"},
                    {DatePrompt, "File Date:", "d17"},
                    {TimePrompt, "File Time:", "t8"}};
        int y = 36;
        for (const auto &r : rows) {
            w.controls.push_back(
                {.id = r.prompt, .kind = K::Prompt, .design = {90, y, 56, 10}, .text = r.label});
            w.controls.push_back({.id = r.prompt + 1,
                                  .kind = K::Display,
                                  .design = {150, y, 90, 10},
                                  .picture = r.picture,
                                  .flags = FlagRight});
            y += 12;
        }
        w.controls.push_back({.id = BackupButton,
                              .kind = K::Button,
                              .design = {104, 108, 56, 14},
                              .text = "Backup",
                              .flags = FlagDefault});
        w.controls.push_back({.id = CancelButton,
                              .kind = K::Button,
                              .design = {170, 108, 56, 14},
                              .text = "Cancel",
                              .flags = FlagCancel});
        return w;
    }();
    return layout;
}

// text centred in a line of 80 characters.
std::string centred(const std::string &text)
{
    const QString t = QString::fromStdString(text).left(80);
    const qsizetype pad = (80 - t.size()) / 2;
    return (QString(pad, u' ') + t).toStdString();
}

// A folder as the user knows it; "A:" where no folder stands for the drive.
std::string shownFolder(const QString &folder)
{
    return folder.isEmpty() ? std::string("A:") : QDir::toNativeSeparators(folder).toStdString();
}

Long clampToLong(std::int64_t v)
{
    return static_cast<Long>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
}

} // namespace

CopyFile::CopyFile() : Procedure(QStringLiteral("CopyFile")) {}

QCoro::Task<> CopyFile::run()
{
    GlobalRequest = RequestNone;
    GlobalResponse = 0;
    if (message("Please insert a floppy disk in A-drive", "Insert disk", MessageIcon::Exclamation,
                ButtonYes | ButtonNo, ButtonYes) != ButtonYes) {
        message(kReminder, kReminderTitle, MessageIcon::Information);
        co_return;
    }
    std::optional<BusyCursor> busy(std::in_place);
    Glo.SourceFileName =
        (QDir::currentPath() + u'/' + QString::fromUtf8(DataFile::kFileName)).toStdString();
    const QString folder = driveService().folder("A");
    Glo.TargetFileName = ((folder.isEmpty() ? QStringLiteral("A:") : folder) + u'/' +
                          QString::fromUtf8(DataFile::kFileName))
                             .toStdString();

    // Copies that backups cut off by the end of their station left on the
    // drive would take the free space shown below.
    removeLeftovers(Glo.TargetFileName.str(), kCopySuffix);

    content_ = BuiltWindow::build(copyFileLayout()).release();
    life_ = WindowLife::attach(openDocument(content_), {.section = "CopyFile"});
    content_->setValue(TextLine, centred("Your data file is located in: " +
                                         std::string(Glo.SourceFileName.view()) + "."));
    content_->setValue(TargetLine, "The backup goes to: " + shownFolder(folder) + ".");

    // A figure that cannot be had keeps what it was.
    if (std::optional<DiskSpace> space = driveService().space(folder)) {
        Glo.DiskFree = space->free;
        Glo.DiskSize = space->size;
    }
    const QFileInfo file(QString::fromStdString(Glo.SourceFileName.str()));
    if (file.exists()) {
        // The size that counts is what the copy will write, also the part of
        // the file still in its write-ahead log.
        Glo.FileSize = backupSize(Glo.SourceFileName.str()).value_or(file.size());
        // The latest writes may still be only in the write-ahead log.
        QDateTime when = file.lastModified();
        if (const QFileInfo log(file.filePath() + QStringLiteral("-wal"));
            log.exists() && log.lastModified() > when)
            when = log.lastModified();
        Glo.FileDate = clampToLong(
            dateNumber(when.date().year(), when.date().month(), when.date().day()).value_or(0));
        Glo.FileTime = clampToLong(
            timeValue(when.time().hour(), when.time().minute(), when.time().second()).value_or(0));
        showFigures();
    } else {
        showFigures();
        message("The data file is not found", "Locate file error", MessageIcon::Stop);
    }
    busy.reset();

    QObject::connect(content_->controlAs<QPushButton>(BackupButton), &QPushButton::clicked, this,
                     [this] { backup(); });
    QObject::connect(content_->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, this,
                     [this] {
                         message(kReminder, kReminderTitle, MessageIcon::Information);
                         if (window()) window()->close();
                     });
    content_->controlAs<QPushButton>(BackupButton)->setFocus();

    co_await untilClosed();
    if (keepPlacement_) GlobalResponse = RequestCancelled;
}

void CopyFile::showFigures()
{
    content_->setValue(DiskSizeShown, Glo.DiskSize);
    content_->setValue(FreeShown, Glo.DiskFree);
    content_->setValue(FileSizeShown, Glo.FileSize);
    content_->setValue(DateShown, std::int64_t{Glo.FileDate});
    content_->setValue(TimeShown, std::int64_t{Glo.FileTime});
}

void CopyFile::backup()
{
    if (!content_) return;
    {
        BusyCursor busy;
        content_->setValue(TextLine, centred("Please wait while copying your data file"));
        content_->repaint();
        const std::string source = Glo.SourceFileName.str(), target = Glo.TargetFileName.str();
        if (Glo.FileSize < Glo.DiskFree) {
            const BackupOutcome outcome = backupDataFile(source, target);
            if (outcome.code == 0)
                message("The data file has been copied successfully.\n\nThe backup is " +
                            shownFolder(QString::fromStdString(target)) + ".",
                        "Backup Completed", MessageIcon::Information);
            else
                message("An error occurred - could not copy data file " + source + " to " + target +
                            " Errorcode = " + std::to_string(outcome.code) + " (" + outcome.reason +
                            ")",
                        "Error Testing File", MessageIcon::Stop);
        } else {
            message("The disk in A-Drive has not enough free space to copy data file!",
                    "Please Replace Disk", MessageIcon::Stop);
        }
    }
    // Whatever came of it, the window goes as it is.
    keepPlacement_ = false;
    if (life_) life_->forgetPlacement();
    if (window()) window()->close();
}

} // namespace hk
