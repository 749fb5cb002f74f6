// Placeholders of insert forms across stations: each station is a process of
// its own here, so that one can be killed while its form is open.
#include "forms/formcore.h"

#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "platform/data/placeholders.h"
#include "platform/data/transaction.h"
#include "programfixture.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace hk;

namespace
{

class PlaceholderTest : public ProgramTest
{
  protected:
    // A station in a process of its own that opens an insert form on Books
    // and waits; what it is sent next decides how the form ends. Returns the
    // process once the placeholder is stored.
    struct Process {
        pid_t pid = -1;
        int tell = -1; // write end: 'c' cancels the form, then the process ends
    };

    Process openInsertElsewhere()
    {
        int ready[2], orders[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(orders), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
            close(orders[1]);
            ScriptedMessageService quiet;
            setMessageService(&quiet);
            int status = 1;
            {
                TablesInUse tables{&BookCategory, &Books, &HearthkpValue};
                Bok = BooksRecord{};
                GlobalRequest = InsertRecord;
                FormCore form(*findForm("UpdateBooks"));
                if (tables.ok() && form.open()) {
                    const char done = 'r';
                    (void)!write(ready[1], &done, 1);
                    char order = 0;
                    (void)!read(orders[0], &order, 1);
                    form.setCancelled();
                    form.close();
                    status = 0;
                }
            }
            _exit(status);
        }
        close(ready[1]);
        close(orders[0]);
        char done = 0;
        EXPECT_EQ(read(ready[0], &done, 1), 1);
        close(ready[0]);
        return {pid, orders[1]};
    }

    static int finish(Process &s, bool kill)
    {
        if (kill)
            ::kill(s.pid, SIGKILL);
        else
            (void)!write(s.tell, "c", 1);
        close(s.tell);
        int status = 0;
        waitpid(s.pid, &status, 0);
        return status;
    }

    static std::vector<Long> books()
    {
        std::vector<Long> ids;
        Books.set(BooksRecord::Primary);
        while (Books.next() == NoError)
            ids.push_back(Bok.BooksId);
        return ids;
    }
};

} // namespace

TEST_F(PlaceholderTest, AKilledStationsPlaceholderGoesAtTheNextOpeningALiveOnesStays)
{
    Process killed = openInsertElsewhere();
    Process live = openInsertElsewhere();
    finish(killed, true);

    TablesInUse tables{&Books};
    ASSERT_TRUE(tables.ok());
    EXPECT_EQ(books(), std::vector<Long>{2}); // the live station's form is still open
    EXPECT_TRUE(boxes.boxes().empty());

    EXPECT_EQ(finish(live, false), 0);
    EXPECT_EQ(books(), std::vector<Long>{});
}

TEST_F(PlaceholderTest, AReusedProcessIdOrAnEarlierBootIsNoLiveStation)
{
    Station reused = thisStation();
    reused.started += 1; // our process id, but another process's start
    EXPECT_FALSE(stationRunning(reused));
    Station rebooted = thisStation();
    rebooted.boot = "an earlier boot";
    EXPECT_FALSE(stationRunning(rebooted));
    rebooted.host += ".elsewhere"; // another machine cannot be asked: left alone
    EXPECT_TRUE(stationRunning(rebooted));
}

TEST_F(PlaceholderTest, ARemovalThatFailsIsReportedAndTheNoteStays)
{
    TablesInUse tables{&BookCategory, &Books, &HearthkpValue};
    Bok = BooksRecord{};
    GlobalRequest = InsertRecord;
    auto form = std::make_unique<FormCore>(*findForm("UpdateBooks"));
    ASSERT_TRUE(form->open());

    DataFile other(path());
    BooksRecord theirs;
    Table otherBooks(TableId::Books, &theirs, &other);
    ASSERT_EQ(otherBooks.open(), NoError);
    Transaction writing(other);
    ASSERT_EQ(writing.begin(), NoError); // another station writes, and keeps writing
    boxes.answer(ButtonOk);
    boxes.answer(ButtonNo); // do not try again
    form->setCancelled();
    form->close();
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].title, "Delete Operation Error");
    EXPECT_EQ(boxes.boxes()[0].text, "An error (File Is Locked (32)) was experienced when "
                                     "attempting to delete a record from the file Books.");
    EXPECT_EQ(boxes.boxes()[1].title, "Record Update Error");
    writing.rollback();
    EXPECT_EQ(books(), std::vector<Long>{1});

    // Still this station's: nobody removes it while it runs.
    ASSERT_EQ(otherBooks.close(), NoError);
    ASSERT_EQ(otherBooks.open(), NoError);
    EXPECT_EQ(otherBooks.records(), 1);
}

TEST_F(PlaceholderTest, AProgramEndingWithAnInsertFormOpenTakesItsPlaceholderAlong)
{
    // However the program ends (a halt, the session closing it) the forms
    // never get to close: the station's end removes what they added.
    TablesInUse tables{&BookCategory, &Books, &HearthkpValue};
    Bok = BooksRecord{};
    GlobalRequest = InsertRecord;
    FormCore form(*findForm("UpdateBooks"));
    ASSERT_TRUE(form.open());
    ASSERT_EQ(books(), std::vector<Long>{1});
    DataFile::program().shutdown();

    DataFile other(path());
    BooksRecord theirs;
    Table otherBooks(TableId::Books, &theirs, &other);
    ASSERT_EQ(otherBooks.open(), NoError);
    EXPECT_EQ(otherBooks.records(), 0);
    form.close();
    EXPECT_TRUE(boxes.boxes().empty());
}
