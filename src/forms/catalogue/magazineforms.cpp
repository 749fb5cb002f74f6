// The forms of the magazine archive: magazine, year, issue, article and
// article category. New years, issues and articles start under the parent
// rows the calling list holds.
#include "dictionary/tables.h"
#include "forms/formcore.h"
#include "forms/formdef.h"

#include <array>

namespace hk
{

namespace
{

using C = FormControl;
using T = TableId;

// An issue number from 1 to 12 names its month; any other leaves it.
void monthFromIssue(FormCore &form)
{
    static constexpr std::array<const char *, 12> months = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    const std::int64_t issue = form.integer(findField("ISS:MAGAZINEISSUE"));
    if (issue >= 1 && issue <= 12)
        form.setText(findField("ISS:MAGAZINEMONTH"), months[static_cast<std::size_t>(issue - 1)]);
}

FormDef magazineCategory()
{
    return {
        .name = "UpdateMagazineCategory",
        .table = T::MagCategory,
        .caption = "Update the Category File",
        .width = 229,
        .height = 70,
        .namingField = "CAT:MAGAZINECATEGORY",
        .tables = {T::MagCategory},
        .notesKey = true,
        .fields = {{C::Display, "Category No:", "Cat:MagazineCategoryId", "n10", "", "", ""},
                   {C::Entry, "&Category:", "CAT:MAGAZINECATEGORY", "s30", "Category Of Article",
                    "Enter Or Edit Category - Maximum 30 Characters", ""}},
        .required = {{"CAT:MAGAZINECATEGORY", "Please enter Category",
                      "Category field must be completed before accepted !"}},
        .duplicate = DuplicateCheck{Cat.DisplayByMagazineCategory,
                                    "The Category: ", "Please enter another Category"},
        .insertKeys = {{Cat.Primary, "Listing by Category Number"},
                       {Cat.DisplayByMagazineCategory, "Listing by Category"}}};
}

FormDef magazineName()
{
    return {.name = "UpdateMagazineName",
            .table = T::MagName,
            .caption = "Update the Magazine File",
            .width = 269,
            .height = 70,
            .namingField = "MAG:MAGAZINENAME",
            .tables = {T::MagName},
            .notesKey = true,
            .recall = true,
            .fields = {{C::Display, "Magazine No:", "Mag:MagazineNameId", "n10", "", "", ""},
                       {C::Entry, "&Magazine:", "MAG:MAGAZINENAME", "s40", "Name of Magazine",
                        "Enter or Edit Magazine - Maximum 40 Characters", ""}},
            .required = {{"MAG:MAGAZINENAME", "Please enter Magazine",
                          "Magazine field must be completed before accepted !"}},
            .duplicate = DuplicateCheck{Mag.DisplayByName,
                                        "The Magazine: ", "Please enter another Magazine"},
            .insertKeys = {{Mag.Primary, "Listing by Magazine Number"},
                           {Mag.DisplayByName, "Listing by Magazine Name"}}};
}

FormDef magazineYear()
{
    return {.name = "UpdateMagazineYear",
            .table = T::MagYear,
            .caption = "Update the Year File",
            .width = 260,
            .height = 84,
            .namingField = "YER:MAGAZINEYEAR",
            .tables = {T::MagName, T::MagYear},
            .notesKey = true,
            .fields = {{C::Display, "Magazine No:", "Mag:MagazineNameId", "n10", "", "", ""},
                       {C::Display, "Magazine:", "MAG:MAGAZINENAME", "s40", "", "", ""},
                       {C::Entry, "&Year:", "YER:MAGAZINEYEAR", "n4B", "Year",
                        "Enter Or Edit Year - Maximum 4 Digits", ""}},
            .required = {{"YER:MAGAZINEYEAR", "Please enter Year",
                          "Year field must be completed before accepted !"}},
            .insertKeys = {{Yer.Primary, "Yer:Primary"}},
            .primes = {{"YER:MAGAZINENAMEID", "Mag:MagazineNameId"}},
            .parents = {{T::MagName, "YER:MAGAZINENAMEID"}}};
}

FormDef magazineIssue()
{
    return {.name = "UpdateMagazineIssue",
            .table = T::MagIssue,
            .caption = "Update the Issue File",
            .width = 295,
            .height = 141,
            .namingField = "ISS:MAGAZINEMONTH",
            .tables = {T::HearthkpValue, T::MagIssue, T::MagName, T::MagYear},
            .notesKey = true,
            .fields = {{C::Display, "Magazine No:", "Mag:MagazineNameId", "n10", "", "", ""},
                       {C::Display, "Magazine:", "MAG:MAGAZINENAME", "s40", "", "", ""},
                       {C::Display, "Year:", "YER:MAGAZINEYEAR", "n4B", "", "", ""},
                       {C::Entry, "&Issue:", "ISS:MAGAZINEISSUE", "n4B", "Magazine Issue",
                        "Enter Or Edit Magazine Issue - Maximum 4 Digits", ""},
                       {C::DropList, "&Month:", "ISS:MAGAZINEMONTH", "", "Select A Month",
                        "Select A Month From Listing",
                        "January|February|March|April|May|June|July|August|September|October|"
                        "November|December"},
                       {C::Entry, "&Value:", "ISS:VALUES", "n6.2B", "Value Of Magazine",
                        "Enter Or Edit Value - Maximum 3.2 Digits", ""},
                       {C::Display, "Total Value Of Magazine Collection:", "HKV:INVENTORYMAGAZINE",
                        "n12.2B", "", "", ""},
                       {C::Entry, "&Comments:", "ISS:MAGAZINECOMMENTS", "s40",
                        "Comments to Magazine Issue",
                        "Enter or Edit Comments - Maximum 40 Characters", ""}},
            .required = {{"ISS:MAGAZINEISSUE", "Please enter Issue",
                          "Issue field must be completed before accepted !"}},
            .total = RunningTotal{"ISS:VALUES", "HKV:INVENTORYMAGAZINE"},
            .insertKeys = {{Iss.Primary, "Iss:Primary"}},
            .primes = {{"ISS:MAGAZINENAMEID", "YER:MAGAZINENAMEID"},
                       {"Iss:MagazineYearId", "YER:MAGAZINEYEARID"}},
            .parents = {{T::MagName, "ISS:MAGAZINENAMEID"}},
            .rules = {{"ISS:MAGAZINEISSUE", monthFromIssue}},
            .photos = true};
}

FormDef magazineArticles()
{
    return {.name = "UpdateMagazineArticles",
            .table = T::MagArticle,
            .caption = "Update the Articles File",
            .width = 287,
            .height = 140,
            .namingField = "ART:ARTICLE",
            .tables = {T::MagArticle, T::MagCategory, T::MagIssue, T::MagName, T::MagYear},
            .fields = {{C::Display, "Magazine No:", "Mag:MagazineNameId", "n10", "", "", ""},
                       {C::Display, "Magazine:", "MAG:MAGAZINENAME", "s40", "", "", ""},
                       {C::Display, "Year:", "YER:MAGAZINEYEAR", "n4B", "", "", ""},
                       {C::Display, "Issue:", "ISS:MAGAZINEMONTH", "s9", "", "", ""},
                       {C::Entry, "&Article:", "ART:ARTICLE", "s35", "Name Of Article",
                        "Enter Or Edit Article - Maximum 35 Characters", ""},
                       {C::Entry, "&Page:", "ART:PAGES", "n3B", "Page Number",
                        "Enter Or Edit Page Number - Maximum 3 Digits", ""},
                       {C::Lookup, "&Category No:", "Art:MagazineCategoryId", "n10B",
                        "Enter A Category Number",
                        "Click Look-Up Button And Select A Category From Listing", ""},
                       {C::LookupButton, "...", "", "", "Select a Category",
                        "Click Look-Up Button and Select a Category", ""},
                       {C::Display, "", "CAT:MAGAZINECATEGORY", "s30", "", "", ""},
                       {C::Entry, "C&omments:", "Art:Comments", "s35", "Additional Comments",
                        "Enter Or Edit Comments - Maximum 35 Characters", ""}},
            .required = {{"ART:ARTICLE", "Please enter Article",
                          "Article field must be completed before accepted !"},
                         {"Art:MagazineCategoryId", "Please select from list",
                          "Category field must be completed before accepted !"}},
            .lookup = LookupDef{"Art:MagazineCategoryId", T::MagCategory, "PickMagazineCategory",
                                "Enter A Category Number", "-"},
            .insertKeys = {{Art.Primary, "Listed by Primary Key"}},
            .primes = {{"ART:MAGAZINENAMEID", "ISS:MAGAZINENAMEID"},
                       {"ART:MAGAZINEYEARID", "Iss:MagazineYearId"},
                       {"Art:MagazineIssueId", "Iss:MagazineIssueId"}},
            .parents = {{T::MagName, "ART:MAGAZINENAMEID"}}};
}

} // namespace

std::vector<FormDef> magazineForms()
{
    return {magazineCategory(), magazineName(), magazineYear(), magazineIssue(),
            magazineArticles()};
}

} // namespace hk
