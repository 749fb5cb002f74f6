// The data dictionary: every table's fields in record order, its keys and the
// relations between tables.
#include "dictionary/tables.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <strings.h>
#include <tuple>

namespace hk
{

MagNameRecord Mag;
BooksRecord Bok;
MagCategoryRecord Cat;
MagArticleRecord Art;
MagYearRecord Yer;
MagIssueRecord Iss;
BookCategoryRecord BokCat;
ItemsRoomsRecord ItmRom;
ItemsRecord Itm;
MusicRecord Mus;
VideoRecord Vid;
SoftWareRecord Sftwre;
HearthkpValueRecord Hkv;
MusicNumberRecord MusNum;
VideoNumberRecord VidNum;

namespace
{

template <class T> struct FieldTraits;
template <> struct FieldTraits<Long> {
    static constexpr FieldType type = FieldType::Long;
    static constexpr int size = 4;
};
template <> struct FieldTraits<Short> {
    static constexpr FieldType type = FieldType::Short;
    static constexpr int size = 2;
};
template <> struct FieldTraits<Byte> {
    static constexpr FieldType type = FieldType::Byte;
    static constexpr int size = 1;
};
template <std::size_t N> struct FieldTraits<String<N>> {
    static constexpr FieldType type = FieldType::String;
    static constexpr int size = static_cast<int>(N);
};
template <int B> struct FieldTraits<Decimal<B>> {
    static constexpr FieldType type = FieldType::Decimal;
    static constexpr int size = B;
};

#define HK_FIELD(Rec, member, label)                                                               \
    FieldDef                                                                                       \
    {                                                                                              \
        label, #member, FieldTraits<decltype(Rec::member)>::type,                                  \
            FieldTraits<decltype(Rec::member)>::size, offsetof(Rec, member)                        \
    }

struct KeySpec {
    const char *label;
    KeyKind kind;
    std::vector<const char *> components; // field labels
};

template <class Rec>
TableDef makeTable(const char *label, const char *prefix, std::vector<FieldDef> fields,
                   const std::vector<KeySpec> &keys)
{
    static_assert(std::is_standard_layout_v<Rec> && std::is_trivially_copyable_v<Rec>);
    TableDef t{TableId::MagName,
               label,
               prefix,
               std::move(fields),
               {},
               sizeof(Rec),
               [](void *r) { *static_cast<Rec *>(r) = Rec{}; },
               [](void *to, const void *from) { std::memcpy(to, from, sizeof(Rec)); },
               {}};
    int offset = 0;
    for (auto &f : t.fields) {
        f.offset = offset;
        offset += f.width();
    }
    for (const auto &k : keys) {
        KeyDef key{k.label, k.kind, {}};
        for (const char *c : k.components) {
            int i = t.fieldIndex(c);
            if (i < 0) throw std::logic_error(std::string("key component not in table: ") + c);
            key.components.push_back(i);
        }
        t.keys.push_back(std::move(key));
    }
    return t;
}

constexpr KeyKind P = KeyKind::Primary, U = KeyKind::Unique, D = KeyKind::Dup;

std::array<TableDef, TableCount> buildTables()
{
    return {
        makeTable<MagNameRecord>("MagName", "Mag",
                                 {HK_FIELD(MagNameRecord, MagazineNameId, "Mag:MagazineNameId"),
                                  HK_FIELD(MagNameRecord, MagazineName, "MAG:MAGAZINENAME")},
                                 {{"Mag:Primary", P, {"Mag:MagazineNameId"}},
                                  {"Mag:DisplayByName", U, {"MAG:MAGAZINENAME"}}}),
        makeTable<BooksRecord>(
            "Books", "Bok",
            {HK_FIELD(BooksRecord, BooksId, "BOK:BOOKSID"),
             HK_FIELD(BooksRecord, BookTitle, "BOK:BOOKTITLE"),
             HK_FIELD(BooksRecord, BookAuthor, "BOK:BOOKAUTHOR"),
             HK_FIELD(BooksRecord, BookCategoryId, "Bok:BookCategoryId"),
             HK_FIELD(BooksRecord, BookValue, "BOK:BOOKVALUE"),
             HK_FIELD(BooksRecord, Pages, "BOK:PAGES"),
             HK_FIELD(BooksRecord, Publications, "BOK:PUBLICATIONS"),
             HK_FIELD(BooksRecord, IsbnNumber, "BOK:ISBNNUMBER"),
             HK_FIELD(BooksRecord, BookYear, "BOK:BOOKYEAR"),
             HK_FIELD(BooksRecord, BookCover, "BOK:BOOKCOVER"),
             HK_FIELD(BooksRecord, BookSummary, "BOK:BOOKSUMMARY")},
            {{"Bok:Primary", P, {"BOK:BOOKSID"}},
             {"Bok:DisplayByTitle", D, {"BOK:BOOKTITLE", "BOK:BOOKAUTHOR"}},
             {"Bok:DisplayByAuthor", D, {"BOK:BOOKAUTHOR", "BOK:BOOKTITLE"}},
             {"Bok:Foreign:BookCategory", D, {"Bok:BookCategoryId", "BOK:BOOKTITLE"}}}),
        makeTable<MagCategoryRecord>(
            "MagCategory", "Cat",
            {HK_FIELD(MagCategoryRecord, MagazineCategoryId, "Cat:MagazineCategoryId"),
             HK_FIELD(MagCategoryRecord, MagazineCategory, "CAT:MAGAZINECATEGORY")},
            {{"Cat:Primary", P, {"Cat:MagazineCategoryId"}},
             {"Cat:DisplayByMagazineCategory", U, {"CAT:MAGAZINECATEGORY"}}}),
        makeTable<MagArticleRecord>(
            "MagArticle", "Art",
            {HK_FIELD(MagArticleRecord, MagazineArticleId, "ART:MAGAZINEARTICLEID"),
             HK_FIELD(MagArticleRecord, MagazineNameId, "ART:MAGAZINENAMEID"),
             HK_FIELD(MagArticleRecord, MagazineYearId, "ART:MAGAZINEYEARID"),
             HK_FIELD(MagArticleRecord, MagazineIssueId, "Art:MagazineIssueId"),
             HK_FIELD(MagArticleRecord, Article, "ART:ARTICLE"),
             HK_FIELD(MagArticleRecord, Pages, "ART:PAGES"),
             HK_FIELD(MagArticleRecord, MagazineCategoryId, "Art:MagazineCategoryId"),
             HK_FIELD(MagArticleRecord, Comments, "Art:Comments"),
             HK_FIELD(MagArticleRecord, ArticleSummary, "ART:ARTICLESUMMARY")},
            {{"Art:Primary", P, {"ART:MAGAZINEARTICLEID"}},
             {"Art:Foreign:MagazineName", D, {"ART:MAGAZINENAMEID"}},
             {"Art:Foreign:MagazineYear", D, {"ART:MAGAZINEYEARID", "Art:MagazineIssueId"}},
             {"Art:Foreign:MagazineIssue", D, {"Art:MagazineIssueId", "ART:ARTICLE"}},
             {"Art:Foreign:MagazineCategory", D, {"Art:MagazineCategoryId", "ART:ARTICLE"}},
             {"Art:DisplayByArticles", D, {"ART:ARTICLE"}},
             {"Art:DisplayByComments", D, {"Art:Comments"}}}),
        makeTable<MagYearRecord>(
            "MagYear", "Yer",
            {HK_FIELD(MagYearRecord, MagazineYearId, "YER:MAGAZINEYEARID"),
             HK_FIELD(MagYearRecord, MagazineNameId, "YER:MAGAZINENAMEID"),
             HK_FIELD(MagYearRecord, MagazineYear, "YER:MAGAZINEYEAR")},
            {{"Yer:Primary", P, {"YER:MAGAZINEYEARID"}},
             {"Yer:Foreign:MagazineName", D, {"YER:MAGAZINENAMEID", "YER:MAGAZINEYEAR"}},
             {"Yer:DisplayByMagazineYear", D, {"YER:MAGAZINEYEAR"}}}),
        makeTable<MagIssueRecord>(
            "MagIssue", "Iss",
            {HK_FIELD(MagIssueRecord, MagazineIssueId, "Iss:MagazineIssueId"),
             HK_FIELD(MagIssueRecord, MagazineNameId, "ISS:MAGAZINENAMEID"),
             HK_FIELD(MagIssueRecord, MagazineYearId, "Iss:MagazineYearId"),
             HK_FIELD(MagIssueRecord, MagazineIssue, "ISS:MAGAZINEISSUE"),
             HK_FIELD(MagIssueRecord, MagazineMonth, "ISS:MAGAZINEMONTH"),
             HK_FIELD(MagIssueRecord, Values, "ISS:VALUES"),
             HK_FIELD(MagIssueRecord, MagazineComments, "ISS:MAGAZINECOMMENTS")},
            {{"Iss:Primary", P, {"Iss:MagazineIssueId"}},
             {"Iss:Foreign:MagazineYear", D, {"Iss:MagazineYearId", "ISS:MAGAZINEISSUE"}},
             {"Iss:Foreign:MagazineName", D, {"ISS:MAGAZINENAMEID"}}}),
        makeTable<BookCategoryRecord>(
            "BookCategory", "BokCat",
            {HK_FIELD(BookCategoryRecord, BookCategoryId, "BokCat:BookCategoryId"),
             HK_FIELD(BookCategoryRecord, BookCategory, "BOKCAT:BOOKCATEGORY")},
            {{"BokCat:Primary", P, {"BokCat:BookCategoryId"}},
             {"BokCat:DisplayByCategory", U, {"BOKCAT:BOOKCATEGORY"}}}),
        makeTable<ItemsRoomsRecord>("ItemsRooms", "ItmRom",
                                    {HK_FIELD(ItemsRoomsRecord, RoomsId, "ItmRom:RoomsId"),
                                     HK_FIELD(ItemsRoomsRecord, Rooms, "ITMROM:ROOMS")},
                                    {{"ItmRom:Primary", P, {"ItmRom:RoomsId"}},
                                     {"ItmRom:DisplayByRooms", U, {"ITMROM:ROOMS"}}}),
        makeTable<ItemsRecord>(
            "Items", "Itm",
            {HK_FIELD(ItemsRecord, ItemsId, "ITM:ITEMSID"),
             HK_FIELD(ItemsRecord, Items, "ITM:ITEMS"),
             HK_FIELD(ItemsRecord, Description, "Itm:Description"),
             HK_FIELD(ItemsRecord, RoomsId, "Itm:RoomsId"),
             HK_FIELD(ItemsRecord, Quantity, "ITM:QUANTITY"),
             HK_FIELD(ItemsRecord, Values, "ITM:VALUES"),
             HK_FIELD(ItemsRecord, ItemYear, "ITM:ITEMYEAR"),
             HK_FIELD(ItemsRecord, SerialNumber, "Itm:SerialNumber"),
             HK_FIELD(ItemsRecord, Notes, "ITM:NOTES")},
            {{"Itm:Primary", P, {"ITM:ITEMSID"}},
             {"Itm:DisplayByItem", D, {"ITM:ITEMS"}},
             {"Itm:Foreign:Rooms", D, {"Itm:RoomsId", "ITM:ITEMS"}},
             {"Itm:DisplayBySerialNumbers", D, {"ITM:ITEMS", "Itm:SerialNumber"}},
             {"Itm:DisplayByDescription", D, {"Itm:Description"}}}),
        makeTable<MusicRecord>(
            "Music", "Mus",
            {HK_FIELD(MusicRecord, MusicId, "MUS:MUSICID"),
             HK_FIELD(MusicRecord, MusicNumberId, "Mus:MusicNumberId"),
             HK_FIELD(MusicRecord, MusicTrack, "MUS:MUSICTRACK"),
             HK_FIELD(MusicRecord, MusicTitle, "MUS:MUSICTITLE"),
             HK_FIELD(MusicRecord, MusicArtist, "MUS:MUSICARTIST"),
             HK_FIELD(MusicRecord, TitleSide, "MUS:TITLESIDE"),
             HK_FIELD(MusicRecord, MusicSummary, "MUS:MUSICSUMMARY")},
            {{"Mus:Primary", P, {"MUS:MUSICID"}},
             {"Mus:DisplayByTitle", D, {"MUS:MUSICTITLE", "MUS:MUSICARTIST"}},
             {"Mus:DisplayByArtist", D, {"MUS:MUSICARTIST", "MUS:MUSICTITLE"}},
             {"Mus:Foreign:MusicAlbum", D, {"Mus:MusicNumberId", "MUS:MUSICTRACK"}}}),
        makeTable<VideoRecord>(
            "Video", "Vid",
            {HK_FIELD(VideoRecord, VideoId, "VID:VIDEOID"),
             HK_FIELD(VideoRecord, VideoNumberId, "VID:VIDEONUMBERID"),
             HK_FIELD(VideoRecord, CounterStart, "VID:COUNTERSTART"),
             HK_FIELD(VideoRecord, VideoTitle, "VID:VIDEOTITLE"),
             HK_FIELD(VideoRecord, VideoActor, "VID:VIDEOACTOR"),
             HK_FIELD(VideoRecord, VideoSummary, "VID:VIDEOSUMMARY")},
            {{"Vid:Primary", P, {"VID:VIDEOID"}},
             {"Vid:DisplayByTitle", D, {"VID:VIDEOTITLE", "VID:VIDEOACTOR"}},
             {"Vid:DisplayByActor", D, {"VID:VIDEOACTOR", "VID:VIDEOTITLE"}},
             {"Vid:Foreign:VideoNumber", D, {"VID:VIDEONUMBERID", "VID:COUNTERSTART"}}}),
        makeTable<SoftWareRecord>("SoftWare", "Sftwre",
                                  {HK_FIELD(SoftWareRecord, SoftwareId, "SFTWRE:SOFTWAREID"),
                                   HK_FIELD(SoftWareRecord, ProgramName, "SFTWRE:PROGRAMNAME"),
                                   HK_FIELD(SoftWareRecord, Values, "SFTWRE:VALUES"),
                                   HK_FIELD(SoftWareRecord, Version, "SFTWRE:VERSION"),
                                   HK_FIELD(SoftWareRecord, SerialNumber, "SFTWRE:SERIALNUMBER"),
                                   HK_FIELD(SoftWareRecord, Media, "SFTWRE:MEDIA"),
                                   HK_FIELD(SoftWareRecord, NumberOfDisks, "SFTWRE:NUMBEROFDISKS"),
                                   HK_FIELD(SoftWareRecord, Notes, "SFTWRE:NOTES")},
                                  {{"Sftwre:Primary", P, {"SFTWRE:SOFTWAREID"}},
                                   {"Sftwre:DisplayByName", D, {"SFTWRE:PROGRAMNAME"}}}),
        makeTable<HearthkpValueRecord>(
            "HearthkpValue", "Hkv",
            {HK_FIELD(HearthkpValueRecord, InventoryItems, "HKV:INVENTORYITEMS"),
             HK_FIELD(HearthkpValueRecord, InventoryBooks, "HKV:INVENTORYBOOKS"),
             HK_FIELD(HearthkpValueRecord, InventoryMusic, "HKV:INVENTORYMUSIC"),
             HK_FIELD(HearthkpValueRecord, InventoryDisks, "HKV:INVENTORYDISKS"),
             HK_FIELD(HearthkpValueRecord, InventoryMagazine, "HKV:INVENTORYMAGAZINE"),
             HK_FIELD(HearthkpValueRecord, InventoryVideo, "HKV:INVENTORYVIDEO")},
            {{"Hkv:ItemsKey", U, {"HKV:INVENTORYITEMS"}},
             {"Hkv:BooksKey", U, {"HKV:INVENTORYBOOKS"}},
             {"Hkv:MusicKey", U, {"HKV:INVENTORYMUSIC"}},
             {"Hkv:SoftwareKey", U, {"HKV:INVENTORYDISKS"}},
             {"Hkv:MagazineKey", U, {"HKV:INVENTORYMAGAZINE"}},
             {"Hkv:VideoKey", U, {"HKV:INVENTORYVIDEO"}}}),
        makeTable<MusicNumberRecord>(
            "MusicNumber", "MusNum",
            {HK_FIELD(MusicNumberRecord, MusicNumberId, "MusNum:MusicNumberId"),
             HK_FIELD(MusicNumberRecord, AlbumNumber, "MUSNUM:ALBUMNUMBER"),
             HK_FIELD(MusicNumberRecord, AlbumTitle, "MUSNUM:ALBUMTITLE"),
             HK_FIELD(MusicNumberRecord, AlbumArtist, "MUSNUM:ALBUMARTIST"),
             HK_FIELD(MusicNumberRecord, Values, "MUSNUM:VALUES"),
             HK_FIELD(MusicNumberRecord, Media, "MUSNUM:MEDIA"),
             HK_FIELD(MusicNumberRecord, MusicYear, "MUSNUM:MUSICYEAR"),
             HK_FIELD(MusicNumberRecord, Studio, "MUSNUM:STUDIO"),
             HK_FIELD(MusicNumberRecord, LicenceNumber, "MUSNUM:LICENCENUMBER"),
             HK_FIELD(MusicNumberRecord, MusicNumberSummary, "MUSNUM:MUSICNUMBERSUMMARY")},
            {{"MusNum:Primary", P, {"MusNum:MusicNumberId"}},
             {"MusNum:DisplayByAlbumNumber", U, {"MUSNUM:ALBUMNUMBER"}},
             {"MusNum:DisplayByAlbumTitle", D, {"MUSNUM:ALBUMTITLE"}},
             {"MusNum:DisplayByAlbumArtist", D, {"MUSNUM:ALBUMARTIST"}}}),
        makeTable<VideoNumberRecord>(
            "VideoNumber", "VidNum",
            {HK_FIELD(VideoNumberRecord, VideoNumberId, "VIDNUM:VIDEONUMBERID"),
             HK_FIELD(VideoNumberRecord, VideoNumber, "VIDNUM:VIDEONUMBER"),
             HK_FIELD(VideoNumberRecord, VideoTitle, "VIDNUM:VIDEOTITLE"),
             HK_FIELD(VideoNumberRecord, VideoActor, "VIDNUM:VIDEOACTOR"),
             HK_FIELD(VideoNumberRecord, Values, "VIDNUM:VALUES"),
             HK_FIELD(VideoNumberRecord, VideoYear, "VIDNUM:VIDEOYEAR"),
             HK_FIELD(VideoNumberRecord, Studio, "VIDNUM:STUDIO"),
             HK_FIELD(VideoNumberRecord, LicenceNumber, "VIDNUM:LICENCENUMBER"),
             HK_FIELD(VideoNumberRecord, VideoNumberSummary, "VIDNUM:VIDEONUMBERSUMMARY")},
            {{"VidNum:Primary", P, {"VIDNUM:VIDEONUMBERID"}},
             {"VidNum:DisplayByVideoNumber", U, {"VIDNUM:VIDEONUMBER"}},
             {"VidNum:DisplayByVideoTitle", D, {"VIDNUM:VIDEOTITLE"}},
             {"VidNum:DisplayByVideoActor", D, {"VIDNUM:VIDEOACTOR"}}}),
    };
}

const std::array<TableDef, TableCount> &tables()
{
    static const std::array<TableDef, TableCount> all = [] {
        auto built = buildTables();
        for (int i = 0; i < TableCount; ++i)
            built[i].id = static_cast<TableId>(i);
        // The two texts the searches look into.
        for (auto [id, field] : {std::pair{TableId::Items, "Itm:Description"},
                                 std::pair{TableId::MagArticle, "Art:Comments"}}) {
            TableDef &t = built[static_cast<int>(id)];
            t.searched.push_back(t.fieldIndex(field));
        }
        // The figures of the placement windows, exact without reading every
        // child of a large location or category.
        for (auto [id, by, summed] :
             {std::tuple{TableId::Items, "Itm:RoomsId", "ITM:VALUES"},
              std::tuple{TableId::Books, "Bok:BookCategoryId", "BOK:BOOKVALUE"}}) {
            TableDef &t = built[static_cast<int>(id)];
            t.perParent = {t.fieldIndex(by), t.fieldIndex(summed)};
        }
        return built;
    }();
    return all;
}

RelationDef relation(TableId parent, const char *parentField, TableId child, const char *childField,
                     KeyId childKey)
{
    const auto &all = tables();
    return {parent, all[static_cast<int>(parent)].fieldIndex(parentField), child,
            all[static_cast<int>(child)].fieldIndex(childField), childKey};
}

} // namespace

const TableDef &tableDef(TableId id)
{
    return tables()[static_cast<int>(id)];
}

const KeyDef &keyDef(KeyId key)
{
    return tableDef(key.table).keys.at(key.index);
}

const TableDef *findTable(std::string_view label)
{
    for (const auto &t : tables())
        if (t.label.size() == label.size() &&
            strncasecmp(t.label.data(), label.data(), label.size()) == 0)
            return &t;
    return nullptr;
}

FieldRef FieldRef::of(TableId t, std::string_view label)
{
    const int f = tableDef(t).fieldIndex(label);
    if (f < 0) throw std::invalid_argument("no field " + std::string(label));
    return {t, f};
}

FieldRef findField(std::string_view label)
{
    std::size_t colon = label.find(':');
    if (colon == std::string_view::npos) return {};
    std::string_view prefix = label.substr(0, colon);
    for (const auto &t : tables()) {
        if (t.prefix.size() != prefix.size() ||
            strncasecmp(t.prefix.data(), prefix.data(), prefix.size()) != 0)
            continue;
        int i = t.fieldIndex(label);
        return i < 0 ? FieldRef{} : FieldRef{t.id, i};
    }
    return {};
}

const std::vector<RelationDef> &relations()
{
    using T = TableId;
    static const std::vector<RelationDef> all = {
        relation(T::ItemsRooms, "ItmRom:RoomsId", T::Items, "Itm:RoomsId", Itm.Foreign_Rooms),
        relation(T::BookCategory, "BokCat:BookCategoryId", T::Books, "Bok:BookCategoryId",
                 Bok.Foreign_BookCategory),
        relation(T::VideoNumber, "VIDNUM:VIDEONUMBERID", T::Video, "VID:VIDEONUMBERID",
                 Vid.Foreign_VideoNumber),
        relation(T::MusicNumber, "MusNum:MusicNumberId", T::Music, "Mus:MusicNumberId",
                 Mus.Foreign_MusicAlbum),
        relation(T::MagName, "Mag:MagazineNameId", T::MagYear, "YER:MAGAZINENAMEID",
                 Yer.Foreign_MagazineName),
        relation(T::MagName, "Mag:MagazineNameId", T::MagIssue, "ISS:MAGAZINENAMEID",
                 Iss.Foreign_MagazineName),
        relation(T::MagName, "Mag:MagazineNameId", T::MagArticle, "ART:MAGAZINENAMEID",
                 Art.Foreign_MagazineName),
        relation(T::MagYear, "YER:MAGAZINEYEARID", T::MagIssue, "Iss:MagazineYearId",
                 Iss.Foreign_MagazineYear),
        relation(T::MagYear, "YER:MAGAZINEYEARID", T::MagArticle, "ART:MAGAZINEYEARID",
                 Art.Foreign_MagazineYear),
        relation(T::MagIssue, "Iss:MagazineIssueId", T::MagArticle, "Art:MagazineIssueId",
                 Art.Foreign_MagazineIssue),
        relation(T::MagCategory, "Cat:MagazineCategoryId", T::MagArticle, "Art:MagazineCategoryId",
                 Art.Foreign_MagazineCategory),
    };
    return all;
}

} // namespace hk
