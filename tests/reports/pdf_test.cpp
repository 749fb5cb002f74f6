// Save as PDF from the print preview: the file has the report's pages, and
// its text is text that other programs can read back.
#include "reports/reportdata.h"

#include "platform/filedialogs.h"
#include "reports/reportdef.h"
#include "reports/reportpreview.h"
#include "shell/testapp.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace hk
{
namespace
{

class PdfTest : public ProgramTest
{
  protected:
    ScriptedFileDialogService dialogs;

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        setFileDialogService(&dialogs);
        test::fixOwnerAndDate();
        test::fillBooks();
        PrintDate = Long(reportToday());
    }
    void TearDown() override
    {
        setFileDialogService(nullptr);
        setReportToday({});
        ProgramTest::TearDown();
    }

    std::vector<Page> run(const char *name)
    {
        const ReportDefinition *def = findReport(QString::fromLatin1(name));
        EXPECT_NE(def, nullptr);
        TablesInUse tables;
        for (Table *t : def->opens)
            tables.use({t});
        ReportJob job(*def);
        EXPECT_TRUE(job.begin());
        while (!job.batch()) {
        }
        job.finish();
        return job.takePages();
    }

    // Opens the preview on pages, chooses Save as PDF and leaves with Exit.
    void saveFromPreview(const std::vector<Page> &pages)
    {
        bool done = false;
        auto proc = std::make_unique<ReportPreview>(pages, QStringLiteral("Books by category"));
        QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
        start(std::move(proc));
        PreviewWindow *w = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if ((w = qobject_cast<PreviewWindow *>(top))) break;
        ASSERT_NE(w, nullptr);
        w->savePdfAction()->trigger();
        QApplication::processEvents();
        w->action(3)->trigger();
        ASSERT_TRUE(test::waitFor([&] { return done; }));
    }

    static QString tool(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(30000)) << program.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

TEST_F(PdfTest, SavedFileHasEveryPageAndItsText)
{
    const auto pages = run("RPTBOOKALLCAT");
    ASSERT_GE(pages.size(), 2u);
    const QString file = dir.filePath("books.pdf");
    dialogs.answer(file);
    saveFromPreview(pages);

    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].suggestedName, "Books by category.pdf");
    EXPECT_TRUE(boxes.boxes().empty());
    ASSERT_TRUE(QFile::exists(file));

    const QString info = tool(QStringLiteral("pdfinfo"), {file});
    const auto count = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(count.hasMatch()) << info.toStdString();
    EXPECT_EQ(count.captured(1).toInt(), int(pages.size()));

    // pdftotext ends every page with a form feed.
    const QStringList texts =
        tool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).split(QLatin1Char('\f'));
    ASSERT_GE(texts.size(), qsizetype(pages.size()));
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const QString pageText = texts[qsizetype(p)].simplified();
        for (const PageText &t : pages[p].texts)
            EXPECT_TRUE(pageText.contains(QString::fromStdString(t.text).simplified()))
                << "page " << p + 1 << " lacks " << t.text;
    }
}

TEST_F(PdfTest, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft)
{
    const auto pages = run("RPTBOOKTITLE");
    const QString file = dir.filePath("missing/books.pdf");
    dialogs.answer(file);
    saveFromPreview(pages);

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(boxes.boxes()[0].text.starts_with("The report could not be saved as "))
        << boxes.boxes()[0].text;
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
} // namespace hk
