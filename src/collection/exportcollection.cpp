#include "collection/exportcollection.h"

#include "collection/csvexport.h"
#include "collection/passprogress.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>

namespace hk
{

namespace
{
constexpr const char *kTitle = "Export Collection";
}

ExportCollection::ExportCollection()
    : CollectionChoice(QStringLiteral("ExportCollection"),
                       {kTitle, "The collection to write to a CSV file", "&Export...",
                        "Choose the file and export", "Close without exporting"})
{
}

QCoro::Task<> ExportCollection::act(BuiltWindow *w, const CsvCollection &collection)
{
    const QString name = QString::fromStdString(collection.name);
    const SaveFileRequest request{QStringLiteral("Export %1 as CSV").arg(name),
                                  name + QStringLiteral(".csv"),
                                  QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv")};
    const QString file = co_await fileDialogs().saveFileName(w, request);
    if (file.isEmpty()) co_return; // cancelled, or the window has closed

    // The collection's photos and papers go to a folder beside the file.
    CollectionExport exporter(collection.levels, collection.numbered, true);
    const QString folder = CollectionExport::attachmentsFolderFor(file);
    exporter.setAttachmentsFolder(folder, QFileInfo(folder).fileName());
    TablesInUse tables;
    for (TableId t : exporter.tablesRead())
        if (!tables.use({&table(t)})) co_return; // the table's own warning has been shown
    // A row per record of the collection's tables at most: the bar's end.
    long long expected = 1;
    for (TableId t : collection.levels)
        expected += table(t).records();
    QString failure;
    bool stopped = false;
    {
        BusyCursor busy;
        PassProgress progress(QString::fromUtf8(kTitle),
                              QStringLiteral("Exporting %1\u2026").arg(name));
        QSaveFile out(file);
        const auto shown = [&](long long written) {
            stopped = !progress.reached(double(written) / double(expected));
            return !stopped;
        };
        if (!out.open(QIODevice::WriteOnly)) {
            failure = out.errorString();
        } else if (const int code = exporter.write(DataFile::program(), out, shown);
                   code != NoError) {
            failure = code > 0 ? QString::fromStdString(lastError().message) : exporter.failure();
            out.cancelWriting();
        } else if (!out.commit()) {
            failure = out.errorString();
        }
    }
    if (stopped) co_return; // cancelled: nothing was written
    if (!failure.isEmpty()) {
        message(QStringLiteral("%1 could not be exported to %2: %3.")
                    .arg(name, QDir::toNativeSeparators(file), failure)
                    .toStdString(),
                kTitle, MessageIcon::Exclamation);
        co_return;
    }
    // What was written, and where: the user may not have noticed the folder.
    const long long rows = exporter.rowsWritten();
    const QPointer<QWidget> window(w);
    message(QStringLiteral("%1 %2 of %3 %4 written to %5.")
                .arg(rows)
                .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"), name,
                     rows == 1 ? QStringLiteral("has been") : QStringLiteral("have been"),
                     QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()))
                .toStdString(),
            kTitle, MessageIcon::Information);
    if (window) window->close();
}

} // namespace hk
