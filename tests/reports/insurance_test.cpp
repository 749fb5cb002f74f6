// The insurance inventory: its figures against the data (each location's
// count and value and the grand total, added up here with SQL), the items'
// thumbnails and what is left over, the owner and the date where it begins,
// one location or all from its selection window, and the thumbnails drawn.
#include "reports/golden.h"
#include "reports/reportdata.h"

#include "platform/data/attachments.h"
#include "platform/mediafile.h"
#include "reports/catalogue/insuranceselect.h"
#include "reports/pagepainter.h"
#include "reports/reportdef.h"
#include "reports/reportjob.h"
#include "testapp.h"
#include "testimages.h"

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <thread>

namespace hk
{
namespace
{

namespace img = testimages;

class InsuranceReport : public ProgramTest
{
  protected:
    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        test::fillItems(); // four items in location 1
        ASSERT_TRUE(UseTable(ItemsRooms));
        ASSERT_TRUE(UseTable(Items));
        addRoom(1, "Living Room");
        addRoom(2, "Study");
        addRoom(3, "Attic"); // no items
        test::addItem(5, "Desk", "Writing desk", 1, 25000, 1990, "DK-5", "");
        Itm.RoomsId = 2;
        ASSERT_EQ(Items.put(), NoError);
        test::addItem(6, "Shelf", "Pine", 2, 4000, 0, "", "");
        Itm.RoomsId = 2;
        ASSERT_EQ(Items.put(), NoError);
        DataFile &file = DataFile::program();
        // The television: six photos and its receipt; the desk: one photo.
        for (int n = 1; n <= 6; ++n)
            addFile(file, 1, "tv.jpg", kMediaJpeg, img::jpeg(60 + n, 40));
        addFile(file, 1, "receipt.pdf", kMediaPdf, img::pdf());
        QImage red(50, 50, QImage::Format_RGB32);
        red.fill(Qt::red);
        addFile(file, 5, "desk.jpg", kMediaJpeg, img::encoded(red, "JPEG"));
        ReleaseTable(Items);
        ReleaseTable(ItemsRooms);
        PrintDate = Long(reportToday());
    }
    void TearDown() override
    {
        setReportToday({});
        ProgramTest::TearDown();
    }
    static void addRoom(Long id, const char *name)
    {
        ItmRom = {};
        ItmRom.RoomsId = id;
        ItmRom.Rooms = name;
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }
    static void addFile(DataFile &file, Long item, const char *name, const char *type,
                        const QByteArray &bytes)
    {
        const InspectedFile f = inspectFile(bytes, name, kAttachmentMaxBytes);
        ASSERT_TRUE(f.ok());
        ASSERT_EQ(addAttachment(file, TableId::Items, item,
                                {name, type, "2026-01-01 00:00:00", bytes.toStdString(),
                                 f.thumbnail.toStdString()}),
                  NoError);
    }
    static std::vector<Page> run()
    {
        const ReportDefinition *def = findReport(QStringLiteral("RPTITEMINSURANCE"));
        EXPECT_NE(def, nullptr);
        TablesInUse tables;
        for (Table *t : def->opens)
            tables.use({t});
        ReportJob job(*def);
        if (!job.begin()) return {};
        while (!job.batch()) {
        }
        job.finish();
        return job.takePages();
    }
    // One figure from the data itself, as text the report prints.
    std::string sqlAmount(const std::string &where)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT total(\"Values\"), count(*) FROM Items " + where).c_str(),
                           -1, &st, nullptr);
        std::string out;
        if (sqlite3_step(st) == SQLITE_ROW)
            out = format(PictureValue{Hundredths{sqlite3_column_int64(st, 0)}}, "n12.2B") + "/" +
                  std::to_string(sqlite3_column_int64(st, 1));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }
    static std::vector<std::string> pairs(const std::vector<Page> &pages, const char *value,
                                          const char *count)
    {
        const auto values = test::textsAfter(pages, value), counts = test::textsAfter(pages, count);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < values.size() && i < counts.size(); ++i)
            out.push_back(std::string(trimLeft(values[i])) + "/" +
                          std::string(trimLeft(counts[i])));
        return out;
    }
    static std::string_view trimLeft(std::string_view s)
    {
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        return s;
    }
};

TEST_F(InsuranceReport, FiguresMatchTheDataLocationByLocation)
{
    ItmRom = {}; // all locations
    const std::vector<Page> pages = run();
    ASSERT_FALSE(pages.empty());
    test::compareWithGolden("RPTITEMINSURANCE", pages);
    auto sql = [&](const char *where) { return std::string(trimLeft(sqlAmount(where))); };
    // Each location's footer, then the grand total.
    EXPECT_EQ(pairs(pages, "Value of Location:", "Items:"),
              (std::vector<std::string>{sql("WHERE RoomsId = 1"), sql("WHERE RoomsId = 2")}));
    const std::string all = sql("");
    const auto grand = test::textsAfter(pages, "Grand Total:");
    const auto counts = test::textsAfter(pages, "Items:");
    ASSERT_EQ(grand.size(), 1u);
    EXPECT_EQ(std::string(trimLeft(grand[0])) + "/" + std::string(trimLeft(counts.back())), all);
    // The owner and the date open the first page.
    EXPECT_EQ(test::textsAfter({pages.front()}, "Prepared for:").front(), "Robin Example");
    bool address = false;
    for (const PageText &t : pages.front().texts)
        address = address || t.text == "12 Hearth Lane, Smalltown";
    EXPECT_TRUE(address);
    EXPECT_FALSE(test::textsAfter({pages.front()}, "Date:").empty());

    // Four of the television's six photos show, and the rest is counted.
    std::vector<std::int64_t> shown;
    for (const Page &p : pages)
        for (const PagePicture &picture : p.pictures)
            shown.push_back(picture.attachment);
    EXPECT_EQ(shown.size(), 5u); // 4 of the television's, the desk's
    // No text's column runs under a thumbnail beside it.
    for (const Page &p : pages)
        for (const PagePicture &picture : p.pictures)
            for (const PageText &t : p.texts)
                if (t.y < picture.y + picture.height && t.y >= picture.y && t.x < picture.x) {
                    EXPECT_LE(t.x + t.width, picture.x) << t.text;
                }
    bool more = false;
    for (const Page &p : pages)
        for (const PageText &t : p.texts)
            more = more || t.text == "+2 more photos, 1 document";
    EXPECT_TRUE(more);
}

TEST_F(InsuranceReport, OneLocationFromTheSelectionWindowIsAllThatPrints)
{
    TablesInUse tables{&ItemsRooms};
    auto select = std::make_unique<InsuranceSelect>();
    QPointer<InsuranceSelect> p = select.get();
    start(std::move(select));
    ASSERT_TRUE(test::waitFor([&] { return p && p->window(); }));
    QWidget *w = p->window();
    auto *one = w->findChildren<QRadioButton *>().at(1);
    auto *list = w->findChild<QComboBox *>();
    ASSERT_EQ(list->count(), 3); // by name: Attic, Living Room, Study
    EXPECT_EQ(list->itemText(2), "Study");
    one->click();
    EXPECT_TRUE(list->isEnabled());
    list->setCurrentIndex(2);
    for (QPushButton *b : w->findChildren<QPushButton *>())
        if (b->text() == "&Print") b->click();
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(ItmRom.RoomsId, 2);
    tables.release();

    const std::vector<Page> pages = run();
    EXPECT_EQ(pairs(pages, "Value of Location:", "Items:").front(),
              std::string(trimLeft(sqlAmount("WHERE RoomsId = 2"))));
    for (const Page &page : pages)
        for (const PageText &t : page.texts)
            EXPECT_NE(t.text, "Television");
}

// The pages carry their thumbnails: they are painted on a thread of their
// own after the photo has left the data file, and still show it.
TEST_F(InsuranceReport, ThumbnailsTravelInThePage)
{
    ItmRom = {};
    TablesInUse tables{&Items};
    const std::vector<Page> pages = run();
    const Page *page = nullptr;
    const PagePicture *desk = nullptr;
    for (const Page &p : pages)
        for (const PagePicture &picture : p.pictures)
            if (picture.attachment == 8) { // the desk's red photo
                page = &p;
                desk = &picture;
            }
    ASSERT_NE(desk, nullptr);
    EXPECT_FALSE(desk->bytes.empty());
    ASSERT_EQ(removeAttachment(DataFile::program(), TableId::Items, 5, 8), NoError);

    QImage paper(210 * 4, 297 * 4, QImage::Format_RGB32);
    paper.setDotsPerMeterX(4000);
    paper.setDotsPerMeterY(4000);
    paper.fill(Qt::white);
    std::thread([&] {
        QPainter painter(&paper);
        paintPage(painter, *page);
    }).join();
    const QColor middle = paper.pixelColor(int((desk->x + desk->width / 2) * 4),
                                           int((desk->y + desk->height / 2) * 4));
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.green(), 80);
}

} // namespace
} // namespace hk
