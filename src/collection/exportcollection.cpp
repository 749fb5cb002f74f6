#include "collection/exportcollection.h"

#include "collection/csvexport.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace hk
{

ExportCollection::ExportCollection()
    : CollectionChoice(QStringLiteral("ExportCollection"),
                       {"Export Collection", "The collection to write to a CSV file", "&Export...",
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
    CollectionExport exporter(collection.levels, true);
    const QString folder = CollectionExport::attachmentsFolderFor(file);
    exporter.setAttachmentsFolder(folder, QFileInfo(folder).fileName());
    TablesInUse tables;
    for (TableId t : exporter.tablesRead())
        if (!tables.use({&table(t)})) co_return; // the table's own warning has been shown
    QString failure;
    {
        BusyCursor busy;
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly)) {
            failure = out.errorString();
        } else if (const int code = exporter.write(DataFile::program(), out); code != NoError) {
            failure = code > 0 ? QString::fromStdString(lastError().message) : exporter.failure();
            out.cancelWriting();
        } else if (!out.commit()) {
            failure = out.errorString();
        }
    }
    if (!failure.isEmpty()) {
        message(QStringLiteral("%1 could not be exported to %2: %3.")
                    .arg(name, QDir::toNativeSeparators(file), failure)
                    .toStdString(),
                "Export Collection", MessageIcon::Exclamation);
        co_return;
    }
    w->close();
}

} // namespace hk
