// A fixed data set for the report tests, written through the program's own
// tables into the data file of a ProgramTest, with the owner and today's
// date fixed.
#pragma once

#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "platform/picture.h"
#include "programfixture.h"
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

inline void addSoftware(Long id, const char *name, std::int64_t cents, const char *media,
                        Byte disks, const char *notes)
{
    Sftwre = {};
    Sftwre.SoftwareId = id;
    Sftwre.ProgramName = name;
    ASSERT_TRUE(Sftwre.Values.setCents(cents));
    Sftwre.Version = "2.1";
    Sftwre.SerialNumber = "SN-" + std::to_string(id);
    Sftwre.Media = media;
    Sftwre.NumberOfDisks = disks;
    Sftwre.Notes = notes;
    ASSERT_EQ(SoftWare.add(), NoError);
}

inline void fillSoftware()
{
    ASSERT_TRUE(UseTable(SoftWare));
    addSoftware(1, "Word Writer", 4995, "3 ½ + Cd Rom", 3, "Boxed");
    addSoftware(2, "Atlas", 1250, "5 ¼", 1, "");
    ReleaseTable(SoftWare);
}

// Three cassettes: 20 with three titles (studio and licence), 10 with one
// (studio only), 30 without titles or details.
inline void fillVideo()
{
    ASSERT_TRUE(UseTable(VideoNumber));
    ASSERT_TRUE(UseTable(Video));
    auto cassette = [](Long id, Long number, const char *title, std::int64_t cents,
                       const char *studio, const char *licence) {
        VidNum = {};
        VidNum.VideoNumberId = id;
        VidNum.VideoNumber = number;
        VidNum.VideoTitle = title;
        VidNum.VideoActor = "Lead of " + std::string(title);
        ASSERT_TRUE(VidNum.Values.setCents(cents));
        VidNum.VideoYear = Short(1990 + id);
        VidNum.Studio = studio;
        VidNum.LicenceNumber = licence;
        ASSERT_EQ(VideoNumber.add(), NoError);
    };
    auto title = [](Long id, Long cassette, int minutes, const char *name, const char *actor) {
        Vid = {};
        Vid.VideoId = id;
        Vid.VideoNumberId = cassette;
        Vid.CounterStart = Long(*timeValue(minutes / 60, minutes % 60, 0));
        Vid.VideoTitle = name;
        Vid.VideoActor = actor;
        ASSERT_EQ(Video.add(), NoError);
    };
    cassette(1, 20, "Westerns", 1000, "Valley Films", "L-77");
    cassette(2, 10, "Comedies", 550, "Pier Studio", "");
    cassette(3, 30, "Empty", 225, "", "");
    title(1, 1, 0, "Stagecoach", "Duke");
    title(2, 1, 95, "Rio Bravo", "Angie");
    title(3, 1, 190, "High Noon", "Cooper");
    title(4, 2, 0, "Big Laughs", "Bea");
    ReleaseTable(Video);
    ReleaseTable(VideoNumber);
}

// Three albums: 5 with two tracks (studio, licence and media), 6 with one
// (studio and licence, no media: its summary), 7 without tracks.
inline void fillMusic()
{
    ASSERT_TRUE(UseTable(MusicNumber));
    ASSERT_TRUE(UseTable(Music));
    auto album = [](Long id, Long number, const char *title, std::int64_t cents, const char *media,
                    const char *summary) {
        MusNum = {};
        MusNum.MusicNumberId = id;
        MusNum.AlbumNumber = number;
        MusNum.AlbumTitle = title;
        MusNum.AlbumArtist = "Band of " + std::string(title);
        ASSERT_TRUE(MusNum.Values.setCents(cents));
        MusNum.MusicYear = Short(1970 + id);
        MusNum.Studio = id < 3 ? "Abbey Hall" : "";
        MusNum.LicenceNumber = id < 3 ? "M-1" : "";
        MusNum.Media = media;
        MusNum.MusicNumberSummary = summary;
        ASSERT_EQ(MusicNumber.add(), NoError);
    };
    auto track = [](Long id, Long album, Byte number, const char *title, const char *side) {
        Mus = {};
        Mus.MusicId = id;
        Mus.MusicNumberId = album;
        Mus.MusicTrack = number;
        Mus.MusicTitle = title;
        Mus.MusicArtist = "Singer " + std::to_string(id);
        Mus.TitleSide = side;
        ASSERT_EQ(Music.add(), NoError);
    };
    album(1, 5, "Blue Songs", 1299, "Cd", "");
    album(2, 6, "Live", 800, "", "Recorded live, 1972");
    album(3, 7, "Silence", 100, "", "");
    track(1, 1, 2, "Second Song", "A");
    track(2, 1, 1, "First Song", "A");
    track(3, 2, 1, "Encore", "B");
    ReleaseTable(Music);
    ReleaseTable(MusicNumber);
}

// The owner and the date every test report prints.
inline void fixOwnerAndDate()
{
    OwnerName = "Robin Example";
    OwnerAddress = "12 Hearth Lane, Smalltown";
    setReportToday([] { return *dateNumber(2026, 3, 14); });
}

} // namespace hk::test
