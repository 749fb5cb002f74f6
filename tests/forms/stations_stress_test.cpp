// Two stations, each a process of its own, insert, change and delete the same
// books at random through the form engine; whatever the interleaving, the
// file ends consistent: the books total is the sum of the values, no
// placeholder is left, and SQLite finds the file sound.
#include "forms/formcore.h"

#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "programfixture.h"

#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace hk;

namespace
{

constexpr int kBooks = 50;
constexpr int kStepsPerStation = 1500;

FieldRef f(const char *label)
{
    return findField(label);
}

// One form's life as a user at this station would lead it.
void step(std::mt19937 &random)
{
    auto chance = [&](int percent) {
        return std::uniform_int_distribution<int>(1, 100)(random) <= percent;
    };
    const std::int64_t value = std::uniform_int_distribution<std::int64_t>(0, 99999)(random);
    const int kind = std::uniform_int_distribution<int>(0, 2)(random);
    // The user takes a moment with the form: the other station goes on meanwhile.
    auto think = [&] { usleep(std::uniform_int_distribution<useconds_t>(0, 2000)(random)); };
    if (kind == 0) {
        Bok = BooksRecord{};
        GlobalRequest = InsertRecord;
        FormCore form(*findForm("UpdateBooks"));
        if (!form.open()) return;
        form.setText(f("BOK:BOOKTITLE"), "Title " + std::to_string(value));
        form.setText(f("BOK:BOOKAUTHOR"), "Author");
        form.setInteger(f("Bok:BookCategoryId"), 1);
        form.setInteger(f("BOK:BOOKVALUE"), value);
        think();
        if (chance(80))
            form.complete();
        else
            form.setCancelled();
        form.close();
        return;
    }
    // A list reads the book and watches it before it calls the form.
    Bok = BooksRecord{};
    Bok.BooksId = std::uniform_int_distribution<Long>(1, kBooks)(random);
    Books.watch();
    if (Books.get(BooksRecord::Primary) != NoError) return;
    GlobalRequest = kind == 1 ? ChangeRecord : DeleteRecord;
    FormCore form(*findForm("UpdateBooks"));
    if (!form.open()) return;
    if (kind == 1) form.setInteger(f("BOK:BOOKVALUE"), value);
    think();
    // Shown the other station's version, the user tries once more or gives up.
    if (form.complete() != FormCore::Outcome::Close && chance(50)) form.complete();
    form.close();
}

class StationsStressTest : public ProgramTest
{
  protected:
    // Runs a station's steps in a process of its own; its boxes are answered
    // with their defaults.
    static pid_t station(unsigned seed)
    {
        const pid_t pid = fork();
        if (pid != 0) return pid;
        ScriptedMessageService answers;
        setMessageService(&answers);
        int status = 1;
        {
            TablesInUse list{&BookCategory, &Books, &HearthkpValue};
            std::mt19937 random(seed);
            for (int i = 0; list.ok() && i < kStepsPerStation; ++i)
                step(random);
            status = list.ok() ? 0 : 1;
        }
        DataFile::program().shutdown();
        _exit(status);
    }
};

} // namespace

TEST_F(StationsStressTest, TwoStationsAtRandomLeaveTotalsAndFileSound)
{
    {
        TablesInUse tables{&BookCategory, &Books, &HearthkpValue};
        BokCat.BookCategoryId = 1;
        BokCat.BookCategory = "Novels";
        ASSERT_EQ(BookCategory.add(), NoError);
        std::int64_t total = 0;
        for (Long id = 1; id <= kBooks; ++id) {
            Bok = BooksRecord{};
            Bok.BooksId = id;
            Bok.BookTitle = "Book " + std::to_string(id);
            Bok.BookCategoryId = 1;
            Bok.BookValue.setCents(id * 100);
            total += id * 100;
            ASSERT_EQ(Books.add(), NoError);
        }
        Hkv = HearthkpValueRecord{};
        Hkv.InventoryBooks.setCents(total);
        ASSERT_EQ(HearthkpValue.add(), NoError);
    }
    DataFile::program().shutdown(); // no connection may cross the fork

    const pid_t a = station(1), b = station(2);
    int statusA = -1, statusB = -1;
    waitpid(a, &statusA, 0);
    waitpid(b, &statusB, 0);
    EXPECT_EQ(statusA, 0);
    EXPECT_EQ(statusB, 0);

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    registerKeyCollation(db);
    auto one = [&](const char *sql) {
        sqlite3_stmt *st = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            out = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        return out;
    };
    EXPECT_EQ(one("SELECT InventoryBooks FROM HearthkpValue"),
              one("SELECT coalesce(sum(BookValue), 0) FROM Books"));
    EXPECT_EQ(one("SELECT count(*) FROM Books WHERE BookTitle = ''"), "0");
    EXPECT_EQ(one("SELECT count(*) FROM HkPlaceholders"), "0");
    EXPECT_NE(one("SELECT count(*) FROM Books"), "0");
    EXPECT_EQ(one("PRAGMA integrity_check"), "ok");
    sqlite3_close(db);
}
