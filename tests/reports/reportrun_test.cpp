// A report run as the frame starts it: the printer dialog (answered by a
// double), the progress window's batches, Cancel, an empty table, the
// preview's answer and the printed PDF.
#include "reports/reportdata.h"

#include "reports/printchoice.h"
#include "reports/reportdef.h"
#include "reports/reportpreview.h"
#include "reports/reportprocedure.h"
#include "testapp.h"

#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>

namespace hk
{
namespace
{

using test::waitFor;

// Answers the printer dialog, optionally choosing PDF output and a range.
class ScriptedPrintChoice : public PrintChoice
{
  public:
    bool confirm = true;
    QString pdf;
    int from = 0, to = 0;
    QStringList titles;

    QCoro::Task<bool> ask(QPrinter &printer, QString title) override
    {
        titles << title;
        if (!pdf.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        }
        printer.setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
        printer.setFromTo(from, to);
        co_return confirm;
    }
};

PreviewWindow *openPreview()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<PreviewWindow *>(w); p && p->isVisible()) return p;
    return nullptr;
}

class ReportRunTest : public ProgramTest
{
  protected:
    ScriptedPrintChoice choice;
    int generating = 0;
    std::vector<std::pair<long, bool>> batches;
    int printedPages = -1;
    bool done = false;

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        setPrintChoice(&choice);
        GlobalResponse = 0;
    }
    void TearDown() override
    {
        setPrintChoice(nullptr);
        setReportToday({});
        ProgramTest::TearDown();
    }

    // Starts the report; `onBatch` runs after each batch.
    void startReport(const char *name, std::function<void(ReportProcedure &)> onBatch = {})
    {
        auto proc = std::make_unique<ReportProcedure>(*findReport(QString::fromLatin1(name)));
        ReportProcedure *p = proc.get();
        QObject::connect(p, &ReportProcedure::generating, [this] { ++generating; });
        QObject::connect(p, &ReportProcedure::batchDone, [this, p, onBatch](long n, bool f) {
            batches.emplace_back(n, f);
            if (onBatch) onBatch(*p);
        });
        QObject::connect(p, &ReportProcedure::printed, [this](int n) { printedPages = n; });
        QObject::connect(p, &Procedure::done, [this] { done = true; });
        start(std::move(proc));
    }

    void addItems(int n)
    {
        ASSERT_TRUE(UseTable(Items));
        for (int i = 1; i <= n; ++i) {
            const std::string name = "Item " + std::to_string(1000 + i);
            test::addItem(i, name.c_str(), "Thing", 1, 100, 0, "", "");
        }
        ReleaseTable(Items);
    }
};

TEST_F(ReportRunTest, EmptyTableOpensAndClosesTheProgressWindowWithoutPreview)
{
    startReport("RPTITEMCOMPLETE");
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(choice.titles, QStringList{"Choose Range to Print"});
    EXPECT_EQ(generating, 1);
    EXPECT_TRUE(batches.empty());
    EXPECT_EQ(openPreview(), nullptr);
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_EQ(Items.Used, 0); // released again
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ReportRunTest, CancelledPrinterDialogGeneratesNothing)
{
    addItems(3);
    choice.confirm = false;
    startReport("RPTITEMCOMPLETE");
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(generating, 0);
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

TEST_F(ReportRunTest, ExactlyOneBatchCompletesAndExitLeavesNothingPrinted)
{
    addItems(25);
    startReport("RPTITEMCOMPLETE");
    PreviewWindow *preview = nullptr;
    ASSERT_TRUE(waitFor([&] { return (preview = openPreview()) != nullptr; }));
    EXPECT_EQ(batches, (std::vector<std::pair<long, bool>>{{25, true}}));
    EXPECT_EQ(preview->model().pageCount(), 2); // 23 + 2 details and the title band
    preview->action(3)->trigger();              // Exit
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(printedPages, -1);
    EXPECT_EQ(GlobalResponse, RequestCompleted); // the run itself completed
}

TEST_F(ReportRunTest, CancelWhileGeneratingShowsNoPreview)
{
    addItems(200);
    std::string percent, caption;
    QString title;
    startReport("RPTITEMCOMPLETE", [&](ReportProcedure &p) {
        auto *w = qobject_cast<BuiltWindow *>(p.window());
        if (!w) return;
        title = w->windowTitle();
        caption = std::get<std::string>(w->value(ReportProcedure::CaptionText));
        percent = std::get<std::string>(w->value(ReportProcedure::PercentText));
        w->controlAs<QPushButton>(ReportProcedure::CancelButton)->click();
    });
    ASSERT_TRUE(waitFor([&] { return done; }));
    ASSERT_EQ(batches.size(), 1u); // Cancel takes effect at the batch boundary
    // 25 printed, the 26th read and waiting for the next batch.
    EXPECT_EQ(batches[0], (std::pair<long, bool>{26, false}));
    EXPECT_EQ(title, "Generating Report");
    EXPECT_EQ(caption, "Listing of all items");
    EXPECT_EQ(percent, " 13% Completed"); // 26 of 200
    EXPECT_EQ(openPreview(), nullptr);
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

TEST_F(ReportRunTest, PrintFromThePreviewWritesTheChosenPagesToPdf)
{
    test::fillBooks();
    const QString pdf = dir.filePath("books.pdf");
    choice.pdf = pdf;
    choice.from = 2;
    choice.to = 2;
    startReport("RPTBOOKTITLE");
    PreviewWindow *preview = nullptr;
    ASSERT_TRUE(waitFor([&] { return (preview = openPreview()) != nullptr; }));
    preview->action(17)->trigger(); // the Print tool button
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(printedPages, 1);

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000)) << "pdftotext (poppler-utils) is needed";
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    // Page 2: the last books, the title band, the final totals.
    for (const char *expected :
         {"Books listed by title", "Book 30", "Complete book collection by title", "Robin Example",
          "14/03/26", "865.00", "Page No:"})
        EXPECT_TRUE(out.contains(QLatin1String(expected))) << expected;
    EXPECT_FALSE(out.contains(QLatin1String("Book 01"))) << "page 1 was not chosen";
    EXPECT_EQ(out.count(QLatin1Char('\f')), 1);
}

// The real printer dialog, opened without a nested event loop, answers the
// coroutine awaiting it: confirmed with its title, or cancelled.
TEST(QtPrintChoiceTest, TheDialogAnswersItsCaller)
{
    test::app();
    QPrinter printer;
    for (int answer : {QDialog::Accepted, QDialog::Rejected}) {
        std::optional<bool> confirmed;
        auto ask = [&]() -> QCoro::Task<> {
            confirmed =
                co_await QtPrintChoice().ask(printer, QStringLiteral("Choose Range to Print"));
        };
        ask();
        QPrintDialog *dialog = nullptr;
        ASSERT_TRUE(waitFor([&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if ((dialog = qobject_cast<QPrintDialog *>(w)) && dialog->isVisible()) return true;
            return false;
        }));
        EXPECT_EQ(dialog->windowTitle(), "Choose Range to Print");
        dialog->done(answer);
        ASSERT_TRUE(waitFor([&] { return confirmed.has_value(); }));
        EXPECT_EQ(*confirmed, answer == QDialog::Accepted);
    }
}

} // namespace
} // namespace hk
