// A fixed data set for the report tests, written through the program's own
// tables into the data file of a ProgramTest, with the owner and today's
// date fixed.
#pragma once

#include "dictionary/files.h"
#include "dictionary/globals.h"
#include "programfixture.h"
#include "integrity/tableopen.h"
#include "platform/picture.h"
#include "reports/reportjob.h"

#include <string>

namespace hk::test
{

struct BookRow {
    const char *title;
    const char *author;
    Long category;
    std::int64_t valueCents;
    Short pages;
    const char *publisher;
    const char *isbn;
    Short year;
    const char *cover;
};

inline void addCategory(Long id, const char *name)
{
    BokCat = {};
    BokCat.BookCategoryId = id;
    BokCat.BookCategory = name;
    ASSERT_EQ(BookCategory.add(), NoError);
}

inline void addBook(Long id, const BookRow &r)
{
    Bok = {};
    Bok.BooksId = id;
    Bok.BookTitle = r.title;
    Bok.BookAuthor = r.author;
    Bok.BookCategoryId = r.category;
    ASSERT_TRUE(Bok.BookValue.setCents(r.valueCents));
    Bok.Pages = r.pages;
    Bok.Publications = r.publisher;
    Bok.IsbnNumber = r.isbn;
    Bok.BookYear = r.year;
    Bok.BookCover = r.cover;
    ASSERT_EQ(Books.add(), NoError);
}

// 30 books in two categories (25 "Fiction", 5 "History"), enough for a page
// break inside the first category. Book 3 has no ISBN and book 4 no
// publisher but an ISBN: the ISBN of book 4 must print.
inline void fillBooks()
{
    ASSERT_TRUE(UseTable(BookCategory));
    ASSERT_TRUE(UseTable(Books));
    addCategory(1, "Fiction");
    addCategory(2, "History");
    addCategory(3, "Poetry"); // no books: prints nothing
    for (int i = 1; i <= 30; ++i) {
        const std::string title = "Book " + std::string(i < 10 ? "0" : "") + std::to_string(i);
        const std::string author = "Author " + std::string(1, char('Z' - i % 26));
        const std::string isbn = "0-00-" + std::to_string(100000 + i);
        BookRow r{title.c_str(),  author.c_str(),  i <= 25 ? 1 : 2,
                  1000 + i * 125, Short(100 + i),  "Publisher",
                  isbn.c_str(),   Short(1950 + i), i % 2 ? "Hardcover" : "Paper"};
        if (i == 3) r.isbn = "";
        if (i == 4) r.publisher = "";
        if (i == 5) r.valueCents = 0; // value blank
        addBook(i, r);
    }
    ReleaseTable(Books);
    ReleaseTable(BookCategory);
}

inline void addItem(Long id, const char *name, const char *description, Short quantity,
                    std::int64_t cents, Short year, const char *serial, const char *notes)
{
    Itm = {};
    Itm.ItemsId = id;
    Itm.Items = name;
    Itm.Description = description;
    Itm.RoomsId = 1;
    Itm.Quantity = quantity;
    ASSERT_TRUE(Itm.Values.setCents(cents));
    Itm.ItemYear = year;
    Itm.SerialNumber = serial;
    Itm.Notes = notes;
    ASSERT_EQ(Items.add(), NoError);
}

inline void fillItems()
{
    ASSERT_TRUE(UseTable(Items));
    addItem(1, "Television", "Colour set, 70 cm", 1, 89900, 2019, "TV-1234", "Living room");
    addItem(2, "Chairs", "Oak dining chairs", 6, 12000, 0, "", "");
    addItem(3, "Lamp", "Reading lamp", 2, 0, 2021, "", "");
    addItem(4, "Camera", "Compact camera", 1, 34950, 2015, "CX-77", "Boxed, with charger");
    ReleaseTable(Items);
}

// The owner and the date every test report prints.
inline void fixOwnerAndDate()
{
    OwnerName = "Robin Example";
    OwnerAddress = "12 Hearth Lane, Smalltown";
    setReportToday([] { return *dateNumber(2026, 3, 14); });
}

} // namespace hk::test
