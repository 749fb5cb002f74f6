// Generated records for the benchmarks and for looking at the lists by hand:
// books with titles and authors spread over the alphabet, their categories,
// locations and items, and the totals record.
#pragma once

#include "dictionary/tables.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"

#include <cstdio>
#include <random>
#include <string>

namespace hk::sample
{

inline const char *const kWords[] = {
    "Garden",  "River",  "Stone",   "House",   "Winter", "Letters",  "Night",   "Island", "Silver",
    "Road",    "Bridge", "Harvest", "Light",   "Shadow", "Empire",   "Voyage",  "Song",   "Glass",
    "Orchard", "Tide",   "Quiet",   "Kingdom", "Ashes",  "Mountain", "Unknown", "Zephyr"};
inline const char *const kNames[] = {
    "Adams", "Baker",  "Clarke", "Dunn",   "Evans",  "Fischer", "Garcia", "Hughes", "Ito",
    "Jones", "Kowal",  "Lopez",  "Moreau", "Novak",  "Olsen",   "Patel",  "Quinn",  "Rossi",
    "Silva", "Tanaka", "Umar",   "Vance",  "Walker", "Xu",      "Young",  "Zeller"};
inline const char *const kCategories[] = {"Fiction",   "History",   "Science",   "Cooking",
                                          "Travel",    "Poetry",    "Art",       "Children",
                                          "Biography", "Gardening", "Reference", "Music"};
inline const char *const kRooms[] = {"Kitchen",  "Living Room", "Bedroom", "Study",
                                     "Attic",    "Cellar",      "Garage",  "Hall",
                                     "Bathroom", "Garden Shed"};

// Adds `books` books (with categories, locations, items and the totals) to
// the tables, which must be open, in one transaction.
inline void fill(long books, long items = 200)
{
    std::mt19937 rng(42);
    Transaction txn(Books.file());
    txn.begin();
    Long id = 0;
    for (const char *c : kCategories) {
        BokCat = BookCategoryRecord{};
        BokCat.BookCategoryId = ++id;
        BokCat.BookCategory = c;
        BookCategory.add();
    }
    id = 0;
    for (const char *r : kRooms) {
        ItmRom = ItemsRoomsRecord{};
        ItmRom.RoomsId = ++id;
        ItmRom.Rooms = r;
        ItemsRooms.add();
    }
    std::int64_t booksValue = 0;
    for (long i = 1; i <= books; ++i) {
        Bok = BooksRecord{};
        Bok.BooksId = static_cast<Long>(i);
        Bok.BookTitle = std::string(kWords[rng() % 26]) + " " + kWords[rng() % 26] + " " +
                        kWords[rng() % 26] + " " + std::to_string(i);
        Bok.BookAuthor =
            std::string(kNames[rng() % 26]) + ", " + static_cast<char>('A' + rng() % 26) + ".";
        Bok.BookCategoryId = static_cast<Long>(1 + rng() % 12);
        Bok.BookValue.setCents(static_cast<std::int64_t>(100 + rng() % 9900));
        Bok.Pages = static_cast<Short>(50 + rng() % 900);
        Bok.Publications = kNames[rng() % 26] + std::string(" Press");
        char isbn[24];
        std::snprintf(isbn, sizeof isbn, "0-%03u-%05u-%u", static_cast<unsigned>(rng() % 1000),
                      static_cast<unsigned>(rng() % 100000), static_cast<unsigned>(rng() % 10));
        Bok.IsbnNumber = isbn;
        Bok.BookYear = static_cast<Short>(1900 + rng() % 125);
        Bok.BookCover = rng() % 2 ? "Hardcover" : "Softcover"; // choices the form offers
        booksValue += Bok.BookValue.cents();
        Books.add();
    }
    std::int64_t itemsValue = 0;
    for (long i = 1; i <= items; ++i) {
        Itm = ItemsRecord{};
        Itm.ItemsId = static_cast<Long>(i);
        Itm.Items = std::string(kWords[rng() % 26]) + " " + std::to_string(i);
        Itm.Description = std::string("A ") + kWords[rng() % 26] + " thing";
        Itm.RoomsId = static_cast<Long>(1 + rng() % 10);
        Itm.Quantity = static_cast<Short>(1 + rng() % 4);
        Itm.Values.setCents(static_cast<std::int64_t>(500 + rng() % 50000));
        Itm.ItemYear = static_cast<Short>(1980 + rng() % 45);
        if (rng() % 3 == 0) Itm.SerialNumber = "SN-" + std::to_string(10000 + i);
        itemsValue += Itm.Values.cents();
        Items.add();
    }
    Hkv = HearthkpValueRecord{};
    Hkv.InventoryBooks.setCents(booksValue % Decimal<5>::maxCents);
    Hkv.InventoryItems.setCents(itemsValue % Decimal<5>::maxCents);
    HearthkpValue.add();
    txn.commit();
}

} // namespace hk::sample
