// The cassette and title forms on a real data file: the second running
// number and its duplicate check, titles primed from their cassette, the
// cascade and the value total on delete, and the recall of typed values after
// another station's change.
#include "forms/formcore.h"

#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "programfixture.h"

using namespace hk;

namespace
{

class CassetteForms : public ProgramTest
{
  protected:
    TablesInUse caller; // what the calling lists hold open

    void SetUp() override
    {
        ProgramTest::SetUp();
        ASSERT_TRUE(caller.use({&HearthkpValue, &VideoNumber, &Video}));
    }
    void TearDown() override
    {
        caller.release();
        ProgramTest::TearDown();
    }

    static FieldRef f(const char *label) { return findField(label); }

    std::int64_t videoTotal()
    {
        HearthkpValue.setByFileOrder();
        return HearthkpValue.next() == NoError ? Hkv.InventoryVideo.cents() : 0;
    }

    // Reads a cassette as the list does before calling its form.
    void readCassette(Long id)
    {
        VidNum = VideoNumberRecord{};
        VidNum.VideoNumberId = id;
        ASSERT_EQ(VideoNumber.watch(), NoError);
        ASSERT_EQ(VideoNumber.get(VidNum.Primary), NoError);
    }

    // Through the form: the number it proposed (or `number` typed over it).
    Long insertCassette(const char *title, std::int64_t cents, Long number = 0)
    {
        VidNum = VideoNumberRecord{};
        GlobalRequest = InsertRecord;
        FormCore form(*findForm("UpdateVideoNumber"));
        EXPECT_TRUE(form.open());
        if (number) form.setInteger(f("VIDNUM:VIDEONUMBER"), number);
        form.setText(f("VIDNUM:VIDEOTITLE"), title);
        form.setText(f("VIDNUM:VIDEOACTOR"), "Actor of " + std::string(title));
        form.setInteger(f("VIDNUM:VALUES"), cents);
        EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
        form.close();
        return VidNum.VideoNumber;
    }

    // A title inserted as the cassette's child list calls the form: the
    // list has set the cassette's identifier, the form primes the rest.
    void insertTitle(Long cassette, const char *title)
    {
        readCassette(cassette);
        Vid = VideoRecord{};
        Vid.VideoNumberId = cassette;
        GlobalRequest = InsertRecord;
        FormCore form(*findForm("UpdateVideo"));
        ASSERT_TRUE(form.open());
        form.setText(f("VID:VIDEOTITLE"), title);
        ASSERT_EQ(form.complete(), FormCore::Outcome::Close);
        form.close();
    }
};

} // namespace

TEST_F(CassetteForms, ANewCassetteIsProposedTheNextNumberAndATakenOneIsRefused)
{
    EXPECT_EQ(insertCassette("First", 1000), 1);
    EXPECT_EQ(insertCassette("Typed", 250, 40), 40);
    EXPECT_EQ(insertCassette("Next", 0), 41); // the highest plus one, not the count

    VidNum = VideoNumberRecord{};
    GlobalRequest = InsertRecord;
    FormCore form(*findForm("UpdateVideoNumber"));
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.integer(f("VIDNUM:VIDEONUMBER")), 42);
    EXPECT_EQ(form.integer(f("VIDNUM:VIDEONUMBERID")), 4);
    form.setInteger(f("VIDNUM:VIDEONUMBER"), 40);
    form.setText(f("VIDNUM:VIDEOTITLE"), "Again");
    form.setText(f("VIDNUM:VIDEOACTOR"), "Someone");
    form.setInteger(f("VIDNUM:VALUES"), 999);
    EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnDuplicate);
    ASSERT_FALSE(boxes.boxes().empty());
    EXPECT_EQ(boxes.boxes().back().text, "The Video Cassette Number: 40 already exists !");
    EXPECT_EQ(boxes.boxes().back().title, "Please enter another Video Cassette Number");
    EXPECT_EQ(videoTotal(), 1250); // the refused value is not counted
    form.setCancelled();
    form.close();
    EXPECT_EQ(VideoNumber.records(), 3);
}

TEST_F(CassetteForms, TitlesBelongToTheirCassetteAndGoWithIt)
{
    insertCassette("Films", 1000);
    insertCassette("Other", 500);
    insertTitle(1, "Opening");
    insertTitle(1, "Middle");
    insertTitle(1, "Closing");
    insertTitle(2, "Elsewhere");
    Vid = VideoRecord{};
    Vid.VideoId = 1;
    ASSERT_EQ(Video.get(Vid.Primary), NoError);
    EXPECT_EQ(Vid.VideoNumberId, 1);
    EXPECT_EQ(Vid.VideoActor.str(), "Actor of Films");
    EXPECT_EQ(videoTotal(), 1500);

    readCassette(1);
    GlobalRequest = DeleteRecord;
    FormCore form(*findForm("UpdateVideoNumber"));
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    form.close();
    EXPECT_EQ(Video.records(), 1); // only the other cassette's title is left
    EXPECT_EQ(VideoNumber.records(), 1);
    EXPECT_EQ(videoTotal(), 500);
}

TEST_F(CassetteForms, AfterAnotherStationsChangeCtrlQuoteBringsBackWhatWasTyped)
{
    insertCassette("Films", 1000);
    readCassette(1);
    GlobalRequest = ChangeRecord;
    FormCore form(*findForm("UpdateVideoNumber"));
    ASSERT_TRUE(form.open());

    DataFile other(path());
    VideoNumberRecord theirs;
    Table otherCassettes(TableId::VideoNumber, &theirs, &other);
    ASSERT_EQ(otherCassettes.open(), NoError);
    theirs.VideoNumberId = 1;
    ASSERT_EQ(otherCassettes.get(VideoNumberRecord::Primary), NoError);
    theirs.Studio = "Their Studio";
    ASSERT_EQ(otherCassettes.put(), NoError);

    form.setText(f("VIDNUM:VIDEOTITLE"), "My Title");
    form.setInteger(f("VIDNUM:VALUES"), 1250);
    EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnFirst);
    EXPECT_EQ(boxes.boxes().back().title, "Record Was Not Updated");
    EXPECT_EQ(form.text(f("VIDNUM:VIDEOTITLE")), "Films");
    EXPECT_TRUE(form.recallField(f("VIDNUM:VIDEOTITLE")));
    EXPECT_TRUE(form.recallField(f("VIDNUM:VALUES")));
    EXPECT_EQ(form.text(f("VIDNUM:VIDEOTITLE")), "My Title");
    EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    form.close();
    readCassette(1);
    EXPECT_EQ(VidNum.VideoTitle.str(), "My Title");
    EXPECT_EQ(VidNum.Studio.str(), "Their Studio"); // not recalled: theirs stays
    EXPECT_EQ(videoTotal(), 1250);
}
