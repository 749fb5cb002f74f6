// Collections read back from CSV into real data files: the round trip through
// export, rows refused with their line and the forms' reasons, a stop half-way,
// and lookups, parents and duplicates as the forms treat them.
#include "collection/csvexport.h"
#include "collection/csvfieldrule.h"
#include "collection/csvimport.h"
#include "collection/csvreader.h"
#include "collection/importcollection.h"
#include "collection/recordbuffer.h"
#include "forms/formdef.h"
#include "integrity/tableopen.h"
#include "platform/filedialogs.h"
#include "platform/windows/layout.h"
#include "reports/reportdata.h"
#include "testapp.h"

#include <QBuffer>
#include <QFile>
#include <QPushButton>

namespace hk
{
namespace
{

using Mode = CollectionImport::Mode;

const std::vector<TableId> &levelsOf(const char *collection)
{
    return CollectionExport::findCollection(collection)->levels;
}

// A data file of the test's own with every table made and held open, as a
// new user's is: another station on another file.
struct EmptyFile {
    explicit EmptyFile(const QString &path) : file(path.toStdString())
    {
        for (int i = 0; i < TableCount; ++i) {
            const TableDef &def = tableDef(TableId(i));
            buffers.push_back(std::make_unique<RecordBuffer>(def));
            tables.push_back(std::make_unique<Table>(def.id, buffers.back()->data(), &file));
            EXPECT_EQ(tables.back()->create(), NoError);
            EXPECT_EQ(tables.back()->open(), NoError);
        }
    }
    ~EmptyFile()
    {
        for (auto &t : tables)
            t->close();
    }
    DataFile file;
    std::vector<std::unique_ptr<RecordBuffer>> buffers;
    std::vector<std::unique_ptr<Table>> tables;
};

std::string exportOf(DataFile &file, const std::vector<TableId> &levels, bool numbered = false)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_EQ(CollectionExport(levels, numbered).write(file, out), NoError);
    return out.data().toStdString();
}

int importInto(DataFile &file, CollectionImport &importer, const std::string &csv, Mode mode,
               const std::function<bool(long long)> &progress = {})
{
    QByteArray bytes = QByteArray::fromStdString(csv);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    return importer.run(file, in, mode, progress);
}

// A value read with SQL, so the check does not go through the engine under test.
std::string sql(DataFile &file, const std::string &query)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(file.db(), query.c_str(), -1, &st, nullptr);
    std::string value = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0)
                            ? reinterpret_cast<const char *>(sqlite3_column_text(st, 0))
                            : "";
    sqlite3_finalize(st);
    return value;
}

class CsvImportTest : public ProgramTest
{
  protected:
    // Every collection with quotes, commas, line breaks, Greek, Cyrillic,
    // CJK and ½; parents with and without children.
    void fillAll()
    {
        ASSERT_TRUE(all.use({&ItemsRooms, &Items, &BookCategory, &Books, &SoftWare, &VideoNumber,
                             &Video, &MusicNumber, &Music, &MagName, &MagYear, &MagIssue,
                             &MagCategory, &MagArticle, &HearthkpValue}));
        ItmRom = {};
        ItmRom.RoomsId = 1;
        ItmRom.Rooms = "Küche ½";
        ASSERT_EQ(ItemsRooms.add(), NoError);
        test::addItem(1, "Cup, \"blue\"", "Line\r\nbreak", 2, 350, 2020, "Σ-1", "");
        test::addItem(2, "Чайник", "茶壺", 0, 0, 0, "", "note");
        test::addCategory(7, "Поэзия, 詩");
        test::addBook(1, {"Odes \"Selected\"", "Σαπφώ", 7, 1250, 120, "", "978-0", 0, "Softcover"});
        test::addBook(2, {"Line\nbreak", "Smith, J.", 7, 0, 0, "Pub", "", 1999, ""});
        test::addSoftware(1, "Atlas ½", 4995, "3 ½ + Cd Rom", 3, "Boxed, \"new\"");
        VidNum = {};
        VidNum.VideoNumberId = 1;
        VidNum.VideoNumber = 12;
        VidNum.VideoTitle = "Summer, \"98\"";
        VidNum.VideoActor = "Ana";
        VidNum.Values.setCents(450);
        ASSERT_EQ(VideoNumber.add(), NoError);
        VidNum.VideoNumberId = 2;
        VidNum.VideoNumber = 13;
        VidNum.VideoTitle = "Empty ½";
        ASSERT_EQ(VideoNumber.add(), NoError);
        for (Long t : {1, 2}) {
            Vid = {};
            Vid.VideoId = t;
            Vid.VideoNumberId = 1;
            Vid.CounterStart = Long(*timeValue(1, t == 1 ? 30 : 2, 15));
            Vid.VideoTitle = t == 1 ? "Beach\r\nday" : "Сад, 庭";
            Vid.VideoActor = "\"Bo\"";
            ASSERT_EQ(Video.add(), NoError);
        }
        MusNum = {};
        MusNum.MusicNumberId = 1;
        MusNum.AlbumNumber = 5;
        MusNum.AlbumTitle = "Ωδές";
        MusNum.AlbumArtist = "Band, the";
        MusNum.Media = "Cd";
        MusNum.Values.setCents(1299);
        ASSERT_EQ(MusicNumber.add(), NoError);
        Mus = {};
        Mus.MusicId = 1;
        Mus.MusicNumberId = 1;
        Mus.MusicTrack = 2;
        Mus.MusicTitle = "歌";
        Mus.MusicArtist = "Ана";
        Mus.TitleSide = "B";
        ASSERT_EQ(Music.add(), NoError);
        Mag = {};
        Mag.MagazineNameId = 3;
        Mag.MagazineName = "Garden ½";
        ASSERT_EQ(MagName.add(), NoError);
        Mag.MagazineNameId = 4;
        Mag.MagazineName = "Alone";
        ASSERT_EQ(MagName.add(), NoError);
        Yer = {};
        Yer.MagazineYearId = 4;
        Yer.MagazineNameId = 3;
        Yer.MagazineYear = 2021;
        ASSERT_EQ(MagYear.add(), NoError);
        for (Short issue : {5, 6}) {
            Iss = {};
            Iss.MagazineIssueId = issue;
            Iss.MagazineNameId = 3;
            Iss.MagazineYearId = 4;
            Iss.MagazineIssue = issue;
            Iss.MagazineMonth = issue == 5 ? "May" : "June";
            Iss.Values.setCents(issue * 100);
            Iss.MagazineComments = "Σχόλια,\n\"x\"";
            ASSERT_EQ(MagIssue.add(), NoError);
        }
        Cat = {};
        Cat.MagazineCategoryId = 8;
        Cat.MagazineCategory = "Roses, 薔薇";
        ASSERT_EQ(MagCategory.add(), NoError);
        Art = {};
        Art.MagazineArticleId = 9;
        Art.MagazineNameId = 3;
        Art.MagazineYearId = 4;
        Art.MagazineIssueId = 5;
        Art.Article = "Обрезка";
        Art.Pages = 4;
        Art.MagazineCategoryId = 8;
        ASSERT_EQ(MagArticle.add(), NoError);
    }

    TablesInUse all;

    std::string bookTotal(DataFile &file)
    {
        return sql(file, "SELECT InventoryBooks FROM HearthkpValue");
    }
};

TEST_F(CsvImportTest, EveryCollectionComesBackByteForByteInAnEmptyFile)
{
    fillAll();
    EmptyFile emptyFile(dir.filePath("Empty.Tps"));
    DataFile &empty = emptyFile.file;
    for (const CsvCollection &c : CollectionExport::collections()) {
        SCOPED_TRACE(c.name);
        const std::string first = exportOf(DataFile::program(), c.levels, c.numbered);
        CollectionImport importer(c.levels, c.numbered);
        ASSERT_EQ(importInto(empty, importer, first, Mode::DryRun), NoError);
        EXPECT_EQ(sql(empty, "SELECT count(*) FROM " + tableDef(c.levels[0]).label), "0");
        importer.setCreateMissing(true);
        ASSERT_EQ(importInto(empty, importer, first, Mode::Write), NoError)
            << importer.failure().toStdString();
        EXPECT_EQ(exportOf(empty, c.levels, c.numbered), first);
    }
    // The running totals came along with the records.
    EXPECT_EQ(sql(empty, "SELECT InventoryItems || ' ' || InventoryBooks || ' ' || "
                         "InventoryDisks || ' ' || InventoryVideo || ' ' || InventoryMusic || "
                         "' ' || InventoryMagazine FROM HearthkpValue"),
              "350 1250 4995 900 1299 1100");
}

// A location keeps its number where the number is free, gets the next one
// where another location has it, and one on file under its name is not added
// again; one that no item names is not lost.
TEST_F(CsvImportTest, LocationsKeepTheirNumbersWhereTheyAreFree)
{
    ASSERT_TRUE(all.use({&ItemsRooms, &Items, &HearthkpValue}));
    for (const auto &[id, name] :
         std::vector<std::pair<Long, const char *>>{{3, "Attic"}, {7, "Cellar"}, {9, "Hall"}}) {
        ItmRom = {};
        ItmRom.RoomsId = id;
        ItmRom.Rooms = name;
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }
    const CsvCollection &locations = *CollectionExport::findCollection("Locations");
    const std::string csv = exportOf(DataFile::program(), locations.levels, true);
    EXPECT_EQ(csv, "RoomsId,Rooms\r\n3,Attic\r\n7,Cellar\r\n9,Hall\r\n");

    EmptyFile other(dir.filePath("Other.Tps"));
    ASSERT_EQ(sqlite3_exec(other.file.db(),
                           "INSERT INTO ItemsRooms VALUES (3, 'Garage'), (12, 'Hall')", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    CollectionImport importer(locations.levels, true);
    ASSERT_EQ(importInto(other.file, importer, csv, Mode::Write), NoError)
        << importer.failure().toStdString();
    EXPECT_EQ(sql(other.file, "SELECT group_concat(RoomsId || ' ' || Rooms, ', ') FROM "
                              "(SELECT * FROM ItemsRooms ORDER BY RoomsId)"),
              "3 Garage, 7 Cellar, 12 Hall, 13 Attic");

    // A number no record takes is refused with its line, and nothing is written.
    CollectionImport again(locations.levels, true);
    EXPECT_EQ(
        importInto(other.file, again, "RoomsId,Rooms\r\n20,Porch\r\n-4,Shed\r\n", Mode::Write), -1);
    ASSERT_EQ(again.problems().size(), 1u);
    EXPECT_EQ(again.problems()[0].line, 3);
    EXPECT_EQ(sql(other.file, "SELECT count(*) FROM ItemsRooms"), "4");
}

// One bad row: the dry run and the write name its line (counted across a
// line break inside quotes) and the form's reason, and nothing is written.
TEST_F(CsvImportTest, OneBadRowWritesNothingAndIsNamed)
{
    ASSERT_TRUE(all.use({&BookCategory, &Books, &HearthkpValue}));
    test::addCategory(1, "Fiction");
    const std::string csv = "BookTitle,BookAuthor,BookCategory,BookValue\r\n"
                            "\"Two\r\nlines\",Ann,Fiction,1.50\r\n"
                            "Tide,,Fiction,2.00\r\n"
                            "Storm,Bo,Fiction,abc\r\n" +
                            std::string("Nul") + '\0' + "Title,Cy,Fiction,1.00\r\n";
    for (Mode mode : {Mode::DryRun, Mode::Write}) {
        CollectionImport importer({TableId::Books});
        EXPECT_EQ(importInto(DataFile::program(), importer, csv, mode), -1);
        EXPECT_EQ(importer.problems(), (std::vector<CsvRowProblem>{
                                           {4, "Author field must be completed before accepted !"},
                                           {5, "BookValue: \"abc\" is not a value the field takes"},
                                           {6, "BookTitle: \"Nul\" is followed by a NUL character, "
                                               "which no field holds"}}));
    }
    EXPECT_EQ(Books.records(), 0);
    EXPECT_EQ(bookTotal(DataFile::program()), "");
}

// Texts that a spreadsheet would run as formulas are marked as texts in the
// file, numbers stay numbers, and every text comes back as it was.
TEST_F(CsvImportTest, FormulaTextsAreInertInTheFileAndComeBackAsTheyWere)
{
    ASSERT_TRUE(all.use({&BookCategory, &Books, &HearthkpValue}));
    test::addCategory(1, "=1+1");
    const std::vector<std::string> texts = {"=cmd|' /C calc'!A0",
                                            "@SUM(1+1)",
                                            "+HYPERLINK(\"http://x\",\"y\")",
                                            "-2+3",
                                            "\t=2",
                                            "\r=3",
                                            "'=4",
                                            "''@5",
                                            "'Tis",
                                            "''",
                                            "plain -1"};
    for (std::size_t i = 0; i < texts.size(); ++i)
        test::addBook(Long(i + 1), {texts[i].c_str(), texts[texts.size() - 1 - i].c_str(), 1, 1250,
                                    Short(i + 1), "", "", 0, ""});
    Bok.BooksId = Long(texts.size() + 1);
    Bok.Pages = -3; // not one a form takes: the cell shows whether a number is marked
    ASSERT_EQ(Books.add(), NoError);
    const std::string first = exportOf(DataFile::program(), {TableId::Books});

    // As a spreadsheet reads the file: no text cell begins a formula.
    const CollectionExport layout({TableId::Books});
    QByteArray bytes = QByteArray::fromStdString(first);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    CsvReader reader(in);
    std::vector<std::string> cells;
    ASSERT_TRUE(reader.next(cells)); // the header
    std::vector<std::string> pages;
    const auto formula = [](const std::string &cell) {
        return !cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string::npos;
    };
    while (reader.next(cells)) {
        ASSERT_EQ(cells.size(), layout.columns().size());
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const CsvColumn &col = layout.columns()[c];
            const TableDef &t = col.lookup ? *col.lookup : tableDef(TableId::Books);
            if (t.fields[std::size_t(col.field)].isText()) {
                EXPECT_FALSE(formula(cells[c])) << cells[c];
            }
            if (col.header == "Pages") pages.push_back(cells[c]);
        }
    }
    EXPECT_EQ(pages.back(), "-3");

    // Back in an empty file, and out again, byte for byte.
    EmptyFile emptyFile(dir.filePath("Empty.Tps"));
    Books.setCurrent(0, nullptr);
    ASSERT_TRUE(Books.set(Bok.Primary) == NoError && Books.previous() == NoError);
    ASSERT_EQ(Books.remove(), NoError); // the book no form would take
    const std::string kept = exportOf(DataFile::program(), {TableId::Books});
    CollectionImport importer({TableId::Books});
    importer.setCreateMissing(true);
    ASSERT_EQ(importInto(emptyFile.file, importer, kept, Mode::Write), NoError)
        << importer.failure().toStdString();
    EXPECT_EQ(exportOf(emptyFile.file, {TableId::Books}), kept);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(sql(emptyFile.file,
                      "SELECT BookTitle FROM Books WHERE BooksId = " + std::to_string(i + 1)),
                  texts[i]);
}

// The kept total holds 9,999,999.99 at most: a file whose values would
// carry it further is refused as a whole, naming the total, its maximum and
// the amount, and nothing is written.
TEST_F(CsvImportTest, AFileTheTotalCannotHoldIsRefusedAndWritesNothing)
{
    ASSERT_TRUE(all.use({&ItemsRooms, &Items, &HearthkpValue}));
    ItmRom = {};
    ItmRom.RoomsId = 1;
    ItmRom.Rooms = "Hall";
    ASSERT_EQ(ItemsRooms.add(), NoError);
    Hkv = {};
    ASSERT_TRUE(Hkv.InventoryItems.setCents(999900000));
    ASSERT_EQ(HearthkpValue.add(), NoError);
    const std::string csv = "Items,Rooms,Values\r\nLamp,Hall,600.00\r\nVase,Hall,400.00\r\n";
    for (Mode mode : {Mode::DryRun, Mode::Write}) {
        CollectionImport importer({TableId::Items});
        EXPECT_EQ(importInto(DataFile::program(), importer, csv, mode), -1);
        EXPECT_EQ(importer.failure().toStdString(),
                  "The total HKV:INVENTORYITEMS would come to 10,000,000.00, past its maximum of "
                  "9,999,999.99");
    }
    EXPECT_EQ(Items.records(), 0);
    EXPECT_EQ(sql(DataFile::program(), "SELECT InventoryItems FROM HearthkpValue"), "999900000");
}

// A number is imported exactly when the form's entry for its field takes
// it, for every number entry of every form: no value below zero (no entry's
// picture shows a sign), nothing wider than the entry.
TEST_F(CsvImportTest, TheImportRefusesWhatAFormsEntryRefuses)
{
    test::app();
    int entries = 0;
    for (const FormDef &form : allForms()) {
        for (const FormField &control : form.fields) {
            if (control.kind != FormControl::Entry || control.picture.empty()) continue;
            const Picture picture = Picture::of(control.picture);
            if (picture.kind != PictureKind::Number) continue;
            ++entries;
            const FieldRef field = findField(control.field);
            const CsvFieldRule rule = CsvFieldRule::of("Field", field, &form);
            const std::string wide(std::size_t(picture.width) + 1, '9');
            for (const std::string &text : {std::string("-1"), std::string("-5.00"),
                                            std::string("1"), std::string("0"), wide}) {
                SCOPED_TRACE(form.name + " " + control.field + " \"" + text + "\"");
                // An entry holds no more than its picture's width.
                PictureEntry entry(picture);
                entry.setText(QString::fromStdString(text));
                entry.setModified(true);
                const bool typed = text.size() <= std::size_t(picture.width) && entry.accept();
                RecordBuffer record(tableDef(field.table));
                std::string reason;
                const bool imported = rule.store(text, record.data(), reason);
                EXPECT_EQ(imported, typed) << reason;
                if (text.starts_with('-')) {
                    EXPECT_FALSE(imported);
                }
            }
        }
    }
    EXPECT_GT(entries, 10);
}

// Columns that are not the collection's, and a file that is not CSV, are
// refused by name before any row is taken.
TEST_F(CsvImportTest, AFileThatIsNotTheCollectionsIsRefusedByName)
{
    ASSERT_TRUE(all.use({&BookCategory, &Books, &HearthkpValue}));
    CollectionImport importer({TableId::Books});
    EXPECT_EQ(importInto(DataFile::program(), importer,
                         "\xEF\xBB\xBF"
                         "BookTitle,Colour\r\n",
                         Mode::DryRun),
              -1);
    EXPECT_EQ(importer.failure().toStdString(),
              "Columns not in the collection: Colour. "
              "Required columns missing: BookAuthor, BookCategory.");
    EXPECT_EQ(importInto(DataFile::program(), importer,
                         "BookTitle,BookAuthor,BookCategory\r\nTide,Ann,Sea\r\n"
                         "\"Storm,Bo,Sea\r\n",
                         Mode::Write),
              -1);
    EXPECT_EQ(importer.failure().toStdString(),
              "The file cannot be read: a quoted field begun on line 3 is not closed");
    EXPECT_EQ(Books.records(), 0);
}

// A stop half-way through a write leaves the records and the totals as
// they were.
TEST_F(CsvImportTest, AStoppedImportWritesNothing)
{
    TablesInUse tables({&BookCategory, &Books, &HearthkpValue});
    test::addCategory(1, "Fiction");
    Hkv = {};
    Hkv.InventoryBooks.setCents(700);
    ASSERT_EQ(HearthkpValue.add(), NoError);
    std::string csv = "BookTitle,BookAuthor,BookCategory,BookValue\r\n";
    for (int i = 0; i < 2500; ++i)
        csv += "Book " + std::to_string(i) + ",Ann,Fiction,1.00\r\n";
    CollectionImport importer({TableId::Books});
    std::vector<long long> heard;
    EXPECT_EQ(importInto(DataFile::program(), importer, csv, Mode::Write,
                         [&](long long rows) {
                             heard.push_back(rows);
                             return rows < 2000;
                         }),
              -1);
    EXPECT_EQ(heard, (std::vector<long long>{1000, 2000}));
    EXPECT_TRUE(importer.stopped());
    EXPECT_EQ(Books.records(), 0);
    EXPECT_EQ(bookTotal(DataFile::program()), "700");
}

// Names not on file are listed and created only when agreed; a parent that
// is on file takes the children; a parent's number taken by another is
// refused as the form refuses it, in the file and against the data.
TEST_F(CsvImportTest, LookupsParentsAndDuplicatesFollowTheForms)
{
    TablesInUse tables({&BookCategory, &Books, &VideoNumber, &Video, &HearthkpValue});
    const std::string books = "BookTitle,BookAuthor,BookCategory\r\n"
                              "Tide,Ann,Sea\r\nStorm,Bo,sea\r\n";
    CollectionImport byName({TableId::Books});
    ASSERT_EQ(importInto(DataFile::program(), byName, books, Mode::DryRun), NoError);
    ASSERT_EQ(byName.missing().size(), 1u);
    EXPECT_EQ(byName.missing()[0].name, "Sea");
    EXPECT_EQ(importInto(DataFile::program(), byName, books, Mode::Write), -1);
    EXPECT_EQ(byName.problems()[0].reason, "Category \"Sea\" is not on file");
    byName.setCreateMissing(true);
    ASSERT_EQ(importInto(DataFile::program(), byName, books, Mode::Write), NoError);
    EXPECT_EQ(sql(DataFile::program(), "SELECT group_concat(BookCategoryId) FROM Books"), "1,1");

    const std::string head = "VideoNumber,VideoTitle,VideoActor,Vid:VideoTitle\r\n";
    VidNum = {};
    VidNum.VideoNumberId = 1;
    VidNum.VideoNumber = 12;
    VidNum.VideoTitle = "Summer";
    VidNum.VideoActor = "Ana";
    VidNum.Studio = "Pier"; // not in the file: no reason to take it for another
    ASSERT_EQ(VideoNumber.add(), NoError);
    CollectionImport video(levelsOf("Video Cassettes"));
    const std::string titles = "12,Summer,Ana,Beach\r\n12,Summer,Ana,Dunes\r\n";
    EXPECT_EQ(importInto(DataFile::program(), video,
                         head + titles + "14,Autumn,Bo,\r\n14,Winter,Bo,Snow\r\n12,Spring,Bo,\r\n",
                         Mode::DryRun),
              -1);
    EXPECT_EQ(video.problems(),
              (std::vector<CsvRowProblem>{{5, "The Video Cassette Number: 14 already exists !"},
                                          {6, "The Video Cassette Number: 12 already exists !"}}));
    ASSERT_EQ(importInto(DataFile::program(), video, head + titles, Mode::Write), NoError);
    EXPECT_EQ(sql(DataFile::program(),
                  "SELECT count(*) || ' ' || (SELECT group_concat(VideoActor) FROM Video) "
                  "FROM VideoNumber"),
              "1 Ana,Ana"); // the titles' actor comes from their cassette, as in the form
}

// From the File menu: a file with a bad row is reported with its line and
// nothing is written; a good one asks before creating its category.
TEST_F(CsvImportTest, ImportCollectionChecksFirstAndAsksBeforeCreating)
{
    test::app();
    ScriptedFileDialogService dialogs;
    setFileDialogService(&dialogs);
    ASSERT_TRUE(all.use({&Books}));
    const auto write = [&](const char *name, const char *text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    dialogs.answer(write("bad.csv", "BookTitle,BookAuthor,BookCategory\r\nTide,,Sea\r\n"));
    dialogs.answer(write("good.csv", "BookTitle,BookAuthor,BookCategory,BookValue\r\n"
                                     "Tide,Ann,Sea,2.50\r\n"));
    boxes.answer(ButtonOk);
    boxes.answer(ButtonYes);
    boxes.answer(ButtonOk);

    bool done = false;
    auto proc = std::make_unique<ImportCollection>();
    QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
    start(std::move(proc));
    BuiltWindow *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<BuiltWindow *>(top);
            b && b->windowTitle() == "Import Collection")
            w = b;
    ASSERT_NE(w, nullptr);
    w->setValue(ImportCollection::CollectionList, std::string("Books"));
    w->controlAs<QPushButton>(ImportCollection::ImportButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return boxes.boxes().size() == 1; }));
    EXPECT_EQ(boxes.boxes()[0].text, "1 row cannot be imported; nothing has been written.\n\n"
                                     "Line 2: Author field must be completed before accepted !");
    w->controlAs<QPushButton>(ImportCollection::ImportButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return done; }));
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[1].text,
              "These are not on file yet:\n\nCategory: Sea\n\nCreate them and import the file?");
    EXPECT_EQ(sql(DataFile::program(),
                  "SELECT BookTitle || ' ' || BookCategory || ' ' || InventoryBooks FROM Books, "
                  "BookCategory, HearthkpValue"),
              "Tide Sea 250");
    setFileDialogService(nullptr);
}

// A file error on the way (another station keeps the data file locked) is
// reported with its own code and message, not lost to "No error" by the
// tables closing after it.
TEST_F(CsvImportTest, ImportCollectionReportsTheErrorThatStoppedIt)
{
    test::app();
    ScriptedFileDialogService dialogs;
    setFileDialogService(&dialogs);
    ASSERT_TRUE(all.use({&Books, &BookCategory, &HearthkpValue}));
    QFile f(dir.filePath("good.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BookTitle,BookAuthor,BookCategory\r\nTide,Ann,Sea\r\n");
    f.close();
    dialogs.answer(f.fileName());
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    bool done = false;
    auto proc = std::make_unique<ImportCollection>();
    QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
    start(std::move(proc));
    BuiltWindow *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<BuiltWindow *>(top);
            b && b->windowTitle() == "Import Collection")
            w = b;
    ASSERT_NE(w, nullptr);
    w->setValue(ImportCollection::CollectionList, std::string("Books"));
    w->controlAs<QPushButton>(ImportCollection::ImportButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return boxes.boxes().size() == 1; }));
    sqlite3_close(other);
    EXPECT_EQ(boxes.boxes()[0].title, "Record Insert Error");
    EXPECT_EQ(boxes.boxes()[0].text, "An error was experienced during the update of record.  "
                                     "Error: File Is Locked (32).");
    EXPECT_EQ(Books.records(), 0);
    w->close();
    ASSERT_TRUE(test::waitFor([&] { return done; }));
    setFileDialogService(nullptr);
}

} // namespace
} // namespace hk
