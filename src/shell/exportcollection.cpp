#include "shell/exportcollection.h"

#include "dictionary/files.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"
#include "shell/csvexport.h"
#include "shell/designplace.h"

#include <QDir>
#include <QPushButton>
#include <QSaveFile>

namespace hk
{

ExportCollection::ExportCollection() : Procedure(QStringLiteral("ExportCollection")) {}

WindowLayout ExportCollection::layout()
{
    std::vector<std::string> names;
    for (const CsvCollection &c : CollectionExport::collections())
        names.push_back(c.name);
    WindowLayout w;
    w.title = "Export Collection";
    w.size = QSize(150, 48);
    w.kind = WindowKind::Dialog;
    w.resizable = false;
    w.controls = {
        {.id = CollectionPrompt,
         .kind = ControlKind::Prompt,
         .design = QRect(8, 10, 40, 10),
         .text = "&Collection:"},
        {.id = CollectionList,
         .kind = ControlKind::DropList,
         .design = QRect(50, 8, 90, 13),
         .tip = "The collection to write to a CSV file",
         .items = names},
        {.id = ExportButton,
         .kind = ControlKind::Button,
         .design = QRect(24, 28, 50, 14),
         .text = "&Export...",
         .tip = "Choose the file and export",
         .flags = FlagDefault},
        {.id = CancelButton,
         .kind = ControlKind::Button,
         .design = QRect(80, 28, 45, 14),
         .text = "Cancel",
         .tip = "Close without exporting",
         .flags = FlagCancel},
    };
    return w;
}

QCoro::Task<> ExportCollection::exportChosen(BuiltWindow *w)
{
    const std::string chosen = std::get<std::string>(w->value(CollectionList));
    const CsvCollection *collection = CollectionExport::findCollection(chosen);
    if (!collection) co_return;
    const QString name = QString::fromStdString(collection->name);
    const SaveFileRequest request{QStringLiteral("Export %1 as CSV").arg(name),
                                  name + QStringLiteral(".csv"),
                                  QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv")};
    const QString file = co_await fileDialogs().saveFileName(w, request);
    if (file.isEmpty()) co_return; // cancelled, or the window has closed

    CollectionExport exporter(collection->levels);
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

QCoro::Task<> ExportCollection::run()
{
    auto built = BuiltWindow::build(layout());
    BuiltWindow *w = built.release();
    connect(w->controlAs<QPushButton>(ExportButton), &QPushButton::clicked, w,
            [this, w] { exportChosen(w); });
    connect(w->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, w, &QWidget::close);
    setWindow(w);
    w->show();
    putAtDesignPlace(w);
    co_await untilClosed();
}

} // namespace hk
