// Save as PDF from the print preview: the file has the report's pages, and
// its text is text that other programs can read back.
#include "platform/filedialogs.h"
#include "platform/windows/layout.h"
#include "programfixture.h"
#include "reports/outputprogress.h"
#include "reports/reportpreview.h"
#include "testapp.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
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
        // The preview takes no input until its progress window has gone.
        ASSERT_TRUE(test::waitFor([&] { return w->isEnabled(); }));
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

// Save as PDF writes behind a progress window, the pages written of all of
// them; Cancel there leaves no file, not even a partial one, and an
// existing file under that name as it was.
TEST_F(PdfTest, CancelLeavesNoFileAndTheOldOneAsItWas)
{
    std::vector<Page> many(3000);
    for (std::size_t i = 0; i < many.size(); ++i)
        for (int line = 0; line < 40; ++line)
            many[i].texts.push_back(
                {5,
                 float(30 + 5 * line),
                 0,
                 {9, false, false},
                 Align::Left,
                 "Page " + std::to_string(i + 1) + " line " + std::to_string(line)});
    const QString file = dir.filePath("books.pdf");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    dialogs.answer(file);
    bool done = false;
    auto proc = std::make_unique<ReportPreview>(std::move(many), QStringLiteral("Books"));
    QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
    start(std::move(proc));
    PreviewWindow *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if ((w = qobject_cast<PreviewWindow *>(top))) break;
    ASSERT_NE(w, nullptr);
    w->savePdfAction()->trigger();
    BuiltWindow *progress = nullptr;
    ASSERT_TRUE(test::waitFor([&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<BuiltWindow *>(top);
                b && b->isVisible() && b->windowTitle() == "Saving as PDF")
                progress = b;
        return progress != nullptr;
    }));
    EXPECT_EQ(std::get<std::string>(progress->value(OutputProgress::CaptionText)),
              QDir::toNativeSeparators(file).toStdString());
    const QRegularExpression written(QStringLiteral("^(\\d+) of 3000 pages written$"));
    const auto shown = written.match(
        QString::fromStdString(std::get<std::string>(progress->value(OutputProgress::PagesText))));
    ASSERT_TRUE(shown.hasMatch());
    EXPECT_LT(shown.captured(1).toInt(), 3000);
    progress->controlAs<QPushButton>(OutputProgress::CancelButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return w->isEnabled(); })); // the preview goes on
    EXPECT_TRUE(boxes.boxes().empty());
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("books.pdf")});
    w->action(3)->trigger();
    ASSERT_TRUE(test::waitFor([&] { return done; }));
}

} // namespace
} // namespace hk
