#include "dictionary/globals.h"
#include "dictionary/tables.h"

#include <gtest/gtest.h>

using namespace hk;

namespace
{

struct TableFacts {
    const char *label;
    const char *storedName;
    int fields;
    int length;
    int keys;
};

// The table of tables as the data file's users know it.
const TableFacts kTables[] = {
    {"MagName", "Hearthkp\\!MagName", 2, 44, 2},
    {"Books", "Hearthkp\\!Books", 11, 234, 4},
    {"MagCategory", "Hearthkp\\!MagCategory", 2, 34, 2},
    {"MagArticle", "Hearthkp\\!MagArticle", 9, 185, 7},
    {"MagYear", "Hearthkp\\!MagYear", 3, 10, 3},
    {"MagIssue", "Hearthkp\\!MagIssue", 7, 66, 3},
    {"BookCategory", "Hearthkp\\!BookCategory", 2, 34, 2},
    {"ItemsRooms", "Hearthkp\\!ItemsRooms", 2, 34, 2},
    {"Items", "Hearthkp\\!Items", 9, 167, 5},
    {"Music", "Hearthkp\\!Music", 7, 169, 4},
    {"Video", "Hearthkp\\!Video", 6, 171, 4},
    {"SoftWare", "Hearthkp\\!SoftWare", 8, 169, 2},
    {"HearthkpValue", "Hearthkp\\!HearthkpValue", 6, 30, 6},
    {"MusicNumber", "Hearthkp\\!MusicNumber", 10, 210, 4},
    {"VideoNumber", "Hearthkp\\!VideoNumber", 9, 202, 4},
};

} // namespace

TEST(Dictionary, EveryTableHasItsFieldsLengthAndKeys)
{
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &t = tableDef(TableId(i));
        const TableFacts &want = kTables[i];
        SCOPED_TRACE(want.label);
        EXPECT_EQ(t.label, want.label);
        EXPECT_EQ(t.storedName(), want.storedName);
        EXPECT_EQ(static_cast<int>(t.fields.size()), want.fields);
        EXPECT_EQ(t.recordLength(), want.length);
        EXPECT_EQ(static_cast<int>(t.keys.size()), want.keys);
        EXPECT_EQ(findTable(want.label), &t);
        // Every table with an identifier has it first, indexed by its Primary key.
        if (t.label != "HearthkpValue") {
            ASSERT_TRUE(t.hasIdentifier());
            EXPECT_EQ(t.keys[0].label, t.prefix + ":Primary");
            EXPECT_EQ(t.keys[0].components, std::vector<int>{0});
            EXPECT_EQ(t.fields[0].type, FieldType::Long);
        }
    }
}

TEST(Dictionary, FieldOffsetsFollowThePackedLayout)
{
    struct Offset {
        TableId table;
        const char *field;
        int offset;
        int width;
    };
    const Offset offsets[] = {
        {TableId::Books, "BOK:BOOKTITLE", 4, 45},
        {TableId::Books, "BOK:BOOKAUTHOR", 49, 25},
        {TableId::Books, "Bok:BookCategoryId", 74, 4},
        {TableId::Books, "BOK:BOOKVALUE", 78, 4},
        {TableId::Books, "BOK:PAGES", 82, 2},
        {TableId::Books, "BOK:PUBLICATIONS", 84, 25},
        {TableId::Books, "BOK:ISBNNUMBER", 109, 20},
        {TableId::Books, "BOK:BOOKYEAR", 129, 2},
        {TableId::Books, "BOK:BOOKCOVER", 131, 9},
        {TableId::Books, "BOK:BOOKSUMMARY", 140, 94},
        {TableId::Items, "Itm:RoomsId", 59, 4},
        {TableId::Items, "ITM:VALUES", 65, 5},
        {TableId::Items, "ITM:NOTES", 87, 80},
        {TableId::MagArticle, "ART:PAGES", 51, 1},
        {TableId::MagArticle, "Art:Comments", 56, 35},
        {TableId::MagIssue, "ISS:VALUES", 23, 3},
        {TableId::Music, "MUS:TITLESIDE", 74, 1},
        {TableId::SoftWare, "SFTWRE:NOTES", 89, 80},
        {TableId::HearthkpValue, "HKV:INVENTORYVIDEO", 25, 5},
        {TableId::MusicNumber, "MUSNUM:MUSICNUMBERSUMMARY", 116, 94},
        {TableId::VideoNumber, "VIDNUM:VIDEONUMBERSUMMARY", 108, 94},
    };
    for (const auto &o : offsets) {
        const TableDef &t = tableDef(o.table);
        int i = t.fieldIndex(o.field);
        ASSERT_GE(i, 0) << o.field;
        EXPECT_EQ(t.fields[i].offset, o.offset) << o.field;
        EXPECT_EQ(t.fields[i].width(), o.width) << o.field;
    }
    EXPECT_EQ(tableDef(TableId::Books).fieldIndex("bok:booktitle"), 1); // names ignore case
}

TEST(Dictionary, KeyNamesInCodeMatchTheirLabels)
{
    EXPECT_EQ(keyDef(Bok.DisplayByAuthor).label, "Bok:DisplayByAuthor");
    EXPECT_EQ(keyDef(Bok.Foreign_BookCategory).label, "Bok:Foreign:BookCategory");
    EXPECT_EQ(keyDef(Art.DisplayByComments).label, "Art:DisplayByComments");
    EXPECT_EQ(keyDef(Art.Foreign_MagazineCategory).label, "Art:Foreign:MagazineCategory");
    EXPECT_EQ(keyDef(Iss.Foreign_MagazineName).label, "Iss:Foreign:MagazineName");
    EXPECT_EQ(keyDef(Itm.DisplayBySerialNumbers).label, "Itm:DisplayBySerialNumbers");
    EXPECT_EQ(keyDef(Hkv.VideoKey).label, "Hkv:VideoKey");
    EXPECT_EQ(keyDef(MusNum.DisplayByAlbumNumber).label, "MusNum:DisplayByAlbumNumber");
    EXPECT_EQ(keyDef(VidNum.DisplayByVideoActor).label, "VidNum:DisplayByVideoActor");
    EXPECT_EQ(keyDef(Yer.DisplayByMagazineYear).label, "Yer:DisplayByMagazineYear");

    const KeyDef &byTitle = keyDef(Bok.DisplayByTitle);
    EXPECT_EQ(byTitle.kind, KeyKind::Dup);
    EXPECT_EQ(byTitle.components, (std::vector<int>{1, 2}));
    EXPECT_TRUE(keyDef(BokCat.DisplayByCategory).unique());
    EXPECT_TRUE(keyDef(VidNum.DisplayByVideoNumber).unique());
    EXPECT_FALSE(keyDef(Sftwre.DisplayByName).unique());
}

TEST(Dictionary, EveryRelationIsReadThroughAKeyThatBeginsWithItsReference)
{
    ASSERT_EQ(relations().size(), 11u);
    for (const auto &r : relations()) {
        const TableDef &child = tableDef(r.child);
        SCOPED_TRACE(child.label);
        EXPECT_EQ(r.parentField, 0);
        ASSERT_GE(r.childField, 0);
        EXPECT_EQ(r.childKey.table, r.child);
        EXPECT_EQ(keyDef(r.childKey).components.front(), r.childField);
        EXPECT_EQ(child.fields[r.childField].type, FieldType::Long);
    }
}

TEST(SharedGlobals, AreClearedWhenTheLibraryLoads)
{
    // Nothing in this test program has touched them before this point.
    EXPECT_TRUE(Glo.SearchString.empty());
    EXPECT_TRUE(OwnerName.empty());
    EXPECT_EQ(GlobalRequest, 0);
    OwnerName = "Someone";
    GlobalRequest = InsertRecord;
    VCRRequest = 3;
    clearSharedGlobals();
    EXPECT_TRUE(OwnerName.empty());
    EXPECT_EQ(GlobalRequest, 0);
    EXPECT_EQ(VCRRequest, 0);
}

TEST(RecordFields, ReadAndWriteThroughTheDictionary)
{
    const TableDef &books = tableDef(TableId::Books);
    BooksRecord b;
    field::setText(books.fields[1], &b, std::string(50, 'x'));
    EXPECT_EQ(b.BookTitle.str(), std::string(45, 'x'));
    b.BookValue = *Decimal<4>::parse("12.34");
    EXPECT_EQ(field::integer(books.fields[4], &b), 1234);
    field::setInteger(books.fields[5], &b, 321);
    EXPECT_EQ(b.Pages, 321);
    BooksRecord copy;
    books.copy(&copy, &b);
    for (const auto &f : books.fields)
        EXPECT_TRUE(field::equal(f, &copy, &b)) << f.label;
    books.clear(&copy);
    EXPECT_TRUE(copy.BookTitle.empty());
}

// Both ends of every numeric field's range pass through its record member
// unchanged, and a decimal's ends are its digits all nines: a range wider
// than what the record holds would let a value through that comes back as
// another.
TEST(RecordFields, EveryNumericFieldHoldsBothEndsOfItsRange)
{
    for (int t = 0; t < TableCount; ++t) {
        const TableDef &def = tableDef(TableId(t));
        std::vector<unsigned char> record(def.recordSize);
        def.clear(record.data());
        for (const FieldDef &f : def.fields) {
            if (f.isText()) continue;
            const ValueRange range = valueRange(f);
            EXPECT_LT(range.least, range.most) << f.label;
            for (std::int64_t end : {range.least, range.most}) {
                field::setInteger(f, record.data(), end);
                EXPECT_EQ(field::integer(f, record.data()), end) << f.label;
            }
            if (f.type == FieldType::Decimal) {
                EXPECT_EQ(std::to_string(range.most), std::string(2 * f.size - 1, '9')) << f.label;
            }
        }
    }
}
