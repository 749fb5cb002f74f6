// Photos and papers through CSV: the export writes each record's files into a
// folder beside the file and names them in a column; the import reads them
// back with the records, byte for byte, and refuses a row whose files are bad
// or lie outside the file's folder.
#include "collection/csvexport.h"
#include "collection/csvimport.h"
#include "collection/recordbuffer.h"
#include "dictionary/tables.h"
#include "platform/data/attachments.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "testapp.h"
#include "testimages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace hk
{
namespace
{

namespace img = testimages;

// A data file with every table made and open, and a location to put items in.
struct File {
    explicit File(const QString &path) : station(path.toStdString())
    {
        for (int i = 0; i < TableCount; ++i) {
            const TableDef &def = tableDef(TableId(i));
            buffers.push_back(std::make_unique<RecordBuffer>(def));
            tables.push_back(std::make_unique<Table>(def.id, buffers.back()->data(), &station));
            EXPECT_EQ(tables.back()->create(), NoError);
            EXPECT_EQ(tables.back()->open(), NoError);
        }
        auto &room = record<ItemsRoomsRecord>(TableId::ItemsRooms);
        room.RoomsId = 1;
        room.Rooms = "Kitchen";
        EXPECT_EQ(table(TableId::ItemsRooms).add(), NoError);
    }
    ~File()
    {
        for (auto &t : tables)
            t->close();
    }
    Table &table(TableId id) { return *tables[std::size_t(id)]; }
    template <class R> R &record(TableId id)
    {
        return *static_cast<R *>(buffers[std::size_t(id)]->data());
    }
    std::vector<AttachmentInfo> files(TableId owner, std::int64_t record)
    {
        std::vector<AttachmentInfo> list;
        EXPECT_EQ(listAttachments(station, owner, record, list), NoError);
        return list;
    }
    DataFile station;
    std::vector<std::unique_ptr<RecordBuffer>> buffers;
    std::vector<std::unique_ptr<Table>> tables;
};

class CsvAttachmentsTest : public ::testing::Test
{
  protected:
    QApplication &app = test::app();
    QTemporaryDir dir;
    const std::vector<TableId> items = CollectionExport::findCollection("Items")->levels;
    const std::vector<TableId> video = CollectionExport::findCollection("Video Cassettes")->levels;

    std::string exportTo(File &file, const std::vector<TableId> &levels, const QString &csv)
    {
        CollectionExport exporter(levels, false, true);
        const QString folder = CollectionExport::attachmentsFolderFor(csv);
        exporter.setAttachmentsFolder(folder, QDir(folder).dirName());
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        EXPECT_EQ(exporter.write(file.station, out), NoError) << exporter.failure().toStdString();
        return out.data().toStdString();
    }
    int importFrom(File &file, const std::string &csv, CollectionImport &importer)
    {
        importer.setAttachmentsFolder(dir.path());
        QByteArray bytes = QByteArray::fromStdString(csv);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        return importer.run(file.station, in, CollectionImport::Mode::Write);
    }
};

TEST_F(CsvAttachmentsTest, ItemsAndCassettesGoOutWithTheirFilesAndComeBackByteForByte)
{
    const QByteArray photo = img::jpeg(320, 240), receipt = img::pdf(), cover = img::png(90, 120);
    {
        File from(dir.filePath("from.tps"));
        auto &itm = from.record<ItemsRecord>(TableId::Items);
        for (Long id = 1; id <= 3; ++id) {
            itm = ItemsRecord{};
            itm.ItemsId = id;
            itm.Items = "Item " + std::to_string(id);
            itm.RoomsId = 1;
            ASSERT_EQ(from.table(TableId::Items).add(), NoError);
        }
        ASSERT_EQ(addAttachment(from.station, TableId::Items, 2,
                                {"front|side.jpg", kMediaJpeg, "2025-03-04 05:06:07",
                                 photo.toStdString(), "t"}),
                  NoError);
        ASSERT_EQ(addAttachment(
                      from.station, TableId::Items, 2,
                      {"receipt.pdf", kMediaPdf, "2025-03-05 00:00:00", receipt.toStdString(), ""}),
                  NoError);
        auto &num = from.record<VideoNumberRecord>(TableId::VideoNumber);
        num = VideoNumberRecord{};
        num.VideoNumberId = 1;
        num.VideoNumber = 7;
        num.VideoTitle = "Holiday";
        num.VideoActor = "Family";
        ASSERT_EQ(from.table(TableId::VideoNumber).add(), NoError);
        auto &vid = from.record<VideoRecord>(TableId::Video);
        for (Long id = 1; id <= 2; ++id) {
            vid = VideoRecord{};
            vid.VideoId = id;
            vid.VideoNumberId = 1;
            vid.CounterStart = id * 100;
            vid.VideoTitle = "Part " + std::to_string(id);
            ASSERT_EQ(from.table(TableId::Video).add(), NoError);
        }
        ASSERT_EQ(
            addAttachment(from.station, TableId::VideoNumber, 1,
                          {"box.png", kMediaPng, "2024-01-01 10:00:00", cover.toStdString(), ""}),
            NoError);

        const std::string itemsCsv = exportTo(from, items, dir.filePath("items.csv"));
        const std::string videoCsv = exportTo(from, video, dir.filePath("video.csv"));
        EXPECT_NE(itemsCsv.find(",Attachments\r\n"), std::string::npos) << itemsCsv;
        // A file's name keeps no separator of the column.
        EXPECT_NE(itemsCsv.find("items files/1-front_side.jpg|items files/2-receipt.pdf"),
                  std::string::npos)
            << itemsCsv;
        // The cassette's file is written once, named on both of its titles' rows.
        EXPECT_EQ(QDir(dir.filePath("video files")).entryList(QDir::Files).size(), 1);
        std::size_t named = 0;
        for (std::size_t at = 0;
             (at = videoCsv.find("video files/3-box.png", at)) != std::string::npos; ++at)
            ++named;
        EXPECT_EQ(named, 2u);

        File into(dir.filePath("into.tps"));
        CollectionImport itemsIn(items), videoIn(video);
        ASSERT_EQ(importFrom(into, itemsCsv, itemsIn), NoError)
            << itemsIn.failure().toStdString()
            << (itemsIn.problems().empty() ? "" : itemsIn.problems()[0].reason);
        ASSERT_EQ(importFrom(into, videoCsv, videoIn), NoError) << videoIn.failure().toStdString();
        const std::vector<AttachmentInfo> got = into.files(TableId::Items, 2);
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0].fileName, "front_side.jpg");
        EXPECT_EQ(got[0].added, "2025-03-04 05:06:07");
        EXPECT_EQ(got[1].mediaType, kMediaPdf);
        std::string bytes;
        ASSERT_EQ(readContent(into.station, got[0].id, bytes), NoError);
        EXPECT_EQ(bytes, photo.toStdString());
        ASSERT_EQ(readThumbnail(into.station, got[0].id, bytes), NoError);
        EXPECT_FALSE(QImage::fromData(QByteArray::fromStdString(bytes)).isNull());
        EXPECT_TRUE(into.files(TableId::Items, 1).empty());
        const std::vector<AttachmentInfo> box = into.files(TableId::VideoNumber, 1);
        ASSERT_EQ(box.size(), 1u); // once, though named on two rows
        ASSERT_EQ(readContent(into.station, box[0].id, bytes), NoError);
        EXPECT_EQ(bytes, cover.toStdString());
    }
}

TEST_F(CsvAttachmentsTest, ARowNamingABadOrForeignFileIsRefusedAndNothingIsWritten)
{
    const QByteArray whole = img::jpeg(200, 200);
    QDir(dir.path()).mkpath("in files");
    QFile cut(dir.filePath("in files/cut.jpg"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.left(whole.size() / 2));
    cut.close();
    File into(dir.filePath("into.tps"));
    const struct {
        const char *cell, *reason;
    } cases[] = {
        {"in files/cut.jpg", "\"cut.jpg\" is damaged"},
        {"in files/none.jpg", "the attachment \"in files/none.jpg\" is not there"},
        {"../elsewhere.jpg", "is not in the folder of the file"},
        {"/etc/passwd", "is not in the folder of the file"},
    };
    for (const auto &c : cases) {
        CollectionImport importer(items);
        const std::string csv =
            std::string("Items,Rooms,Attachments\r\nLamp,Kitchen,") + c.cell + "\r\n";
        EXPECT_EQ(importFrom(into, csv, importer), -1) << importer.failure().toStdString();
        ASSERT_EQ(importer.problems().size(), 1u) << c.cell;
        EXPECT_EQ(importer.problems()[0].line, 2);
        EXPECT_NE(importer.problems()[0].reason.find(c.reason), std::string::npos)
            << importer.problems()[0].reason;
    }
    EXPECT_EQ(into.table(TableId::Items).records(), 0);
    AttachmentTotals totals;
    ASSERT_EQ(attachmentTotals(into.station, totals), NoError);
    EXPECT_EQ(totals.count, 0);
}

// A CSV file named like a formula names its folder so too, at the start of
// the Attachments cell: the cell is written so that no spreadsheet runs it,
// and the import reads the folder's name back as it is.
TEST_F(CsvAttachmentsTest, AFolderNamedLikeAFormulaIsNamedInertly)
{
    const QByteArray photo = img::jpeg(40, 30);
    const QString csv = dir.filePath("=HYPERLINK(1).csv");
    std::string written;
    {
        File from(dir.filePath("from.tps"));
        auto &itm = from.record<ItemsRecord>(TableId::Items);
        itm = ItemsRecord{};
        itm.ItemsId = 1;
        itm.Items = "Lamp";
        itm.RoomsId = 1;
        ASSERT_EQ(from.table(TableId::Items).add(), NoError);
        ASSERT_EQ(
            addAttachment(from.station, TableId::Items, 1,
                          {"lamp.jpg", kMediaJpeg, "2025-01-01 00:00:00", photo.toStdString(), ""}),
            NoError);
        written = exportTo(from, items, csv);
    }
    EXPECT_NE(written.find(",'=HYPERLINK(1) files/1-lamp.jpg\r\n"), std::string::npos) << written;
    File into(dir.filePath("into.tps"));
    CollectionImport importer(items);
    ASSERT_EQ(importFrom(into, written, importer), NoError)
        << (importer.problems().empty() ? "" : importer.problems()[0].reason);
    const std::vector<AttachmentInfo> got = into.files(TableId::Items, 1);
    ASSERT_EQ(got.size(), 1u);
    std::string bytes;
    ASSERT_EQ(readContent(into.station, got[0].id, bytes), NoError);
    EXPECT_EQ(bytes, photo.toStdString());
}

} // namespace
} // namespace hk
