// The update forms as data for the form engine.
#include "dictionary/tables.h"
#include "forms/formdef.h"

#include <array>
#include <strings.h>

namespace hk
{

namespace
{

using C = FormControl;
using T = TableId;

FormDef location()
{
    return {.name = "UpdateLocation",
            .table = T::ItemsRooms,
            .caption = "Update the Location File",
            .width = 229,
            .height = 70,
            .namingField = "ITMROM:ROOMS",
            .tables = {T::ItemsRooms, T::Items},
            .notesKey = true,
            .fields = {{C::Display, "Location No:", "ItmRom:RoomsId", "n10", "", "", ""},
                       {C::Entry, "&Location:", "ITMROM:ROOMS", "s30", "Location of Item",
                        "Enter or Edit Location - Maximum 30 Characters", ""}},
            .required = {{"ITMROM:ROOMS", "Please enter Location",
                          "Location field must be completed before accepted !"}},
            .duplicate = DuplicateCheck{ItmRom.DisplayByRooms,
                                        "The Location: ", "Please enter another Location"},
            .insertKeys = {{ItmRom.Primary, "Listing by Location Number"},
                           {ItmRom.DisplayByRooms, "Listing by Location"}}};
}

FormDef bookCategory()
{
    return {.name = "UpdateBookCategory",
            .table = T::BookCategory,
            .caption = "Update the Category File",
            .width = 229,
            .height = 70,
            .namingField = "BOKCAT:BOOKCATEGORY",
            .tables = {T::BookCategory},
            .notesKey = true,
            .fields = {{C::Display, "Category No:", "BokCat:BookCategoryId", "n10", "", "", ""},
                       {C::Entry, "&Category:", "BOKCAT:BOOKCATEGORY", "s30", "Category of Book",
                        "Enter or Edit Category - Maximum 30 Characters", ""}},
            .required = {{"BOKCAT:BOOKCATEGORY", "Please enter Category",
                          "Category field must be completed before accepted !"}},
            .duplicate = DuplicateCheck{BokCat.DisplayByCategory,
                                        "The Category: ", "Please enter another Category"},
            .insertKeys = {{BokCat.Primary, "Listing by Category Number"},
                           {BokCat.DisplayByCategory, "Listing by Category"}}};
}

FormDef items()
{
    return {
        .name = "UpdateItems",
        .table = T::Items,
        .caption = "Update the Items File",
        .width = 358,
        .height = 154,
        .namingField = "ITM:ITEMS",
        .tables = {T::HearthkpValue, T::Items, T::ItemsRooms},
        .fields = {{C::Entry, "&Item:", "ITM:ITEMS", "s20", "Name of Item",
                    "Enter or Edit Item - Maximum 20 Characters", ""},
                   {C::Entry, "&Description:", "Itm:Description", "s35", "Description of Item",
                    "Enter or Edit Description - Maximum 35 Characters", ""},
                   {C::Lookup, "&Location No:", "Itm:RoomsId", "n10B", "Enter a Location Number",
                    "Click Look-Up Button and Select a Location from Listing", ""},
                   {C::LookupButton, "...", "", "", "Select a Location",
                    "Click Look-Up Button and Select a Location from Listing", ""},
                   {C::Display, "", "ITMROM:ROOMS", "s30", "", "", ""},
                   {C::Entry, "&Quantity:", "ITM:QUANTITY", "n4B", "Number of Items",
                    "Enter or Edit Quantity - Maximum 4 Digits", ""},
                   {C::Entry, "&Value:", "ITM:VALUES", "n10.2B", "Value of Item",
                    "Enter or Edit Value - Maximum 6.2 Digits", ""},
                   {C::Display, "Total Value Of Inventory:", "HKV:INVENTORYITEMS", "n12.2B", "", "",
                    ""},
                   {C::Entry, "&Year:", "ITM:ITEMYEAR", "n4B", "Year Item was purchased",
                    "Enter or Edit Year - Maximum 4 Digits", ""},
                   {C::Entry, "&Serial Number:", "Itm:SerialNumber", "s15", "Serial Number of Item",
                    "Enter or Edit Serial Number - Maximum 15 Characters", ""},
                   {C::Entry, "&Note:", "ITM:NOTES", "s80", "Additional Note",
                    "Enter or Edit Note - Maximum 80 Characters", ""}},
        .required = {{"ITM:ITEMS", "Please enter Item",
                      "Items field must be completed before accepted !"},
                     {"Itm:RoomsId", "Please select from list",
                      "Location field must be completed before accepted !"}},
        .lookup = LookupDef{"Itm:RoomsId", T::ItemsRooms, "PickLocation", "Unique Rooms Identifier",
                            "Itm:Description"},
        .total = RunningTotal{"ITM:VALUES", "HKV:INVENTORYITEMS"},
        .insertKeys = {{Itm.Primary, "Itm:Primary"}},
        .photos = true};
}

FormDef books()
{
    return {.name = "UpdateBooks",
            .table = T::Books,
            .caption = "Update the Books File",
            .width = 297,
            .height = 168,
            .namingField = "BOK:BOOKTITLE",
            .tables = {T::BookCategory, T::Books, T::HearthkpValue},
            .fields = {{C::Entry, "&Title:", "BOK:BOOKTITLE", "s45", "Title of Book",
                        "Enter or Edit Title - Maximum 45 Characters", ""},
                       {C::Entry, "&Author:", "BOK:BOOKAUTHOR", "s25", "Author of Book",
                        "Enter or Edit Author - Maximum 25 Characters", ""},
                       {C::Lookup, "&Category No:", "Bok:BookCategoryId", "n10B",
                        "Enter a Category Number",
                        "Click Look-Up Button and Select a Category from Listing", ""},
                       {C::LookupButton, "...", "", "", "Select a Category",
                        "Click Look-Up Button and Select a Category", ""},
                       {C::Display, "", "BOKCAT:BOOKCATEGORY", "s30", "", "", ""},
                       {C::Entry, "&Value:", "BOK:BOOKVALUE", "n9.2B", "Value of Book",
                        "Enter or Edit Value - Maximum 5.2 Digits", ""},
                       {C::Display, "Total Value Of Book Collection:", "HKV:INVENTORYBOOKS",
                        "n12.2B", "", "", ""},
                       {C::Entry, "&Pages:", "BOK:PAGES", "n4B", "Number of Pages",
                        "Enter or Edit Pages - Maximum 4 Digits", ""},
                       {C::Entry, "P&ublication:", "BOK:PUBLICATIONS", "s25", "Name of Publisher",
                        "Enter or Edit Publisher - Maximum 25 Characters", ""},
                       {C::Entry, "&Isbn Number:", "BOK:ISBNNUMBER", "s20", "Isbn Number of Book",
                        "Enter or Edit Isbn Number - Maximum 20 Characters", ""},
                       {C::Entry, "&Year:", "BOK:BOOKYEAR", "n4B", "Publishing Year",
                        "Enter or Edit Year - Maximum 4 Digits", ""},
                       {C::DropList, "C&over", "BOK:BOOKCOVER", "", "Cover of Book",
                        "Select a Cover", "Hardcover|Softcover|Ringbind"}},
            .required = {{"BOK:BOOKTITLE", "Please enter Title",
                          "Title field must be completed before accepted !"},
                         {"BOK:BOOKAUTHOR", "Please enter Author",
                          "Author field must be completed before accepted !"},
                         {"Bok:BookCategoryId", "Please select from list",
                          "Category field must be completed before accepted !"}},
            .lookup = LookupDef{"Bok:BookCategoryId", T::BookCategory, "PickBookCategory",
                                "Unique Book Category Identifier", "BOK:BOOKAUTHOR"},
            .total = RunningTotal{"BOK:BOOKVALUE", "HKV:INVENTORYBOOKS"},
            .insertKeys = {{Bok.Primary, "Primary Book Key"}},
            .photos = true};
}

} // namespace

const std::vector<FormDef> &allForms()
{
    static const std::vector<FormDef> all = [] {
        std::vector<FormDef> forms = {location(), bookCategory(), items(), books()};
        for (FormDef &f : collectionForms())
            forms.push_back(std::move(f));
        for (FormDef &f : magazineForms())
            forms.push_back(std::move(f));
        return forms;
    }();
    return all;
}

const FormDef *findForm(std::string_view name)
{
    for (const auto &f : allForms())
        if (f.name.size() == name.size() &&
            strncasecmp(f.name.data(), name.data(), name.size()) == 0)
            return &f;
    return nullptr;
}

const FormDef *formFor(TableId table)
{
    for (const auto &f : allForms())
        if (f.table == table) return &f;
    return nullptr;
}

} // namespace hk
