// File > "&Summary": the counts and values it shows, its totals beyond the
// width of one running total, one window at a time, and counts that stay
// exact through a cascade and a rollback.
#include "dictionary/globals.h"
#include "integrity/checked.h"
#include "integrity/tableopen.h"
#include "platform/data/attachments.h"
#include "platform/data/transaction.h"
#include "platform/windows/layout.h"
#include "programfixture.h"
#include "shell/summary.h"
#include "testapp.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace hk
{
namespace
{

using test::waitFor;

class SummaryTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        area.resize(900, 700);
        area.show();
        setDocumentArea(&area);
        Hkv = HearthkpValueRecord{};
    }
    void TearDown() override
    {
        for (Long id : ids)
            if (Procedure *p = findProcedure(id); p && p->window()) p->window()->close();
        waitFor([this] {
            return std::none_of(ids.begin(), ids.end(), [](Long id) { return findProcedure(id); });
        });
        setDocumentArea(nullptr);
        ProgramTest::TearDown();
    }

    Long open()
    {
        ids.push_back(start(std::make_unique<FileSummary>()));
        return ids.back();
    }
    QWidget *window(Long id) const
    {
        Procedure *p = findProcedure(id);
        return p ? p->window() : nullptr;
    }
    // What a row shows: its count and, where it has one, its value, read
    // left to right beside its label.
    QStringList row(Long id, const QString &label) const
    {
        QList<QLabel *> all = window(id)->findChildren<QLabel *>();
        auto at = std::find_if(all.begin(), all.end(),
                               [&](QLabel *l) { return l->text() == label && l->isVisible(); });
        if (at == all.end()) return {"no row " + label};
        const QRect place = (*at)->geometry();
        QList<QLabel *> beside;
        for (QLabel *l : all)
            if (l->geometry().y() == place.y() && l->x() > place.x()) beside.push_back(l);
        std::sort(beside.begin(), beside.end(),
                  [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
        QStringList texts;
        for (QLabel *l : beside) {
            if (l->text().endsWith(u':')) break; // the other panel's row
            texts << l->text();
        }
        return texts;
    }
    void storeTotals()
    {
        ASSERT_TRUE(UseTable(HearthkpValue));
        ASSERT_EQ(HearthkpValue.add(), NoError);
        ReleaseTable(HearthkpValue);
    }

    QApplication &app = test::app(); // before any widget member
    test::TempSettings settings;
    QMdiArea area;
    std::vector<Long> ids;
};

TEST_F(SummaryTest, EmptyTablesShowZeroCountsBlankValuesAndZeroTotals)
{
    const Long id = open();
    ASSERT_NE(window(id), nullptr);
    EXPECT_EQ(window(id)->windowTitle(), "Summary of Hearthkeep Listing");
    for (const char *label : {"Items:", "Books:", "Video:", "Software:", "Music:", "Magazine:"})
        EXPECT_EQ(row(id, label), QStringList({"0", ""})) << label;
    for (const char *label : {"Location:", "Book Category:", "Video Titles:", "Music Titles:",
                              "Magazine Category:", "Magazine Articles:"})
        EXPECT_EQ(row(id, label), QStringList({"0"})) << label;
    EXPECT_EQ(row(id, "Subtotal:"), QStringList({"0", "0.00"}));
    EXPECT_EQ(row(id, "Totals:"), QStringList({"0", "0.00"}));
    EXPECT_EQ(FileSummaryThread, id);

    // A second start brings this window forward and ends at once.
    const Long second = open();
    EXPECT_TRUE(waitFor([&] { return findProcedure(second) == nullptr; }));
    EXPECT_EQ(FileSummaryThread, id);
    EXPECT_EQ(area.activeSubWindow(), window(id));
    EXPECT_EQ(area.subWindowList().size(), 1);

    window(id)->close();
    ASSERT_TRUE(waitFor([&] { return findProcedure(id) == nullptr; }));
    EXPECT_EQ(FileSummaryThread, 0);
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_EQ(Books.Used, 0); // every table released
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("[FileSummary]"));
}

TEST_F(SummaryTest, FortyBooksWorthTheirTotalCountInEverySum)
{
    ASSERT_TRUE(UseTable(Books) && UseTable(BookCategory));
    for (Long c = 1; c <= 3; ++c) {
        BokCat = BookCategoryRecord{};
        BokCat.BookCategoryId = c;
        BokCat.BookCategory = "Category " + std::to_string(c);
        ASSERT_EQ(BookCategory.add(), NoError);
    }
    for (Long b = 1; b <= 40; ++b) {
        Bok = BooksRecord{};
        Bok.BooksId = b;
        Bok.BookCategoryId = 1 + b % 3;
        ASSERT_EQ(Books.add(), NoError);
    }
    ReleaseTable(BookCategory);
    ReleaseTable(Books);
    Hkv.InventoryBooks.setCents(95000);
    Hkv.InventoryMusic.setCents(1050);
    storeTotals();
    Hkv = HearthkpValueRecord{}; // the summary reads the stored record

    const Long id = open();
    ASSERT_NE(window(id), nullptr);
    EXPECT_EQ(row(id, "Books:"), QStringList({"40", "950.00"}));
    EXPECT_EQ(row(id, "Book Category:"), QStringList({"3"}));
    EXPECT_EQ(row(id, "Music:"), QStringList({"0", "10.50"}));
    EXPECT_EQ(row(id, "Subtotal:"), QStringList({"43", "950.00"}));
    EXPECT_EQ(row(id, "Totals:"), QStringList({"43", "960.50"}));
}

// Six running totals near their limit add up to more than one of them can
// hold: the sums show in full, never cut or shown as '#'.
TEST_F(SummaryTest, TotalsBeyondOneRunningTotalShowTheirTrueFigure)
{
    const std::int64_t most = Decimal<5>::maxCents;
    for (auto *v : {&Hkv.InventoryItems, &Hkv.InventoryBooks, &Hkv.InventoryVideo,
                    &Hkv.InventoryDisks, &Hkv.InventoryMusic, &Hkv.InventoryMagazine})
        v->setCents(most);
    storeTotals();

    const Long id = open();
    ASSERT_NE(window(id), nullptr);
    EXPECT_EQ(row(id, "Items:"), QStringList({"0", "9,999,999.99"}));
    EXPECT_EQ(row(id, "Subtotal:"), QStringList({"0", "29,999,999.97"}));
    EXPECT_EQ(row(id, "Totals:"), QStringList({"0", "59,999,999.94"}));
    EXPECT_EQ(TotalValue.cents(), 6 * most);
}

TEST_F(SummaryTest, CountsStayExactThroughACascadeAndARollback)
{
    TablesInUse tables({&VideoNumber, &Video, &Items, &ItemsRooms, &Books, &BookCategory, &SoftWare,
                        &MusicNumber, &Music, &MagName, &MagArticle, &MagCategory});
    ASSERT_TRUE(tables.ok());
    for (Long c = 1; c <= 2; ++c) {
        VidNum = VideoNumberRecord{};
        VidNum.VideoNumberId = c;
        VidNum.VideoNumber = c;
        ASSERT_EQ(VideoNumber.add(), NoError);
        for (Long t = 1; t <= 3; ++t) {
            Vid = VideoRecord{};
            Vid.VideoId = c * 10 + t;
            Vid.VideoNumberId = c;
            ASSERT_EQ(Video.add(), NoError);
        }
    }
    VidNum = VideoNumberRecord{};
    VidNum.VideoNumberId = 1;
    ASSERT_EQ(VideoNumber.get(VideoNumberRecord::Primary), NoError);
    ASSERT_EQ(DeleteRecordChecked(VideoNumber), Deleted); // takes its three titles along
    takeInventoryCounts();
    EXPECT_EQ(EntryVideo, 1);
    EXPECT_EQ(EntryVideoTitle, 3);

    Transaction txn(DataFile::program());
    ASSERT_EQ(txn.begin(), NoError);
    Itm = ItemsRecord{};
    Itm.ItemsId = 1;
    ASSERT_EQ(Items.add(), NoError);
    txn.rollback();
    takeInventoryCounts();
    EXPECT_EQ(EntryItems, 0);
    EXPECT_EQ(EntryVideoTitle, 3);
}

} // namespace
TEST_F(SummaryTest, AttachmentsAreCountedWithTheirBytes)
{
    ASSERT_TRUE(UseTable(Items) && UseTable(Books));
    Itm = ItemsRecord{};
    Itm.ItemsId = 1;
    ASSERT_EQ(Items.add(), NoError);
    DataFile &file = DataFile::program();
    ASSERT_EQ(
        addAttachment(file, TableId::Items, 1,
                      {"a.jpg", kMediaJpeg, "2026-01-01 00:00:00", std::string(3000, 'a'), ""}),
        NoError);
    ASSERT_EQ(addAttachment(file, TableId::Books, 7,
                            {"b.pdf", kMediaPdf, "2026-01-01 00:00:00", std::string(72, 'b'), ""}),
              NoError);
    ReleaseTable(Items);
    ReleaseTable(Books);
    const Long id = open();
    ASSERT_NE(window(id), nullptr);
    EXPECT_EQ(row(id, "Photos and documents:"), QStringList({"2 (3.0 KB)"}));
}

} // namespace hk
