// The album track and cassette forms as windows (offscreen): a side chosen
// with the radio buttons is stored as its letter, and Ctrl+' in a field
// brings back what was typed there after another station's change.
#include "forms/formwindow.h"

#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/windows/layout.h"
#include "programfixture.h"
#include "testapp.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

using namespace hk;

namespace
{

class CollectionWindows : public ProgramTest
{
  protected:
    TablesInUse caller;

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        ASSERT_TRUE(caller.use({&HearthkpValue, &MusicNumber, &Music, &VideoNumber, &Video}));
    }
    void TearDown() override
    {
        caller.release();
        ProgramTest::TearDown();
    }

    QPointer<FormProcedure> open(const char *name, Long request)
    {
        GlobalRequest = request;
        auto form = std::make_unique<FormProcedure>(*findForm(name));
        QPointer<FormProcedure> p = form.get();
        start(std::move(form));
        EXPECT_TRUE(test::waitFor([&] { return p && p->form(); }));
        return p;
    }
    static PictureEntry *entry(FormProcedure &p, const char *field)
    {
        return p.form()->entry(p.controlOf(field));
    }
    static void type(FormProcedure &p, const char *field, const char *text)
    {
        entry(p, field)->setText(QString::fromUtf8(text));
        entry(p, field)->setModified(true);
    }
    static void ok(FormProcedure &p)
    {
        p.form()->controlAs<QPushButton>(FormProcedure::OkButton)->click();
    }
};

} // namespace

TEST_F(CollectionWindows, ASideIsChosenWithItsRadioButtonAndStoredAsItsLetter)
{
    MusNum = MusicNumberRecord{};
    MusNum.MusicNumberId = 3;
    MusNum.AlbumArtist = "The Band";
    ASSERT_EQ(MusicNumber.add(), NoError);
    Mus = MusicRecord{};
    Mus.MusicNumberId = 3;
    QPointer<FormProcedure> p = open("UpdateMusic", InsertRecord);
    ASSERT_TRUE(p);
    EXPECT_EQ(entry(*p, "MUS:MUSICARTIST")->text(), "The Band");
    type(*p, "MUS:MUSICTRACK", "4");
    type(*p, "MUS:MUSICTITLE", "Fourth");
    auto *side = p->form()->control(p->controlOf("MUS:TITLESIDE"));
    auto radios = side->findChild<QButtonGroup *>()->buttons();
    ASSERT_EQ(radios.size(), 2);
    EXPECT_EQ(radios[1]->text(), "B");
    const auto onScreen = [](QWidget *w) { return QRect(w->mapToGlobal(QPoint()), w->size()); };
    EXPECT_TRUE(onScreen(side).contains(onScreen(radios[1]))); // the frame holds both radios
    radios[1]->click();
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    Mus = MusicRecord{};
    Mus.MusicId = 1;
    ASSERT_EQ(Music.get(Mus.Primary), NoError);
    EXPECT_EQ(Mus.TitleSide.str(), "B");
    EXPECT_EQ(Mus.MusicNumberId, 3);
}

TEST_F(CollectionWindows, CtrlQuoteRecallsTheTypedTitleAfterWarning38)
{
    VidNum = VideoNumberRecord{};
    VidNum.VideoNumberId = 1;
    VidNum.VideoNumber = 5;
    VidNum.VideoTitle = "Films";
    VidNum.VideoActor = "Lead";
    ASSERT_EQ(VideoNumber.add(), NoError);
    ASSERT_EQ(VideoNumber.watch(), NoError);
    ASSERT_EQ(VideoNumber.get(VidNum.Primary), NoError);
    QPointer<FormProcedure> p = open("UpdateVideoNumber", ChangeRecord);
    ASSERT_TRUE(p);

    DataFile other(path());
    VideoNumberRecord theirs;
    Table otherCassettes(TableId::VideoNumber, &theirs, &other);
    ASSERT_EQ(otherCassettes.open(), NoError);
    theirs.VideoNumberId = 1;
    ASSERT_EQ(otherCassettes.get(VideoNumberRecord::Primary), NoError);
    theirs.VideoTitle = "Their Films";
    ASSERT_EQ(otherCassettes.put(), NoError);

    type(*p, "VIDNUM:VIDEOTITLE", "My Films");
    ok(*p);
    ASSERT_TRUE(test::waitFor([&] { return !boxes.boxes().empty(); }));
    EXPECT_EQ(boxes.boxes().back().title, "Record Was Not Updated");
    ASSERT_TRUE(
        test::waitFor([&] { return entry(*p, "VIDNUM:VIDEOTITLE")->text() == "Their Films"; }));
    QTest::keyClick(entry(*p, "VIDNUM:VIDEOTITLE"), Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(entry(*p, "VIDNUM:VIDEOTITLE")->text(), "My Films");
    p->form()->controlAs<QPushButton>(FormProcedure::CancelButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
}

TEST_F(CollectionWindows, TheCounterEntryShowsAWholeTime)
{
    VidNum = VideoNumberRecord{};
    VidNum.VideoNumberId = 1;
    VidNum.VideoNumber = 5;
    ASSERT_EQ(VideoNumber.add(), NoError);
    Vid = VideoRecord{};
    Vid.VideoNumberId = 1;
    QPointer<FormProcedure> p = open("UpdateVideo", InsertRecord);
    ASSERT_TRUE(p);
    PictureEntry *counter = entry(*p, "VID:COUNTERSTART");
    counter->setText("23:59:59");
    EXPECT_GE(counter->contentsRect().width(),
              counter->fontMetrics().horizontalAdvance("23:59:59"));
    p->form()->close();
    EXPECT_TRUE(test::waitFor([&] { return !p; }));
}
