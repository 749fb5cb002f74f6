#include "collection/importcollection.h"

#include "collection/csvexport.h"
#include "collection/csvimport.h"
#include "collection/passprogress.h"
#include "integrity/tableopen.h"
#include "integrity/warnings.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace hk
{

namespace
{

constexpr const char *kTitle = "Import Collection";
constexpr std::size_t kRowsShown = 15;

// Runs one pass over the file behind its progress window: no other window
// takes input meanwhile, and Cancel stops the pass.
int runPass(CollectionImport &importer, DataFile &station, QFile &in, CollectionImport::Mode mode,
            const QString &label)
{
    in.seek(0);
    PassProgress progress(QString::fromUtf8(kTitle), label);
    const double size = double(std::max<qint64>(1, in.size()));
    return importer.run(station, in, mode,
                        [&](long long) { return progress.reached(double(in.pos()) / size); });
}

std::string problemList(const CollectionImport &importer)
{
    std::string text = std::to_string(importer.failedRows()) +
                       (importer.failedRows() == 1 ? " row" : " rows") +
                       " cannot be imported; nothing has been written.\n";
    const auto &problems = importer.problems();
    for (std::size_t i = 0; i < problems.size() && i < kRowsShown; ++i)
        text += "\nLine " + std::to_string(problems[i].line) + ": " + problems[i].reason;
    if (importer.failedRows() > (long long)kRowsShown)
        text += "\n\u2026 and " + std::to_string(importer.failedRows() - (long long)kRowsShown) +
                " more";
    return text;
}

std::string missingList(const CollectionImport &importer)
{
    std::string text = "These are not on file yet:\n";
    std::size_t shown = 0;
    for (const CsvMissingName &m : importer.missing()) {
        if (++shown > kRowsShown) {
            text +=
                "\n\u2026 and " + std::to_string(importer.missing().size() - kRowsShown) + " more";
            break;
        }
        text += "\n" + CollectionImport::lookupName(m.table) + ": " + m.name;
    }
    return text + "\n\nCreate them and import the file?";
}

} // namespace

ImportCollection::ImportCollection()
    : CollectionChoice(QStringLiteral("ImportCollection"),
                       {kTitle, "The collection to read from a CSV file", "&Import...",
                        "Choose the file and import", "Close without importing"})
{
}

QCoro::Task<> ImportCollection::act(BuiltWindow *w, const CsvCollection &collection)
{
    const QString name = QString::fromStdString(collection.name);
    const OpenFileRequest request{QStringLiteral("Import %1 from CSV").arg(name),
                                  QStringLiteral("CSV files (*.csv);;All files (*)")};
    const QString path = co_await fileDialogs().openFileName(w, request);
    if (path.isEmpty()) co_return; // cancelled, or the window has closed
    const QPointer<QWidget> alive(w);

    const auto refuse = [&](const std::string &why) {
        message(why, kTitle, MessageIcon::Exclamation);
    };
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        refuse(QStringLiteral("%1 could not be read: %2.")
                   .arg(QDir::toNativeSeparators(path), in.errorString())
                   .toStdString());
        co_return;
    }
    // The tables are made where missing and kept open meanwhile; the import
    // writes through a station of its own, so no window of this program can
    // join or end its transaction.
    CollectionImport importer(collection.levels, collection.numbered);
    importer.setAttachmentsFolder(QFileInfo(path).absolutePath());
    TablesInUse tables;
    if (!tables.use({&HearthkpValue})) co_return;
    for (TableId t : CollectionExport(collection.levels, collection.numbered).tablesRead())
        if (!tables.use({&table(t)})) co_return; // the table's own warning has been shown
    DataFile station(DataFile::program().path());

    const auto fileError = [&](int code) {
        if (code <= 0) return false;
        CaptureFileError();
        WarnUser(14);
        return true;
    };
    int code = runPass(importer, station, in, CollectionImport::Mode::DryRun,
                       QStringLiteral("Checking %1\u2026").arg(name));
    if (fileError(code)) co_return;
    if (importer.failedRows()) {
        refuse(problemList(importer));
        co_return;
    }
    if (code != NoError) {
        if (!importer.stopped())
            refuse(QStringLiteral("%1 cannot be imported: %2")
                       .arg(QDir::toNativeSeparators(path), importer.failure())
                       .toStdString());
        co_return;
    }
    if (!importer.missing().empty()) {
        if (message(missingList(importer), kTitle, MessageIcon::Question, ButtonYes | ButtonNo) !=
            ButtonYes)
            co_return;
        importer.setCreateMissing(true);
    }
    code = runPass(importer, station, in, CollectionImport::Mode::Write,
                   QStringLiteral("Importing %1\u2026").arg(name));
    if (fileError(code)) co_return;
    if (importer.failedRows()) {
        // Another station changed the data since the check.
        refuse(problemList(importer));
        co_return;
    }
    if (code != NoError) co_return; // cancelled: nothing was written
    message(
        QStringLiteral("%1 %2 been imported into %3.")
            .arg(importer.rowsRead())
            .arg(importer.rowsRead() == 1 ? QStringLiteral("row has") : QStringLiteral("rows have"))
            .arg(name)
            .toStdString(),
        kTitle, MessageIcon::Information);
    w->close();
}

} // namespace hk
