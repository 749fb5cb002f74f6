#include "reports/reportprocedure.h"

#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/table.h"
#include "platform/printer.h"
#include "reports/pagepainter.h"
#include "reports/printchoice.h"
#include "reports/reportjob.h"
#include "reports/reportpreview.h"

#include <QPrinter>
#include <QPushButton>
#include <QTimer>

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
    ReportJob job(def_);

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
    job.onPercent = [&](int p) {
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
        finished = job.batch();
        emit batchDone(job.recordsRead(), finished);
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
        if (job.begin())
            timer->start();
        else
            closeWindow();
    });
    co_await untilClosed();
    for (Table *t : def_.scanned)
        t->send("QUICKSCAN=off");

    if (finished) outcome = job.outcome();
    if (outcome == RequestCompleted) {
        job.finish();
        const std::vector<Page> pages = job.takePages();
        const QString name = QString::fromStdString(job.layout().job);
        co_await call(std::make_unique<ReportPreview>(pages, name));
        if (GlobalResponse == RequestCompleted && printPages(printer, pages, name, from, to))
            emit printed(ranged ? std::min(to, int(pages.size())) - from + 1 : int(pages.size()));
    }
    GlobalResponse = outcome;
}

} // namespace hk
