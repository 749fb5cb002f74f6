#include "reports/reportprocedure.h"

#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/table.h"
#include "platform/printer.h"
#include "reports/outputprogress.h"
#include "reports/pageoutput.h"
#include "reports/printchoice.h"
#include "reports/reportjob.h"
#include "reports/reportpages.h"
#include "reports/reportpreview.h"

#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <malloc.h>
#include <sqlite3.h>

namespace hk
{

ReportProcedure::ReportProcedure(const ReportDefinition &def) : Procedure(def.name), def_(def) {}

WindowLayout ReportProcedure::progressLayout()
{
    WindowLayout w;
    w.title = "Progress...";
    w.size = QSize(142, 59);
    w.resizable = false;
    w.controls = {
        {.id = ProgressBar, .kind = ControlKind::Progress, .design = QRect(15, 15, 111, 12)},
        {.id = CaptionText,
         .kind = ControlKind::Display,
         .design = QRect(0, 3, 141, 10),
         .flags = FlagCenter},
        {.id = PercentText,
         .kind = ControlKind::Display,
         .design = QRect(0, 30, 141, 10),
         .flags = FlagCenter},
        {.id = CancelButton,
         .kind = ControlKind::Button,
         .design = QRect(45, 42, 50, 15),
         .text = "Cancel"},
    };
    return w;
}

// Memory freed by a large run goes back to the system: the heap's free
// pages, and the data file's cache of what the run read.
static void releaseMemory()
{
    if (sqlite3 *db = DataFile::program().db()) sqlite3_db_release_memory(db);
    malloc_trim(0);
}

static QString percentText(int percent)
{
    return QStringLiteral("%1% Completed").arg(percent, 3);
}

QCoro::Task<> ReportProcedure::run()
{
    PrintDate = Long(reportToday());
    GlobalRequest = 0;
    GlobalResponse = 0;
    Long outcome = RequestCancelled;

    TablesInUse tables;
    for (Table *t : def_.opens)
        if (!tables.use({t})) {
            GlobalResponse = RequestCancelled;
            co_return;
        }
    auto job = std::make_unique<ReportJob>(def_);

    QPrinter &printer = programPrinter();
    if (def_.select) {
        // The chosen record is left in its table's buffer for the run.
        GlobalRequest = SelectRecord;
        co_await call(def_.select());
        if (GlobalResponse != RequestCompleted) {
            GlobalResponse = RequestCancelled;
            co_return;
        }
        printer.setPrintRange(QPrinter::AllPages);
    } else if (!co_await printChoice().ask(printer, QStringLiteral("Choose Range to Print"))) {
        GlobalResponse = RequestCancelled;
        co_return;
    }
    const bool ranged = printer.printRange() == QPrinter::PageRange;
    const int from = ranged ? printer.fromPage() : 0, to = ranged ? printer.toPage() : 0;

    auto built = BuiltWindow::build(progressLayout());
    BuiltWindow *progress = built.get();
    progress->setValue(ProgressBar, std::int64_t{0});
    progress->setValue(PercentText, std::string("0% Completed"));
    progress->setWindowTitle(QStringLiteral("Generating Report"));
    progress->setValue(CaptionText, def_.caption);
    for (Table *t : def_.scanned)
        t->send("QUICKSCAN=on");

    int shownPercent = 0;
    job->onPercent = [&](int p) {
        if (p == shownPercent) return;
        shownPercent = p;
        progress->setValue(ProgressBar, std::int64_t{p});
        progress->setValue(PercentText, percentText(p).toStdString());
    };
    // Through the procedure's window: in the frame that is the document
    // window around the progress panel.
    auto closeWindow = [this] {
        if (QWidget *w = window()) w->close();
    };
    bool finished = false;
    auto *timer = new QTimer(progress);
    timer->setInterval(0); // batches run whenever the window has no input waiting
    connect(timer, &QTimer::timeout, progress, [&, progress] {
        finished = job->batch();
        emit batchDone(job->recordsRead(), finished);
        if (finished) {
            timer->stop();
            closeWindow();
        }
    });
    connect(progress->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, progress,
            [&, progress] {
                finished = false;
                timer->stop();
                closeWindow();
            });
    openDocument(built.release());
    emit generating();
    // Reading starts once the window shows.
    QTimer::singleShot(0, progress, [&, progress] {
        if (job->begin())
            timer->start();
        else
            closeWindow();
    });
    co_await untilClosed();
    for (Table *t : def_.scanned)
        t->send("QUICKSCAN=off");

    if (finished) outcome = job->outcome();
    if (outcome == RequestCompleted) {
        job->finish();
        const std::unique_ptr<ReportPages> pages = job->pages();
        const QString name = QString::fromStdString(job->layout().job);
        co_await call(std::make_unique<ReportPreview>(*pages, name));
        if (GlobalResponse == RequestCompleted) {
            auto output = PageOutput::toPrinter(printer, *pages, name, from, to);
            co_await call(std::make_unique<OutputProgress>(*output, QStringLiteral("Printing"),
                                                           def_.caption));
            if (output->done() && output->failure().isEmpty()) emit printed(output->total());
        }
    }
    // What the run held is given back now that its pages are gone.
    job.reset();
    releaseMemory();
    GlobalResponse = outcome;
}

} // namespace hk
