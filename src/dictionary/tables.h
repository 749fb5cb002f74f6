// The fifteen tables: one record struct, one shared record buffer and one
// table object each. A field `Bok:BookTitle` is `Bok.BookTitle`; a key
// `Bok:DisplayByTitle` is `Bok.DisplayByTitle` (a static member), and
// `Bok:Foreign:BookCategory` is `Bok.Foreign_BookCategory`.
#pragma once

#include "dictionary/tabledef.h"

namespace hk
{

class Table;

struct MagNameRecord {
    Long MagazineNameId = 0;
    String<40> MagazineName;
    static constexpr KeyId Primary{TableId::MagName, 0};
    static constexpr KeyId DisplayByName{TableId::MagName, 1};
};

struct BooksRecord {
    Long BooksId = 0;
    String<45> BookTitle;
    String<25> BookAuthor;
    Long BookCategoryId = 0;
    Decimal<4> BookValue;
    Short Pages = 0;
    String<25> Publications;
    String<20> IsbnNumber;
    Short BookYear = 0;
    String<9> BookCover;
    String<94> BookSummary;
    static constexpr KeyId Primary{TableId::Books, 0};
    static constexpr KeyId DisplayByTitle{TableId::Books, 1};
    static constexpr KeyId DisplayByAuthor{TableId::Books, 2};
    static constexpr KeyId Foreign_BookCategory{TableId::Books, 3};
};

struct MagCategoryRecord {
    Long MagazineCategoryId = 0;
    String<30> MagazineCategory;
    static constexpr KeyId Primary{TableId::MagCategory, 0};
    static constexpr KeyId DisplayByMagazineCategory{TableId::MagCategory, 1};
};

struct MagArticleRecord {
    Long MagazineArticleId = 0;
    Long MagazineNameId = 0;
    Long MagazineYearId = 0;
    Long MagazineIssueId = 0;
    String<35> Article;
    Byte Pages = 0;
    Long MagazineCategoryId = 0;
    String<35> Comments;
    String<94> ArticleSummary;
    static constexpr KeyId Primary{TableId::MagArticle, 0};
    static constexpr KeyId Foreign_MagazineName{TableId::MagArticle, 1};
    static constexpr KeyId Foreign_MagazineYear{TableId::MagArticle, 2};
    static constexpr KeyId Foreign_MagazineIssue{TableId::MagArticle, 3};
    static constexpr KeyId Foreign_MagazineCategory{TableId::MagArticle, 4};
    static constexpr KeyId DisplayByArticles{TableId::MagArticle, 5};
    static constexpr KeyId DisplayByComments{TableId::MagArticle, 6};
};

struct MagYearRecord {
    Long MagazineYearId = 0;
    Long MagazineNameId = 0;
    Short MagazineYear = 0;
    static constexpr KeyId Primary{TableId::MagYear, 0};
    static constexpr KeyId Foreign_MagazineName{TableId::MagYear, 1};
    static constexpr KeyId DisplayByMagazineYear{TableId::MagYear, 2};
};

struct MagIssueRecord {
    Long MagazineIssueId = 0;
    Long MagazineNameId = 0;
    Long MagazineYearId = 0;
    Short MagazineIssue = 0;
    String<9> MagazineMonth;
    Decimal<3> Values;
    String<40> MagazineComments;
    static constexpr KeyId Primary{TableId::MagIssue, 0};
    static constexpr KeyId Foreign_MagazineYear{TableId::MagIssue, 1};
    static constexpr KeyId Foreign_MagazineName{TableId::MagIssue, 2};
};

struct BookCategoryRecord {
    Long BookCategoryId = 0;
    String<30> BookCategory;
    static constexpr KeyId Primary{TableId::BookCategory, 0};
    static constexpr KeyId DisplayByCategory{TableId::BookCategory, 1};
};

struct ItemsRoomsRecord {
    Long RoomsId = 0;
    String<30> Rooms;
    static constexpr KeyId Primary{TableId::ItemsRooms, 0};
    static constexpr KeyId DisplayByRooms{TableId::ItemsRooms, 1};
};

struct ItemsRecord {
    Long ItemsId = 0;
    String<20> Items;
    String<35> Description;
    Long RoomsId = 0;
    Short Quantity = 0;
    Decimal<5> Values;
    Short ItemYear = 0;
    String<15> SerialNumber;
    String<80> Notes;
    static constexpr KeyId Primary{TableId::Items, 0};
    static constexpr KeyId DisplayByItem{TableId::Items, 1};
    static constexpr KeyId Foreign_Rooms{TableId::Items, 2};
    static constexpr KeyId DisplayBySerialNumbers{TableId::Items, 3};
    static constexpr KeyId DisplayByDescription{TableId::Items, 4};
};

struct MusicRecord {
    Long MusicId = 0;
    Long MusicNumberId = 0;
    Byte MusicTrack = 0;
    String<40> MusicTitle;
    String<25> MusicArtist;
    String<1> TitleSide;
    String<94> MusicSummary;
    static constexpr KeyId Primary{TableId::Music, 0};
    static constexpr KeyId DisplayByTitle{TableId::Music, 1};
    static constexpr KeyId DisplayByArtist{TableId::Music, 2};
    static constexpr KeyId Foreign_MusicAlbum{TableId::Music, 3};
};

struct VideoRecord {
    Long VideoId = 0;
    Long VideoNumberId = 0;
    Long CounterStart = 0;
    String<40> VideoTitle;
    String<25> VideoActor;
    String<94> VideoSummary;
    static constexpr KeyId Primary{TableId::Video, 0};
    static constexpr KeyId DisplayByTitle{TableId::Video, 1};
    static constexpr KeyId DisplayByActor{TableId::Video, 2};
    static constexpr KeyId Foreign_VideoNumber{TableId::Video, 3};
};

struct SoftWareRecord {
    Long SoftwareId = 0;
    String<30> ProgramName;
    Decimal<4> Values;
    String<8> Version;
    String<30> SerialNumber;
    String<12> Media;
    Byte NumberOfDisks = 0;
    String<80> Notes;
    static constexpr KeyId Primary{TableId::SoftWare, 0};
    static constexpr KeyId DisplayByName{TableId::SoftWare, 1};
};

struct HearthkpValueRecord {
    Decimal<5> InventoryItems;
    Decimal<5> InventoryBooks;
    Decimal<5> InventoryMusic;
    Decimal<5> InventoryDisks;
    Decimal<5> InventoryMagazine;
    Decimal<5> InventoryVideo;
    static constexpr KeyId ItemsKey{TableId::HearthkpValue, 0};
    static constexpr KeyId BooksKey{TableId::HearthkpValue, 1};
    static constexpr KeyId MusicKey{TableId::HearthkpValue, 2};
    static constexpr KeyId SoftwareKey{TableId::HearthkpValue, 3};
    static constexpr KeyId MagazineKey{TableId::HearthkpValue, 4};
    static constexpr KeyId VideoKey{TableId::HearthkpValue, 5};
};

struct MusicNumberRecord {
    Long MusicNumberId = 0;
    Long AlbumNumber = 0;
    String<40> AlbumTitle;
    String<25> AlbumArtist;
    Decimal<3> Values;
    String<8> Media;
    Short MusicYear = 0;
    String<15> Studio;
    String<15> LicenceNumber;
    String<94> MusicNumberSummary;
    static constexpr KeyId Primary{TableId::MusicNumber, 0};
    static constexpr KeyId DisplayByAlbumNumber{TableId::MusicNumber, 1};
    static constexpr KeyId DisplayByAlbumTitle{TableId::MusicNumber, 2};
    static constexpr KeyId DisplayByAlbumArtist{TableId::MusicNumber, 3};
};

struct VideoNumberRecord {
    Long VideoNumberId = 0;
    Long VideoNumber = 0;
    String<40> VideoTitle;
    String<25> VideoActor;
    Decimal<3> Values;
    Short VideoYear = 0;
    String<15> Studio;
    String<15> LicenceNumber;
    String<94> VideoNumberSummary;
    static constexpr KeyId Primary{TableId::VideoNumber, 0};
    static constexpr KeyId DisplayByVideoNumber{TableId::VideoNumber, 1};
    static constexpr KeyId DisplayByVideoTitle{TableId::VideoNumber, 2};
    static constexpr KeyId DisplayByVideoActor{TableId::VideoNumber, 3};
};

// The shared record buffers.
extern MagNameRecord Mag;
extern BooksRecord Bok;
extern MagCategoryRecord Cat;
extern MagArticleRecord Art;
extern MagYearRecord Yer;
extern MagIssueRecord Iss;
extern BookCategoryRecord BokCat;
extern ItemsRoomsRecord ItmRom;
extern ItemsRecord Itm;
extern MusicRecord Mus;
extern VideoRecord Vid;
extern SoftWareRecord Sftwre;
extern HearthkpValueRecord Hkv;
extern MusicNumberRecord MusNum;
extern VideoNumberRecord VidNum;

// The dictionary.
const TableDef &tableDef(TableId id);
const KeyDef &keyDef(KeyId key);
const std::vector<RelationDef> &relations();
// Finds a table by label ("Books"), case-insensitive; nullptr when unknown.
const TableDef *findTable(std::string_view label);

// One field of one table.
struct FieldRef {
    TableId table = TableId::MagName;
    int field = -1; // index in the table's fields; -1: none

    // The field by its label in that table; an unknown label is a
    // programming error and throws std::invalid_argument.
    static FieldRef of(TableId table, std::string_view label);
    const FieldDef &def() const { return tableDef(table).fields[field]; }
    explicit operator bool() const { return field >= 0; }
};
// A field of any table, named as the dictionary names it ("ITMROM:ROOMS");
// empty when there is none.
FieldRef findField(std::string_view label);

} // namespace hk
