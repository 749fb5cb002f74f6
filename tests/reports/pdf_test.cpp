// Save as PDF from the print preview: the file has the report's pages, and
// its text is text that other programs can read back.
#include "platform/filedialogs.h"
#include "programfixture.h"
#include "reports/reportpreview.h"
#include "testapp.h"

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
    }
    void TearDown() override
    {
        setFileDialogService(nullptr);
        ProgramTest::TearDown();
    }

    // Three pages with a heading, a left and a right-aligned column, a rule;
    // letters the report font itself has, whatever fallback fonts there are.
    static std::vector<Page> pages()
    {
        std::vector<Page> out(3);
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(i + 1);
            out[i].texts = {
                {5, 15, 0, {14, true, false}, Align::Left, "Report heading " + n},
                {5, 30, 0, {10, false, false}, Align::Left, "Küche ½ Κουζίνα Кухня " + n},
                {100, 30, 40, {10, false, true}, Align::Right, "1234.5" + n}};
            out[i].rules = {{5, 40, 200}};
        }
        return out;
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
    const auto p = pages();
    const QString file = dir.filePath("books.pdf");
    dialogs.answer(file);
    saveFromPreview(p);

    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].suggestedName, "Books by category.pdf");
    EXPECT_TRUE(boxes.boxes().empty());
    ASSERT_TRUE(QFile::exists(file));

    const QString info = tool(QStringLiteral("pdfinfo"), {file});
    const auto count = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(count.hasMatch()) << info.toStdString();
    EXPECT_EQ(count.captured(1).toInt(), int(p.size()));

    // pdftotext ends every page with a form feed.
    const QStringList texts =
        tool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).split(QLatin1Char('\f'));
    ASSERT_GE(texts.size(), qsizetype(p.size()));
    for (std::size_t i = 0; i < p.size(); ++i)
        for (const PageText &t : p[i].texts)
            EXPECT_TRUE(texts[qsizetype(i)].simplified().contains(QString::fromStdString(t.text)))
                << "page " << i + 1 << " lacks " << t.text;
}

TEST_F(PdfTest, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft)
{
    const QString file = dir.filePath("missing/books.pdf");
    dialogs.answer(file);
    saveFromPreview(pages());

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(boxes.boxes()[0].text.starts_with("The report could not be saved as "))
        << boxes.boxes()[0].text;
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
} // namespace hk
