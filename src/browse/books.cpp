// BrowseBooks: the book collection by title or by author, with its category
// and the collection's value.
#include "browse/browselayout.h"
#include "browse/browses.h"
#include "dictionary/tables.h"

namespace hk
{

Long BrowseBooksThread = 0;

const BrowseDef &browseBooksDef()
{
    static const BrowseDef def = [] {
        using T = TableId;
        BrowseDef d;
        d.procedure = "BrowseBooks";
        d.main = T::Books;
        d.joins = {{T::BookCategory, "Bok:BookCategoryId"}};
        for (const char *f :
             {"BOK:BOOKTITLE", "BOK:BOOKAUTHOR", "BOK:BOOKVALUE", "BOK:PAGES", "BOK:PUBLICATIONS",
              "BOK:ISBNNUMBER", "BOK:BOOKYEAR", "BOK:BOOKCOVER"})
            d.fields.push_back(FieldRef::of(T::Books, f));
        d.fields.push_back(FieldRef::of(T::BookCategory, "BOKCAT:BOOKCATEGORY"));
        const std::string byTitle =
            "220L(1)|M~Title~C(0)@s45@#1#130L(1)|M~Author~C(0)@s25@#2#44R(1)|M~Value~C(0)@n9.2B@#3#"
            "35R(1)|M~Pages~C(0)@n4B@#4#130L(1)|M~Publication~C(0)@s25@#5#105L(1)|M~Isbn "
            "Number~C(0)@s20@#6#35C|M~Year~@n4B@#7#40L(1)|M~Cover~C(0)@s9@#8#";
        const std::string byAuthor =
            "130L(1)|M~Author~C(0)@s25@#2#220L(1)|M~Title~C(0)@s45@#1#44R(1)|M~Value~C(0)@n9.2B@#3#"
            "35R(1)|M~Pages~C(0)@n4B@#4#130L(1)|M~Publication~C(0)@s25@#5#105L(1)|M~Isbn "
            "Number~C(0)@s20@#6#35C|M~Year~@n4B@#7#40L(1)|M~Cover~C(0)@s9@#8#";
        d.sorts = {{.number = 2, .key = Bok.DisplayByTitle, .format = byTitle},
                   {.number = 1, .key = Bok.DisplayByAuthor, .format = byAuthor}};
        d.tables = {T::BookCategory, T::Books, T::HearthkpValue};
        d.total = FieldRef::of(T::HearthkpValue, "HKV:INVENTORYBOOKS");
        d.claim = &BrowseBooksThread;

        BrowseLook look;
        look.title = "Browse the Books File";
        look.size = QSize(380, 209);
        look.listFormat = byTitle;
        look.tabs = {{"Listing by Title", "List Title by Name", "s45", "Locate Title of Book"},
                     {"Listing by Author", "List Author by Name", "s25", "Locate Author of Book"}};
        look.totalLabel = "Total Value of Book Collection:";
        look.displays = {{"Category:",
                          {{FieldRef::of(T::BookCategory, "BokCat:BookCategoryId"), "n10"},
                           {FieldRef::of(T::BookCategory, "BOKCAT:BOOKCATEGORY"), "s30"}}}};
        layOutBrowse(d, look);
        return d;
    }();
    return def;
}

} // namespace hk
