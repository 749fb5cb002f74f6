#include "shell/restorebackup.h"

#include "dictionary/globals.h"
#include "integrity/warnings.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/leftovers.h"
#include "platform/data/restore.h"
#include "platform/drives.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QDir>
#include <QMdiArea>

#include <optional>

namespace hk
{

namespace
{

constexpr const char *kTitle = "Restore Backup";

std::string shown(const QString &path)
{
    return QDir::toNativeSeparators(QDir::current().absoluteFilePath(path)).toStdString();
}

} // namespace

RestoreBackup::RestoreBackup() : Procedure(QStringLiteral("RestoreBackup")) {}

void RestoreBackup::removeLeftovers()
{
    hk::removeLeftovers(DataFile::program().path() + kKeptSuffix, kPendingSuffix);
}

QCoro::Task<> RestoreBackup::run()
{
    GlobalRequest = RequestNone;
    GlobalResponse = RequestCancelled;
    // Lists, forms, reports and previews hold records of the data file as it
    // is now: none of them may outlive it.
    if (const QStringList open = otherOpenWindows(*this); !open.isEmpty()) {
        message("A backup can be restored only while no other window is open. Close these "
                "windows first: " +
                    open.join(QStringLiteral(", ")).toStdString() + ".",
                "Please close the other windows", MessageIcon::Exclamation);
        co_return;
    }

    QWidget *frame = documentArea() ? documentArea()->window() : nullptr;
    // Named, not braced into the call: g++ 12 loses a braced temporary
    // passed by value to a coroutine.
    // Where Data Backup puts its copies: the backup to restore is usually there.
    const OpenFileRequest request{QString::fromUtf8(kTitle),
                                  QStringLiteral("Data files (*.Tps *.tps);;All files (*)"),
                                  driveService().folder("A")};
    const QString chosen = co_await fileDialogs().openFileName(frame, request);
    if (chosen.isEmpty()) co_return;

    DataFile &data = DataFile::program();
    std::optional<BusyCursor> busy(std::in_place);
    const BackupSource backup(chosen.toStdString(), data.path());
    busy.reset();
    if (!backup.foreignCode().empty()) {
        WarnUser(42, shown(chosen), describeObjects(backup.foreignCode()));
        co_return;
    }
    if (!backup.sound()) {
        message(shown(chosen) + " cannot be restored: " + backup.problem() + ".",
                "Please choose another backup", MessageIcon::Exclamation);
        co_return;
    }

    const std::string keptName = std::string(DataFile::kFileName) + kKeptSuffix;
    if (message("Restoring replaces every record in " + shown(QString::fromStdString(data.path())) +
                    " with those of the backup " + shown(chosen) +
                    ". The data as it is now is kept in " + keptName +
                    ", in place of an older copy there. Restore the backup?",
                "Replace your data with the backup?", MessageIcon::Question, ButtonYes | ButtonNo,
                ButtonNo) != ButtonYes)
        co_return;

    busy.emplace();
    const RestoreOutcome outcome =
        restoreBackup(backup, data, data.path() + kKeptSuffix, DataFile::kTransactionTimeoutMs);
    busy.reset();
    using Step = RestoreOutcome::Step;
    if (outcome.failed == Step::Done) {
        GlobalResponse = RequestCompleted;
        message("The backup has been restored. The data as it was before is kept in " + keptName +
                    ".",
                "Restore Completed", MessageIcon::Information);
    } else if (outcome.failed == Step::Keeping && outcome.code != FileLocked) {
        WarnUser(30, keptName);
    } else {
        WarnUser(34, DataFile::kFileName, "Restore");
    }
}

} // namespace hk
