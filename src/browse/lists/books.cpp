// BrowseBooks: the book collection by title or by author, with its category
// and the collection's value; and BooksSelectCategory, the same list kept to
// one category, called from SelectBookCategory.
#include "browse/browselayout.h"
#include "browse/lists/browses.h"
#include "dictionary/tables.h"
#include "platform/data/files.h"
#include "platform/data/view.h"

namespace hk
{

Long BrowseBooksThread = 0;
Long BooksSelectCategoryThread = 0;

namespace
{

BrowseDef booksDef(bool ofCategory)
{
    using T = TableId;
    BrowseDef d;
    d.procedure = ofCategory ? "BooksSelectCategory" : "BrowseBooks";
    d.main = T::Books;
    d.marksAttachments = true; // a camera beside a record with photos
    if (!ofCategory) d.joins = {{T::BookCategory, "Bok:BookCategoryId"}};
    for (const char *f : {"BOK:BOOKTITLE", "BOK:BOOKAUTHOR", "BOK:BOOKVALUE", "BOK:PAGES",
                          "BOK:PUBLICATIONS", "BOK:ISBNNUMBER", "BOK:BOOKYEAR", "BOK:BOOKCOVER"})
        d.fields.push_back(FieldRef::of(T::Books, f));
    if (!ofCategory) d.fields.push_back(FieldRef::of(T::BookCategory, "BOKCAT:BOOKCATEGORY"));
    const std::string byTitle =
        "220L(1)|M~Title~C(0)@s45@#1#130L(1)|M~Author~C(0)@s25@#2#44R(1)|M~Value~C(0)@n9.2B@#3#"
        "35R(1)|M~Pages~C(0)@n4B@#4#130L(1)|M~Publication~C(0)@s25@#5#105L(1)|M~Isbn "
        "Number~C(0)@s20@#6#35C|M~Year~@n4B@#7#40L(1)|M~Cover~C(0)@s9@#8#";
    const std::string byAuthor =
        "130L(1)|M~Author~C(0)@s25@#2#220L(1)|M~Title~C(0)@s45@#1#44R(1)|M~Value~C(0)@n9.2B@#3#"
        "35R(1)|M~Pages~C(0)@n4B@#4#130L(1)|M~Publication~C(0)@s25@#5#105L(1)|M~Isbn "
        "Number~C(0)@s20@#6#35C|M~Year~@n4B@#7#40L(1)|M~Cover~C(0)@s9@#8#";
    if (ofCategory) {
        // The author tab compares with the category in the buffer when the
        // view opens; it binds no range, so its inserts start uncategorised.
        auto ofBufferCategory = [](View &v) {
            v.filter(View::column(Books, "Bok:BookCategoryId") + " = ?",
                     {Value(std::int64_t(BokCat.BookCategoryId))});
        };
        d.sorts = {{.number = 2,
                    .key = Bok.Foreign_BookCategory,
                    .format = byTitle,
                    .range = FieldRef::of(T::BookCategory, "BokCat:BookCategoryId")},
                   {.number = 1,
                    .key = Bok.DisplayByAuthor,
                    .format = byAuthor,
                    .filter = ofBufferCategory}};
        d.claim = &BooksSelectCategoryThread;
    } else {
        d.sorts = {{.number = 2, .key = Bok.DisplayByTitle, .format = byTitle},
                   {.number = 1, .key = Bok.DisplayByAuthor, .format = byAuthor}};
        d.claim = &BrowseBooksThread;
    }
    d.tables = {T::BookCategory, T::Books, T::HearthkpValue};
    d.total = FieldRef::of(T::HearthkpValue, "HKV:INVENTORYBOOKS");

    BrowseLook look;
    look.title = ofCategory ? "Browse the Books File by Category" : "Browse the Books File";
    look.size = QSize(380, 209);
    look.listFormat = byTitle;
    look.tabs = {
        {"Listing by Title", ofCategory ? "" : "List Title by Name", "s45", "Locate Title of Book"},
        {"Listing by Author", ofCategory ? "" : "List Author by Name", "s25",
         "Locate Author of Book"}};
    look.totalLabel = "Total Value of Book Collection:";
    look.displays = {{"Category:",
                      {{FieldRef::of(T::BookCategory, "BokCat:BookCategoryId"), "n10"},
                       {FieldRef::of(T::BookCategory, "BOKCAT:BOOKCATEGORY"), "s30"}}}};
    layOutBrowse(d, look);
    return d;
}

} // namespace

const BrowseDef &browseBooksDef()
{
    static const BrowseDef def = booksDef(false);
    return def;
}

const BrowseDef &booksSelectCategoryDef()
{
    static const BrowseDef def = booksDef(true);
    return def;
}

} // namespace hk
