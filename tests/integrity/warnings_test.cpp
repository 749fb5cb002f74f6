#include "integrity/warnings.h"

#include "platform/data/transaction.h"
#include "programfixture.h"

#include <set>

using namespace hk;

// The warnings' own texts live in one table, warnings.cpp; these check what
// must hold for each of them, and how the pieces are put in.
TEST_F(ProgramTest, EveryWarningFillsEachPieceAndReadsUnlikeAnyOther)
{
    setDriverError(FileSystemError, 5, "database is locked   ", "Hearthkp\\!Video");
    const std::vector<int> numbers = warningNumbers();
    ASSERT_FALSE(numbers.empty());
    std::set<std::string> texts;
    for (int number : numbers) {
        SCOPED_TRACE(number);
        const WarningText w = warningText(number, "TheTable  ", "The Text  ");
        EXPECT_FALSE(w.title.empty());
        EXPECT_EQ(w.text.find_first_of("{}"), std::string::npos) << w.text; // all filled
        for (const char *untrimmed : {"TheTable  ", "The Text  "})
            EXPECT_EQ(w.text.find(untrimmed), std::string::npos) << w.text;
        EXPECT_TRUE(texts.insert(w.text).second) << w.text;

        // Its box: a warning icon, and a default among its buttons.
        const std::size_t before = boxes.boxes().size();
        WarnUser(number, "TheTable", "The Text");
        ASSERT_EQ(boxes.boxes().size(), before + 1);
        const MessageRequest &box = boxes.boxes().back();
        EXPECT_EQ(box.title, w.title);
        EXPECT_TRUE(box.icon == MessageIcon::Exclamation || box.icon == MessageIcon::Question);
        EXPECT_NE(box.buttons & box.defaultButton, 0);
        setDriverError(FileSystemError, 5, "database is locked   ", "Hearthkp\\!Video");
    }
    // Those that end the program each say so in their halt.
    for (const std::string &h : boxes.halts())
        EXPECT_EQ(h.back(), '!') << h;
}

TEST_F(ProgramTest, TheErrorTheFileAndTheOperationArePutInAsTheWarningAsks)
{
    setDriverError(FileSystemError, 5, "database is locked   ", "Hearthkp\\!Video");
    // The driver's message and code for a file-system error; the operation
    // named twice, once in lower case; the parent table.
    EXPECT_EQ(warningText(34, "VideoNumber", "Delete").text,
              "Error: (database is locked (5)) attempting to frame the delete transaction on "
              "VideoNumber.  Delete transaction cancelled.");
    // A warning of one argument takes it as the file.
    EXPECT_EQ(warningText(30, "", "Hearthkp\\!Books").text,
              "File (Hearthkp\\!Books) could not be opened.  Error: database is locked (5).");
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
    // At most 150 characters of error.
    setDriverError(FileSystemError, 1, std::string(200, 'x'), "");
    EXPECT_EQ(warningErrorText(), std::string(150, 'x'));
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
    Transaction txn(DataFile::program());
    ASSERT_EQ(txn.begin(), NoError);
    b.BooksId = 1;
    ASSERT_EQ(Books.add(), NoError);
    ASSERT_EQ(Books.add(), DuplicateKey);
    txn.rollback(); // keeps the failure for the warning
    CaptureFileError();
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
