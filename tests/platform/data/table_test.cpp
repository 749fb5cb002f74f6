#include "datafixture.h"

#include "platform/data/files.h"
#include "platform/data/view.h"

#include <vector>

using namespace hk;

namespace
{

class TableTest : public DataFileTest
{
  protected:
    DataFile file{path()};
    BooksRecord b;
    BookCategoryRecord c;
    ItemsRoomsRecord r;
    Table books{TableId::Books, &b, &file};
    Table categories{TableId::BookCategory, &c, &file};
    Table rooms{TableId::ItemsRooms, &r, &file};

    void SetUp() override
    {
        for (Table *t : {&books, &categories, &rooms}) {
            ASSERT_EQ(t->create(), NoError);
            ASSERT_EQ(t->open(), NoError);
        }
    }

    void addBook(Long id, const char *title, const char *author, Long category = 0)
    {
        b = BooksRecord{};
        b.BooksId = id;
        b.BookTitle = title;
        b.BookAuthor = author;
        b.BookCategoryId = category;
        ASSERT_EQ(books.add(), NoError) << lastError().driverMessage;
    }

    std::vector<Long> readIds(int (Table::*step)(), int n)
    {
        std::vector<Long> ids;
        for (int i = 0; i < n && (books.*step)() == NoError; ++i)
            ids.push_back(b.BooksId);
        return ids;
    }
};

} // namespace

TEST_F(TableTest, UniqueKeysIgnoreLetterCaseBeyondAscii)
{
    r.RoomsId = 1;
    r.Rooms = "K\xC3\xBC"
              "che"; // Küche
    ASSERT_EQ(rooms.add(), NoError);
    r.RoomsId = 3;
    r.Rooms = "Hall";
    ASSERT_EQ(rooms.add(), NoError); // the current record is never its own duplicate
    r.RoomsId = 2;
    r.Rooms = "K\xC3\x9C"
              "CHE"; // KÜCHE
    EXPECT_TRUE(rooms.duplicate(ItmRom.DisplayByRooms));
    EXPECT_FALSE(rooms.duplicate(ItmRom.Primary));
    EXPECT_EQ(rooms.add(), DuplicateKey);
    EXPECT_EQ(lastError().key, "ItmRom:DisplayByRooms");
    r.RoomsId = 1;
    r.Rooms = "Attic";
    EXPECT_EQ(rooms.add(), DuplicateKey);
    EXPECT_EQ(lastError().key, "ItmRom:Primary");
    EXPECT_EQ(rooms.records(), 2);

    c.BookCategoryId = 1;
    c.BookCategory = "Poetry";
    ASSERT_EQ(categories.add(), NoError);
    c.BookCategoryId = 2;
    c.BookCategory = "POETRY";
    EXPECT_EQ(categories.add(), DuplicateKey);

    // Duplicate keys keep both.
    addBook(1, "Emma", "Austen");
    addBook(2, "Emma", "Austen");
    EXPECT_EQ(books.records(), 2);
}

TEST_F(TableTest, PutChecksUniqueKeysAgainstOtherRecordsOnly)
{
    c.BookCategoryId = 1;
    c.BookCategory = "Poetry";
    ASSERT_EQ(categories.add(), NoError);
    c.BookCategoryId = 2;
    c.BookCategory = "Drama";
    ASSERT_EQ(categories.add(), NoError);
    c.BookCategory = "drama"; // its own value in another case is no clash
    EXPECT_FALSE(categories.duplicate());
    EXPECT_EQ(categories.put(), NoError);
    c.BookCategory = "POETRY";
    EXPECT_TRUE(categories.duplicate());
    EXPECT_EQ(categories.put(), DuplicateKey);
    c.BookCategoryId = 1;
    ASSERT_EQ(categories.get(BokCat.Primary), NoError);
    EXPECT_EQ(c.BookCategory.str(), "Poetry");
}

TEST_F(TableTest, AutoNumberingFollowsTheHighestIdentifier)
{
    b = BooksRecord{};
    b.BookTitle = "First";
    ASSERT_EQ(autoNumber(books), NoError);
    EXPECT_EQ(b.BooksId, 1);
    EXPECT_EQ(b.BookTitle.str(), "First");
    addBook(7, "Seventh", "");
    addBook(3, "Third", "");
    b.BooksId = 3;
    ASSERT_EQ(books.get(Bok.Primary), NoError);
    ASSERT_EQ(books.remove(), NoError);
    b = BooksRecord{};
    b.BookTitle = "Next";
    ASSERT_EQ(autoNumber(books), NoError);
    EXPECT_EQ(b.BooksId, 8);
    EXPECT_EQ(b.BookTitle.str(), "Next");
    b.BooksId = 8;
    ASSERT_EQ(books.get(Bok.Primary), NoError);
    EXPECT_EQ(b.BookTitle.str(), "Next");
}

TEST_F(TableTest, ReadingResumesAtASavedPositionAmongEqualKeys)
{
    // Five books share one title and author; their order is the file's.
    for (Long id = 1; id <= 5; ++id)
        addBook(id, "Same", "Author");
    addBook(6, "Alpha", "Author");
    addBook(7, "zulu", "Author");

    ASSERT_EQ(books.set(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(readIds(&Table::next, 10), (std::vector<Long>{6, 1, 2, 3, 4, 5, 7}));
    ASSERT_EQ(books.set(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(readIds(&Table::previous, 10), (std::vector<Long>{7, 5, 4, 3, 2, 1, 6}));

    ASSERT_EQ(books.set(Bok.DisplayByTitle), NoError);
    readIds(&Table::next, 4); // stands on book 3
    ASSERT_EQ(b.BooksId, 3);
    Position at3 = books.position(Bok.DisplayByTitle);
    ASSERT_LE(at3.size(), kMaxPositionBytes);

    ASSERT_EQ(books.reset(at3), NoError);
    EXPECT_EQ(readIds(&Table::next, 3), (std::vector<Long>{3, 4, 5}));
    ASSERT_EQ(books.reset(at3), NoError);
    EXPECT_EQ(readIds(&Table::previous, 3), (std::vector<Long>{3, 2, 1}));
    EXPECT_EQ(books.reget(at3), NoError);
    EXPECT_EQ(b.BooksId, 3);
    EXPECT_EQ(books.next(), NoError); // reget does not move the reading place
    EXPECT_EQ(b.BooksId, 2);

    // Past either end: 33, and the buffer keeps the last record read.
    ASSERT_EQ(books.set(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(readIds(&Table::next, 100).size(), 7u);
    EXPECT_EQ(books.next(), NoMoreRecords);
    EXPECT_EQ(b.BooksId, 7);
}

TEST_F(TableTest, SetByKeyStartsAtOrAfterTheBufferValues)
{
    addBook(1, "Bleak House", "Dickens");
    addBook(2, "Middlemarch", "Eliot");
    addBook(3, "moby dick", "Melville");
    addBook(4, "Walden", "Thoreau");
    b = BooksRecord{};
    b.BookTitle = "M";
    ASSERT_EQ(books.setByKey(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(readIds(&Table::next, 2), (std::vector<Long>{2, 3}));
    b = BooksRecord{};
    b.BookTitle = "N";
    ASSERT_EQ(books.setByKey(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(readIds(&Table::previous, 1), (std::vector<Long>{3}));
    b = BooksRecord{};
    b.BookTitle = "Zz";
    ASSERT_EQ(books.setByKey(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(books.next(), NoMoreRecords);

    b.BookTitle = "MOBY DICK";
    b.BookAuthor = "melville";
    ASSERT_EQ(books.get(Bok.DisplayByTitle), NoError);
    EXPECT_EQ(b.BooksId, 3);
    b.BookTitle = "Moby";
    EXPECT_EQ(books.get(Bok.DisplayByTitle), RecordNotFound);
}

TEST_F(TableTest, ViewsJoinLookupsAndKeepToRangeAndFilter)
{
    c.BookCategoryId = 1;
    c.BookCategory = "Novels";
    ASSERT_EQ(categories.add(), NoError);
    c.BookCategoryId = 2;
    c.BookCategory = "Essays";
    ASSERT_EQ(categories.add(), NoError);
    addBook(1, "Emma", "Austen", 1);
    addBook(2, "Walden", "Thoreau", 2);
    addBook(3, "Persuasion", "Austen", 1);
    addBook(4, "50% Off", "Nobody", 9); // its category is missing
    addBook(5, "500 Days", "Nobody", 1);

    View all(books, Bok.DisplayByTitle);
    all.join(categories, "Bok:BookCategoryId");
    ASSERT_EQ(all.open(), NoError);
    std::vector<std::string> seen;
    while (all.next() == NoError)
        seen.push_back(b.BookTitle.str() + "/" + c.BookCategory.str());
    EXPECT_EQ(seen, (std::vector<std::string>{"50% Off/", "500 Days/Novels", "Emma/Novels",
                                              "Persuasion/Novels", "Walden/Essays"}));

    View novels(books, Bok.Foreign_BookCategory);
    novels.range({std::int64_t{1}});
    ASSERT_EQ(novels.open(), NoError);
    std::vector<Long> ids;
    ASSERT_EQ(novels.fetch(true, 10, [&] { ids.push_back(b.BooksId); }), NoError);
    EXPECT_EQ(ids, (std::vector<Long>{5, 1, 3}));
    novels.toStart();
    ASSERT_EQ(novels.previous(), NoError);
    EXPECT_EQ(b.BooksId, 3);

    // A filter's text is bound, never spliced: "50%" is literal.
    View search(books, Bok.DisplayByTitle);
    search.filter("instr(" + View::column(books, "BOK:BOOKTITLE") + ", ?) > 0", {"50%"});
    ASSERT_EQ(search.open(), NoError);
    ids.clear();
    search.fetch(true, 10, [&] { ids.push_back(b.BooksId); });
    EXPECT_EQ(ids, (std::vector<Long>{4}));

    View broken(books, Bok.DisplayByTitle);
    broken.filter("no_such_column = 1", {});
    EXPECT_EQ(broken.open(), FileSystemError);
}
