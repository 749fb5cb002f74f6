// Collections written as CSV from a real data file: quoting, names in place of
// lookup identifiers, values as the forms show them, and batched streaming.
#include "collection/csvexport.h"
#include "collection/exportcollection.h"
#include "integrity/tableopen.h"
#include "platform/data/transaction.h"
#include "platform/filedialogs.h"
#include "platform/windows/layout.h"
#include "reports/reportdata.h"
#include "testapp.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace hk
{
namespace
{

class CsvExportTest : public ProgramTest
{
  protected:
    std::string exported(TableId table, const std::function<bool(long long)> &progress = {},
                         int *code = nullptr)
    {
        return exported(std::vector{table}, progress, code);
    }
    std::string exported(const char *collection)
    {
        const CsvCollection *c = CollectionExport::findCollection(collection);
        EXPECT_NE(c, nullptr);
        return c ? exported(c->levels) : std::string();
    }
    std::string exported(const std::vector<TableId> &levels,
                         const std::function<bool(long long)> &progress = {}, int *code = nullptr)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        CollectionExport e(levels);
        const int rc = e.write(DataFile::program(), out, progress);
        if (code)
            *code = rc;
        else
            EXPECT_EQ(rc, NoError);
        return out.data().toStdString();
    }
};

TEST_F(CsvExportTest, BooksCarryTheirCategoryNameAndTrickyText)
{
    ASSERT_TRUE(UseTable(BookCategory));
    ASSERT_TRUE(UseTable(Books));
    test::addCategory(7, "Поэзия, 詩");
    test::addCategory(8, "History");
    test::addBook(1, {"Odes \"Selected\"", "Σαπφώ", 7, 1250, 120, "", "978-0", 0, "Paper"});
    test::addBook(2, {"Line\nbreak", "Smith, J.", 8, 0, 0, "Pub", "", 1999, ""});

    EXPECT_EQ(exported(TableId::Books),
              "BookTitle,BookAuthor,BookCategory,BookValue,Pages,Publications,IsbnNumber,"
              "BookYear,BookCover,BookSummary\r\n"
              "\"Odes \"\"Selected\"\"\",Σαπφώ,\"Поэзия, 詩\",12.50,120,,978-0,,Paper,\r\n"
              "\"Line\nbreak\",\"Smith, J.\",History,,,Pub,,1999,,\r\n");
    ReleaseTable(Books);
    ReleaseTable(BookCategory);
}

TEST_F(CsvExportTest, ItemsCarryTheirLocationAndStreamInBatches)
{
    ASSERT_TRUE(UseTable(ItemsRooms));
    ItmRom = {};
    ItmRom.RoomsId = 1;
    ItmRom.Rooms = "Küche ½";
    ASSERT_EQ(ItemsRooms.add(), NoError);
    ASSERT_TRUE(UseTable(Items));
    Transaction txn(DataFile::program());
    ASSERT_EQ(txn.begin(), NoError);
    for (int i = 1; i <= 2500; ++i)
        test::addItem(i, "Cup", "Blue", 2, 350, 2020, "", "");
    ASSERT_EQ(txn.commit(), NoError);

    const std::string all = exported(TableId::Items);
    EXPECT_EQ(all.substr(0, all.find("\r\n", all.find("\r\n") + 2) + 2),
              "Items,Description,Rooms,Quantity,Values,ItemYear,SerialNumber,Notes\r\n"
              "Cup,Blue,Küche ½,2,3.50,2020,,\r\n");
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 2501);

    // Written batch by batch: a stop after the first leaves only that batch.
    std::vector<long long> heard;
    int code = 0;
    const std::string part = exported(
        TableId::Items,
        [&](long long rows) {
            heard.push_back(rows);
            return false;
        },
        &code);
    EXPECT_EQ(code, -1);
    EXPECT_EQ(heard, std::vector<long long>{1000});
    EXPECT_EQ(std::count(part.begin(), part.end(), '\n'), 1001);
    ReleaseTable(Items);
    ReleaseTable(ItemsRooms);
}

// Cassettes and their titles make one sheet: a row per title led by its
// cassette's columns, titles in counter order, a cassette without titles on a
// row of its own, counters as the form shows them, and the title fields
// named like the cassette's told apart.
TEST_F(CsvExportTest, CassettesAndTitlesFormOneSheetWithTrickyText)
{
    TablesInUse tables({&VideoNumber, &Video});
    ASSERT_TRUE(tables.ok());
    const auto cassette = [](Long id, Long number, const char *title, std::int64_t cents) {
        VidNum = VideoNumberRecord{};
        VidNum.VideoNumberId = id;
        VidNum.VideoNumber = number;
        VidNum.VideoTitle = title;
        VidNum.Values.setCents(cents);
        ASSERT_EQ(VideoNumber.add(), NoError);
    };
    const auto title = [](Long id, Long cassette, Long counter, const char *name,
                          const char *actor) {
        Vid = VideoRecord{};
        Vid.VideoId = id;
        Vid.VideoNumberId = cassette;
        Vid.CounterStart = counter;
        Vid.VideoTitle = name;
        Vid.VideoActor = actor;
        ASSERT_EQ(Video.add(), NoError);
    };
    cassette(1, 12, "Summer, \"98\"", 450);
    cassette(2, 13, "Empty ½", 0);
    title(1, 1, Long(*timeValue(1, 30, 0)), "Beach\r\nday", "Ana");
    title(2, 1, Long(*timeValue(0, 0, 15)), "Сад, 庭", "\"Bo\"");

    EXPECT_EQ(exported("Video Cassettes"),
              "VideoNumber,VideoTitle,VideoActor,Values,VideoYear,Studio,LicenceNumber,"
              "VideoNumberSummary,CounterStart,Vid:VideoTitle,Vid:VideoActor,VideoSummary\r\n"
              "12,\"Summer, \"\"98\"\"\",,4.50,,,,,00:00:15,\"Сад, 庭\",\"\"\"Bo\"\"\",\r\n"
              "12,\"Summer, \"\"98\"\"\",,4.50,,,,,01:30:00,\"Beach\r\nday\",Ana,\r\n"
              "13,Empty ½,,,,,,,,,,\r\n");
}

// Magazines go down to their articles through year and issue; the article's
// category comes as its name, an issue without articles keeps its row.
TEST_F(CsvExportTest, MagazinesReachTheirArticlesAndCategoryNames)
{
    TablesInUse tables({&MagName, &MagYear, &MagIssue, &MagArticle, &MagCategory});
    ASSERT_TRUE(tables.ok());
    Mag = MagNameRecord{};
    Mag.MagazineNameId = 3;
    Mag.MagazineName = "Garden";
    ASSERT_EQ(MagName.add(), NoError);
    Yer = MagYearRecord{};
    Yer.MagazineYearId = 4;
    Yer.MagazineNameId = 3;
    Yer.MagazineYear = 2021;
    ASSERT_EQ(MagYear.add(), NoError);
    for (Long issue : {5, 6}) {
        Iss = MagIssueRecord{};
        Iss.MagazineIssueId = issue;
        Iss.MagazineNameId = 3;
        Iss.MagazineYearId = 4;
        Iss.MagazineIssue = Short(issue);
        Iss.MagazineMonth = issue == 5 ? "May" : "June";
        ASSERT_EQ(MagIssue.add(), NoError);
    }
    Cat = MagCategoryRecord{};
    Cat.MagazineCategoryId = 8;
    Cat.MagazineCategory = "Roses, old";
    ASSERT_EQ(MagCategory.add(), NoError);
    Art = MagArticleRecord{};
    Art.MagazineArticleId = 9;
    Art.MagazineNameId = 3;
    Art.MagazineYearId = 4;
    Art.MagazineIssueId = 5;
    Art.Article = "Pruning";
    Art.Pages = 4;
    Art.MagazineCategoryId = 8;
    ASSERT_EQ(MagArticle.add(), NoError);

    EXPECT_EQ(exported("Magazines"),
              "MagazineName,MagazineYear,MagazineIssue,MagazineMonth,Values,MagazineComments,"
              "Article,Pages,MagazineCategory,Comments,ArticleSummary\r\n"
              "Garden,2021,5,May,,,Pruning,4,\"Roses, old\",,\r\n"
              "Garden,2021,6,June,,,,,,,\r\n");
}

// From the File menu: a file that cannot be written is reported and the
// window stays for another try; a good one is written and the window closes.
TEST_F(CsvExportTest, ExportCollectionAsksForTheCollectionAndTheFile)
{
    test::app();
    ScriptedFileDialogService dialogs;
    setFileDialogService(&dialogs);
    ASSERT_TRUE(UseTable(BookCategory));
    ASSERT_TRUE(UseTable(Books));
    test::addCategory(1, "Fiction");
    test::addBook(1, {"Tide", "Quinn", 1, 999, 0, "", "", 0, ""});
    ReleaseTable(Books);
    ReleaseTable(BookCategory);

    bool done = false;
    auto proc = std::make_unique<ExportCollection>();
    QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
    start(std::move(proc));
    BuiltWindow *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<BuiltWindow *>(top);
            b && b->windowTitle() == "Export Collection")
            w = b;
    ASSERT_NE(w, nullptr);
    w->setValue(ExportCollection::CollectionList, std::string("Books"));

    dialogs.answer(dir.filePath("missing/Books.csv"));
    w->controlAs<QPushButton>(ExportCollection::ExportButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return boxes.boxes().size() == 1; }));
    EXPECT_EQ(boxes.boxes()[0].title, "Export Collection");
    EXPECT_FALSE(done);

    const QString file = dir.filePath("books.csv");
    dialogs.answer(file);
    w->controlAs<QPushButton>(ExportCollection::ExportButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return done; }));
    EXPECT_EQ(dialogs.requests().back().suggestedName, "Books.csv");
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    // The last column names the book's files: it has none, so no folder is made.
    EXPECT_TRUE(written.readAll().endsWith("\r\nTide,Quinn,Fiction,9.99,,,,,,,\r\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("books files")));
    // The user hears what was written, and where.
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].text, "1 row of Books has been written to " +
                                         QDir::toNativeSeparators(file).toStdString() + ".");
    setFileDialogService(nullptr);
}

} // namespace
} // namespace hk
