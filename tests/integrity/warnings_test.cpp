#include "integrity/warnings.h"

#include "programfixture.h"

using namespace hk;

namespace
{

struct Case {
    int number;
    const char *table;
    const char *text;
    const char *title;
    const char *expected;
};

} // namespace

TEST_F(ProgramTest, EveryWarningReadsAsWritten)
{
    setDriverError(FileSystemError, 5, "database is locked   ", "Hearthkp\\!Video");
    const Case cases[] = {
        {1, "", "Hearthkp\\!Books", "Invalid File",
         "Error: (database is locked (5)) accessing Hearthkp\\!Books.  Press OK to end this "
         "application."},
        {2, "", "Hearthkp\\!Books", "Invalid Key",
         "Hearthkp\\!Books key file is invalid.  Do you want to rebuild the key?"},
        {3, "", "Hearthkp\\!Books", "Key Rebuild Error",
         "Error: (database is locked (5)) repairing key for Hearthkp\\!Books.  Press OK to end "
         "this application."},
        {5, "", "Hearthkp\\!Items", "File Creation Error",
         "Error: (database is locked (5)) opening created file:Hearthkp\\!Items.  Press OK to end "
         "this application."},
        {11, "BookCategory", "Book Category", "Field Contents Error",
         "The value for Book Category must be found in the BookCategory file."},
        {12, "", "MagYear", "Referential Integrity Update Error",
         "This record is referenced from the file MagYear.  Linking field(s) have been restricted "
         "from change and have been reset to original values."},
        {13, "", "Items", "Referential Integrity Delete Error",
         "This record is referenced from the file Items.  This record cannot be deleted while "
         "these references exist."},
        {17, "", "Video", "Delete Operation Error",
         "An error (database is locked (5)) was experienced when attempting to delete a record "
         "from the file Video."},
        {24, "", "Itm:Primary", "Duplicate Key Error",
         "Adding this record creates a duplicate entry for the key:Itm:Primary"},
        {30, "", "Hearthkp\\!Books", "File Access Error",
         "File (Hearthkp\\!Books) could not be opened.  Error: database is locked (5)."},
        {34, "VideoNumber", "Delete", "Transaction Framing Error",
         "Error: (database is locked (5)) attempting to frame the delete transaction on "
         "VideoNumber.  Delete transaction cancelled."},
        {35, "", "Video", "Record Retrieval Error",
         "Error: (database is locked (5)) attempting to access a record from the Video file.  "
         "Returning to previous window."},
        {36, "", "", "View Open Error",
         "Error: (database is locked (5)) attempting to open the current VIEW. Filter and Range "
         "Limits ignored."},
    };
    for (const auto &c : cases) {
        WarningText w = warningText(c.number, c.table, c.text);
        EXPECT_EQ(w.title, c.title) << c.number;
        EXPECT_EQ(w.text, c.expected) << c.number;
    }

    // Any other code reads as its message and number.
    setError(DuplicateKey);
    EXPECT_EQ(warningText(14, "", "").text,
              "An error was experienced during the update of record.  Error: Creates Duplicate "
              "Key (40).");
    EXPECT_EQ(warningText(15, "", "Disk full").text,
              "An error (Creates Duplicate Key (40)) was experienced when attempting to update a "
              "record from the file.  Probable Cause: Disk full.");
    setError(ChangedByOther);
    EXPECT_EQ(warningText(15, "", "Record Changed by Another Station").text,
              "This record was changed by another station.");
}

TEST_F(ProgramTest, WarningsAnswerWithTheirButtonsAndDefaults)
{
    boxes.answer(ButtonNo);
    EXPECT_EQ(WarnUser(16), ButtonNo);
    EXPECT_EQ(WarnUser(18), ButtonCancel); // unanswered: the default
    EXPECT_EQ(WarnUser(25), ButtonCancel);
    EXPECT_EQ(WarnUser(38), ButtonOk);
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_EQ(boxes.boxes()[0].buttons, ButtonYes | ButtonNo | ButtonCancel);
    EXPECT_EQ(boxes.boxes()[2].buttons, ButtonRetry | ButtonCancel);
    EXPECT_EQ(boxes.boxes()[2].title, "Auto Increment Error");
    EXPECT_EQ(boxes.boxes()[3].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(haltCodes.empty());

    WarnUser(4, "Hearthkp\\!Books");
    ASSERT_EQ(boxes.halts().size(), 1u);
    EXPECT_EQ(boxes.halts()[0], "File Creation Error!");
}

TEST_F(ProgramTest, ACapturedErrorIsReportedOnceEvenAfterLaterSuccess)
{
    BooksRecord &b = Bok;
    ASSERT_EQ(Books.create(), NoError);
    ASSERT_EQ(Books.open(), NoError);
    ASSERT_EQ(DataFile::program().begin(), NoError);
    b.BooksId = 1;
    ASSERT_EQ(Books.add(), NoError);
    ASSERT_EQ(Books.add(), DuplicateKey);
    CaptureFileError(); // rolls the transaction back before anything is shown
    EXPECT_FALSE(DataFile::program().inTransaction());
    EXPECT_EQ(Books.records(), 0);

    ASSERT_EQ(Books.records(), 0); // a later success...
    WarnUser(14);
    EXPECT_EQ(boxes.boxes().back().text,
              "An error was experienced during the update of record.  Error: Creates Duplicate "
              "Key (40).");
    WarnUser(14); // ...is what the next warning shows, never as "No error"
    EXPECT_EQ(boxes.boxes().back().text, "An error was experienced during the update of record.  "
                                         "Error: the cause was not recorded (0).");
}

// A warning tells of a failure: whatever number it has, and however its
// cause was lost on the way, it never says "No error".
TEST_F(ProgramTest, NoWarningSaysNoError)
{
    setError(NoError);
    for (int number = 1; number < 100; ++number) {
        const WarningText w = warningText(number, "Hearthkp\\!Books", "text");
        if (w.text.starts_with("Unknown warning")) continue;
        EXPECT_EQ(w.text.find("No error"), std::string::npos) << number << ": " << w.text;
    }
}
