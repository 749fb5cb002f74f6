// The magazine forms on a real data file (offscreen): new records start
// under the parents the list holds, the issue number names the month, the
// issue's value keeps the magazine total, the ditto key recalls the last
// attempt, and the hierarchy refuses or carries identifier changes whole.
#include "browse/lists/browses.h"
#include "forms/formwindow.h"

#include "integrity/checked.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/windows/layout.h"
#include "programfixture.h"
#include "testapp.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace hk;

namespace
{

class MagazineFormTest : public ProgramTest
{
  protected:
    TablesInUse caller;

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        ASSERT_TRUE(
            caller.use({&HearthkpValue, &MagName, &MagYear, &MagIssue, &MagArticle, &MagCategory}));
        Mag = MagNameRecord{};
        Mag.MagazineNameId = 4;
        Mag.MagazineName = "Gardens";
        ASSERT_EQ(MagName.add(), NoError);
        Yer = MagYearRecord{};
        Yer.MagazineYearId = 7;
        Yer.MagazineNameId = 4;
        Yer.MagazineYear = 1998;
        ASSERT_EQ(MagYear.add(), NoError);
        setPickList([](Procedure &, const std::string &) -> QCoro::Task<bool> { co_return false; });
    }
    void TearDown() override
    {
        caller.release();
        ProgramTest::TearDown();
    }

    QPointer<FormProcedure> open(const char *form, Long request)
    {
        GlobalRequest = request;
        auto f = std::make_unique<FormProcedure>(*findForm(form));
        QPointer<FormProcedure> p = f.get();
        start(std::move(f));
        EXPECT_TRUE(test::waitFor([&] { return p && p->form(); }));
        return p;
    }
    static void type(FormProcedure &p, const char *field, const char *text)
    {
        PictureEntry *e = p.form()->entry(p.controlOf(field));
        ASSERT_NE(e, nullptr) << field;
        e->setFocus();
        e->setText(QString::fromUtf8(text));
        e->setModified(true);
        e->accept();
    }
    static QString month(FormProcedure &p)
    {
        return p.form()->controlAs<QComboBox>(p.controlOf("ISS:MAGAZINEMONTH"))->currentText();
    }
    static void ok(FormProcedure &p)
    {
        p.form()->controlAs<QPushButton>(FormProcedure::OkButton)->click();
    }
};

TEST_F(MagazineFormTest, ANewIssueStartsUnderTheYearNamesItsMonthAndKeepsTheTotal)
{
    // The issue list holds the year; the form shows the magazine it belongs to.
    Mag = MagNameRecord{};
    Iss = MagIssueRecord{};
    QPointer<FormProcedure> p = open("UpdateMagazineIssue", InsertRecord);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->form()->value(p->controlOf("MAG:MAGAZINENAME")),
              PictureValue{std::string("Gardens")});
    type(*p, "ISS:MAGAZINEISSUE", "3");
    EXPECT_EQ(month(*p), "March");
    type(*p, "ISS:MAGAZINEISSUE", "13");
    EXPECT_EQ(month(*p), "March");
    type(*p, "ISS:VALUES", "4.50");
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    ASSERT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(Iss.MagazineNameId, 4);
    EXPECT_EQ(Iss.MagazineYearId, 7);
    EXPECT_EQ(Iss.MagazineIssue, 13);
    EXPECT_EQ(Iss.MagazineMonth.str(), "March");
    HearthkpValue.setByFileOrder();
    ASSERT_EQ(HearthkpValue.next(), NoError);
    EXPECT_EQ(Hkv.InventoryMagazine.cents(), 450);
}

TEST_F(MagazineFormTest, ANewArticleTakesTheIssuesParentsAndNeedsACategory)
{
    Iss = MagIssueRecord{};
    Iss.MagazineIssueId = 30;
    Iss.MagazineNameId = 4;
    Iss.MagazineYearId = 7;
    Iss.MagazineMonth = "May";
    ASSERT_EQ(MagIssue.add(), NoError);
    Cat.MagazineCategoryId = 2;
    Cat.MagazineCategory = "Roses";
    ASSERT_EQ(MagCategory.add(), NoError);
    Art = MagArticleRecord{};
    QPointer<FormProcedure> p = open("UpdateMagazineArticles", InsertRecord);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->form()->value(p->controlOf("ISS:MAGAZINEMONTH")),
              PictureValue{std::string("May")});
    type(*p, "ART:ARTICLE", "Pruning");
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !boxes.boxes().empty(); }));
    EXPECT_EQ(boxes.boxes().back().title, "Please select from list");
    type(*p, "Art:MagazineCategoryId", "2");
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(Art.MagazineIssueId, 30);
    EXPECT_EQ(Art.MagazineYearId, 7);
    EXPECT_EQ(Art.MagazineNameId, 4);
    EXPECT_EQ(Art.MagazineCategoryId, 2);
}

TEST_F(MagazineFormTest, TheDittoKeyRecallsTheLastAttemptedName)
{
    Mag = MagNameRecord{};
    QPointer<FormProcedure> p = open("UpdateMagazineName", InsertRecord);
    type(*p, "MAG:MAGAZINENAME", "gardens"); // taken, whatever the case
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !boxes.boxes().empty(); }));
    EXPECT_EQ(boxes.boxes().back().text, "The Magazine: gardens already exists !");
    p->form()->controlAs<QPushButton>(FormProcedure::CancelButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return !p; }));

    Mag = MagNameRecord{};
    p = open("UpdateMagazineName", InsertRecord);
    QWidget *name = p->form()->control(p->controlOf("MAG:MAGAZINENAME"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(p->form()->value(p->controlOf("MAG:MAGAZINENAME")),
              PictureValue{std::string("gardens")});
    p->form()->controlAs<QPushButton>(FormProcedure::CancelButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
}

TEST_F(MagazineFormTest, AMagazineWithYearsIsNotDeleted)
{
    Mag.MagazineNameId = 4;
    ASSERT_EQ(MagName.get(Mag.Primary), NoError);
    boxes.answer(ButtonOk); // the refusal
    boxes.answer(ButtonNo); // warning 18: do not try again
    QPointer<FormProcedure> p = open("UpdateMagazineName", DeleteRecord);
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    ASSERT_GE(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "This record is referenced from the file MagYear.  This "
                                     "record cannot be deleted while these references exist.");
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_EQ(MagName.get(Mag.Primary), NoError);
}

TEST_F(MagazineFormTest, AYearsNewIdentifierReachesItsIssuesAndArticlesTogether)
{
    for (Long i = 1; i <= 2; ++i) {
        Iss = MagIssueRecord{};
        Iss.MagazineIssueId = i;
        Iss.MagazineYearId = 7;
        ASSERT_EQ(MagIssue.add(), NoError);
        Art = MagArticleRecord{};
        Art.MagazineArticleId = i;
        Art.MagazineYearId = 7;
        Art.MagazineIssueId = i;
        ASSERT_EQ(MagArticle.add(), NoError);
    }
    Yer.MagazineYearId = 7;
    ASSERT_EQ(MagYear.get(Yer.Primary), NoError);
    const NotedKey before = NoteKeyBeforeChange(MagYear);
    Yer.MagazineYearId = 8;
    ASSERT_EQ(UpdateRecordChecked(MagYear, false, before), Updated);
    EXPECT_TRUE(boxes.boxes().empty());
    for (Long i = 1; i <= 2; ++i) {
        Iss.MagazineIssueId = i;
        ASSERT_EQ(MagIssue.get(Iss.Primary), NoError);
        EXPECT_EQ(Iss.MagazineYearId, 8);
        Art.MagazineArticleId = i;
        ASSERT_EQ(MagArticle.get(Art.Primary), NoError);
        EXPECT_EQ(Art.MagazineYearId, 8);
    }
}

} // namespace
