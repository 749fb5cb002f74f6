// The book reports: one layout in two column orders (author first or title
// first), read straight from Books, category by category, or for the
// category chosen in RPTSELECTBOOKCAT.
#include "platform/data/files.h"
#include "reports/catalogue/selectwindows.h"
#include "reports/standardbands.h"

#include <stdexcept>

namespace hk
{

namespace
{

enum Optional { Publisher = 1, Isbn = 2, Cover = 3 };
enum Totals { AllCount, AllValue, GroupCount, GroupValue };

struct Columns {
    bool authorFirst;
    double second; // the second column: title or author, ISBN beneath
    double cover;
};

ReportLayout bookLayout(const ReportTexts &texts, bool authorFirst, bool byCategory, bool selected)
{
    const ReportFont d = Fonts::detail, h = Fonts::heading;
    const Columns c = authorFirst ? Columns{true, 57, 110} : Columns{false, 97, 69};
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts, byCategory ? 166 : 0);
    l.pageHeader = pageHeaderBand(
        texts, {textAt(2, 0, authorFirst ? "Author/Publication" : "Title/Publication", h),
                textAt(c.second, 0, authorFirst ? "Title/Isbn No." : "Author/Isbn No.", h),
                textAt(c.cover, 0, "Cover", h), textAt(161, 0, "Value", h, Align::Right),
                textAt(171, 0, "Pages", h, Align::Right), textAt(182, 0, "Year", h, Align::Right)});
    // The chosen category stays in its buffer for the whole run.
    if (selected)
        l.pageHeader.controls.push_back(fieldAt(43, 0, "s30", textOf(BokCat.BookCategory), h));
    l.detail.height = 10;
    l.detail.controls = {
        authorFirst ? fieldAt(2, 0, "s25", textOf(Bok.BookAuthor), d)
                    : fieldAt(2, 0, "s45", textOf(Bok.BookTitle), d),
        authorFirst ? fieldAt(c.second, 0, "s45", textOf(Bok.BookTitle), d)
                    : fieldAt(c.second, 0, "s25", textOf(Bok.BookAuthor), d),
        fieldAt(150, 0, "n9.2B", amountOf(Bok.BookValue), d, Align::Right),
        fieldAt(171, 0, "n4B", numberOf(Bok.Pages), d, Align::Right),
        fieldAt(182, 0, "n4B", numberOf(Bok.BookYear), d, Align::Right),
        fieldAt(2, 5, "s25", textOf(Bok.Publications), d, Align::Left, Publisher),
        fieldAt(c.second, 5, "s20", textOf(Bok.IsbnNumber), d, Align::Left, Isbn),
        fieldAt(c.cover, 5, "s9", textOf(Bok.BookCover), d, Align::Left, Cover),
    };
    l.totals = {{TotalKind::Count}, {TotalKind::Sum, [] { return Bok.BookValue.cents(); }}};
    l.pageFooter = totalsBand({textAt(57, 0, "Entries:", d), totalAt(73, 0, "n10", AllCount, d),
                               textAt(105, 0, "Total Value of Book Collection:", d),
                               totalAt(150, 0, "N12.2B", AllValue, d)},
                              12);
    if (byCategory) {
        l.totals.push_back({TotalKind::Count, {}, 0});
        l.totals.push_back({TotalKind::Sum, [] { return Bok.BookValue.cents(); }, 0});
        GroupDef g;
        g.breakValue = [] { return BokCat.BookCategory.str(); };
        g.header.height = 7;
        g.header.controls = {fieldAt(2, 1, "s30", textOf(BokCat.BookCategory), Fonts::groupField)};
        g.footer = totalsBand({textAt(57, 0, "Entries:", d), totalAt(73, 0, "n10", GroupCount, d),
                               textAt(97, 0, "Value of Book Collection in Category:", d),
                               totalAt(150, 0, "n12.2B", GroupValue, d)},
                              14);
        l.groups.push_back(std::move(g));
    }
    return l;
}

// Each optional field decides its own control (see ReportJob::applyVisibility).
std::vector<OptionalControl> bookOptionals()
{
    return {{Publisher, [] { return Bok.Publications.empty(); }},
            {Isbn, [] { return Bok.IsbnNumber.empty(); }},
            {Cover, [] { return Bok.BookCover.empty(); }}};
}

} // namespace

ReportDefinition bookReport(const QString &name)
{
    ReportDefinition r;
    r.name = name;
    r.warningName = "Books";
    r.optional = bookOptionals();
    bool authorFirst = false, byCategory = false, selected = false;
    if (name == QLatin1String("RPTBOOKAUTHOR")) {
        authorFirst = true;
        r.caption = r.texts.job = "Books by author";
        r.texts.subtitle = "Complete book collection by author";
        r.texts.heading = "Books listed by author";
        r.source = [] { return std::make_unique<ViewSource>(Books, Bok.DisplayByAuthor); };
    } else if (name == QLatin1String("RPTBOOKTITLE")) {
        r.caption = r.texts.job = "Books by title";
        r.texts.subtitle = "Complete book collection by title";
        r.texts.heading = "Books listed by title";
        r.source = [] { return std::make_unique<ViewSource>(Books, Bok.DisplayByTitle); };
    } else if (name == QLatin1String("RPTBOOKALLCAT")) {
        byCategory = true;
        r.caption = r.texts.job = "Books by category";
        r.texts.subtitle = "Complete book collection by category.";
        r.texts.heading = "Books listed by title";
        r.source = [] {
            return std::make_unique<NestedSource>(
                BookCategory, BokCat.DisplayByCategory, Books, Bok.Foreign_BookCategory,
                [] { return std::int64_t(BokCat.BookCategoryId); });
        };
    } else if (name == QLatin1String("RPTBOOKSELCATEGORY")) {
        selected = true;
        r.caption = r.texts.job = "Books by selected category";
        r.texts.subtitle = "Book collection from selected category";
        r.texts.heading = "Books listed by title from:";
        r.fixedEstimate = 500;
        r.select = rptSelectBookCat;
        // The books of the category left in the buffer by the selection.
        r.source = [] {
            auto s = std::make_unique<ViewSource>(Books, Bok.Foreign_BookCategory);
            s->view().range({Value(std::int64_t(BokCat.BookCategoryId))});
            return s;
        };
    } else {
        throw std::invalid_argument("not a book report: " + name.toStdString());
    }
    r.opens = byCategory || selected ? std::vector<Table *>{&BookCategory, &Books}
                                     : std::vector<Table *>{&Books};
    r.primary = byCategory ? &BookCategory : &Books;
    r.scanned = {r.primary};
    r.layout = [authorFirst, byCategory, selected](const ReportTexts &t) {
        return bookLayout(t, authorFirst, byCategory, selected);
    };
    return r;
}

} // namespace hk
