// Photos and papers: what they cost elsewhere.
//
// ItemList/0 and ItemList/1: the item list (page of 20 rows) over 1,000,000
// items, without attachments and with 10,000 photos on every hundredth item:
// opening, page down, row down at the page's end, locating and the last page.
// OpenForm: the items form of a record with 20 camera-sized photos, until it
// is usable and until its last thumbnail shows. InsuranceReport: the
// report of 1,000 items with 2,000 photos, generated and every page drawn as
// the preview draws it, with the peak memory. Backup: File > Data Backup of
// a data file holding 2 GB of attachments, against a plain copy of the file.
// Data files are built once under bench-data/ and reused.
//
//   build/bench/attachments_bench --benchmark_filter=ItemList
//   QT_QPA_PLATFORM=offscreen build/bench/attachments_bench --benchmark_filter=OpenForm
//   QT_QPA_PLATFORM=offscreen build/bench/attachments_bench --benchmark_filter=InsuranceReport
//   build/bench/attachments_bench --benchmark_filter='Backup|Copy'
#include "browse/engine.h"
#include "browse/lists/browses.h"
#include "forms/formwindow.h"
#include "integrity/tableopen.h"
#include "platform/data/attachments.h"
#include "platform/data/backup.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/mediafile.h"
#include "platform/messages.h"
#include "reports/pagepainter.h"
#include "reports/reportdef.h"
#include "reports/reportjob.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

using namespace hk;
namespace fs = std::filesystem;

namespace
{

constexpr int kPage = 20;
constexpr long kItems = 1000000;

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void exec(sqlite3 *db, const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        std::fprintf(stderr, "%s\n", error ? error : "?");
    sqlite3_free(error);
}

// A camera-sized photo: a gradient with lines, as JPEG.
QByteArray photo(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, width, height);
    g.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 120, 220));
    g.setColorAt(1, QColor::fromHsv(seed * 71 % 360, 200, 90));
    p.fillRect(image.rect(), g);
    p.setPen(Qt::white);
    for (int x = 0; x < width; x += 13)
        p.drawLine(x, 0, width - x, height);
    p.end();
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return out;
}

// The data file of one kind made current, with the item list's tables open.
class Household
{
  public:
    explicit Household(bool photos)
    {
        static ScriptedMessageService quiet;
        setMessageService(&quiet);
        const std::string plain = "bench-data/attach-items-plain";
        const std::string dir = photos ? "bench-data/attach-items-photos" : plain;
        if (!fs::exists(plain + "/Hearthkp.Tps")) make(plain, false);
        if (photos && !fs::exists(dir + "/Hearthkp.Tps")) {
            fs::create_directories(dir);
            fs::copy_file(plain + "/Hearthkp.Tps", dir + "/Hearthkp.Tps");
            make(dir, true);
        }
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir));
        tables_ = std::make_unique<TablesInUse>(
            std::initializer_list<Table *>{&ItemsRooms, &Items, &HearthkpValue});
    }
    ~Household()
    {
        tables_.reset();
        DataFile::program().shutdown();
        QDir::setCurrent(previous_);
    }

  private:
    static void make(const std::string &dir, bool photos)
    {
        fs::create_directories(dir);
        const std::string path = dir + "/Hearthkp.Tps";
        DataFile file(path);
        ItemsRecord i;
        ItemsRoomsRecord r;
        HearthkpValueRecord v;
        Table items(TableId::Items, &i, &file), rooms(TableId::ItemsRooms, &r, &file),
            values(TableId::HearthkpValue, &v, &file);
        items.create();
        rooms.create();
        values.create();
        items.open();
        sqlite3 *db = file.db();
        if (!photos) {
            exec(db, "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                     "WHERE i < 10) INSERT INTO ItemsRooms (RoomsId, Rooms) SELECT i, 'Room ' "
                     "|| i FROM n; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
                     "n WHERE i < " +
                         std::to_string(kItems) +
                         ") INSERT INTO Items (ItemsId, Items, Description, RoomsId, Quantity, "
                         "\"Values\", ItemYear, SerialNumber) SELECT i, 'Item ' || "
                         "substr(hex(randomblob(4)), 1, 6) || ' ' || i, 'A thing ' || (i % 977), "
                         "1 + i % 10, 1, i % 50000, 1990 + i % 30, CASE WHEN i % 3 = 0 THEN "
                         "'SN-' || i ELSE '' END FROM n; COMMIT");
        } else {
            // 10,000 photos: every hundredth item holds one.
            const QByteArray bytes = photo(640, 480, 1);
            const std::string thumb = photo(240, 180, 2).toStdString();
            exec(db, "BEGIN");
            for (long n = 1; n <= 10000; ++n)
                addAttachment(
                    file, TableId::Items, n * 100,
                    {"photo.jpg", kMediaJpeg, "2026-01-01 12:00:00", bytes.toStdString(), thumb});
            exec(db, "COMMIT");
        }
        exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
        items.close();
    }

    QString previous_;
    std::unique_ptr<TablesInUse> tables_;
};

std::unique_ptr<BrowseEngine> openItems()
{
    GlobalRequest = 0;
    auto engine = std::make_unique<BrowseEngine>(browseItemsDef(), [] { return kPage; });
    engine->begin();
    engine->windowRefresh();
    return engine;
}

void counters(benchmark::State &state, const BrowseEngine &e)
{
    int marked = 0;
    for (const BrowseRow &r : e.rows())
        marked += r.attachments > 0;
    state.counters["peak_rss_MB"] = peakMb();
    state.counters["marked_rows"] = marked;
}

void ItemListOpen(benchmark::State &state)
{
    Household house(state.range(0));
    std::unique_ptr<BrowseEngine> e;
    for (auto _ : state)
        e = openItems();
    counters(state, *e);
}

void ItemListPageDown(benchmark::State &state)
{
    Household house(state.range(0));
    auto e = openItems();
    int n = 0;
    for (auto _ : state)
        e->scroll(++n % 400 == 0 ? ListScroll::Top : ListScroll::PageDown);
    counters(state, *e);
}

void ItemListRowDown(benchmark::State &state)
{
    Household house(state.range(0));
    auto e = openItems();
    e->highlight(kPage);
    for (auto _ : state)
        e->scroll(ListScroll::RowDown);
    counters(state, *e);
}

void ItemListLocate(benchmark::State &state)
{
    Household house(state.range(0));
    auto e = openItems();
    std::mt19937 rng(7);
    const char hex[] = "0123456789ABCDEF";
    std::vector<std::string> values;
    for (int i = 0; i < 256; ++i)
        values.push_back(std::string("Item ") + hex[rng() % 16] + hex[rng() % 16]);
    std::size_t i = 0;
    for (auto _ : state)
        e->locatorAccepted(values[i++ % values.size()]);
    counters(state, *e);
}

void ItemListLastPage(benchmark::State &state)
{
    Household house(state.range(0));
    auto e = openItems();
    int n = 0;
    for (auto _ : state)
        e->scroll(++n % 2 ? ListScroll::Bottom : ListScroll::Top);
    counters(state, *e);
}

// ------------------------------------------------------------ the form

int argc = 1;
char arg0[] = "attachments_bench";
char *argv[] = {arg0, nullptr};

void OpenForm(benchmark::State &state)
{
    static QApplication *app = new QApplication(argc, argv); // kept to the end of the process
    (void)app;
    static ScriptedMessageService quiet;
    setMessageService(&quiet);
    const std::string dir = "bench-data/attach-form";
    fs::create_directories(dir);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir));
    {
        TablesInUse tables{&HearthkpValue, &Items, &ItemsRooms};
        if (Items.records() == 0) {
            ItmRom.RoomsId = 1;
            ItmRom.Rooms = "Study";
            ItemsRooms.add();
            Itm = ItemsRecord{};
            Itm.ItemsId = 1;
            Itm.Items = "Camera";
            Itm.RoomsId = 1;
            Items.add();
            for (int n = 1; n <= 20; ++n) {
                const QByteArray bytes = photo(4000, 3000, n); // 12 megapixels
                const InspectedFile f = inspectFile(bytes, "photo.jpg", kAttachmentMaxBytes);
                addAttachment(DataFile::program(), TableId::Items, 1,
                              {"photo " + std::to_string(n) + ".jpg", kMediaJpeg,
                               "2026-01-01 12:00:00", bytes.toStdString(),
                               f.thumbnail.toStdString()});
            }
        }
        double usable = 0, thumbnails = 0;
        for (auto _ : state) {
            Itm.ItemsId = 1;
            Items.get(Itm.Primary);
            GlobalRequest = ChangeRecord;
            QElapsedTimer clock;
            clock.start();
            auto form = std::make_unique<FormProcedure>(*findForm("UpdateItems"));
            QPointer<FormProcedure> p = form.get();
            start(std::move(form));
            while (!p || !p->form() || !p->form()->isVisible())
                QApplication::processEvents();
            QApplication::processEvents(); // the first paint
            usable += clock.nsecsElapsed() / 1e6;
            auto allShown = [&] {
                for (const auto &e : p->core().attachments().entries())
                    if (!e.thumbnailRead) return false;
                return true;
            };
            while (!allShown())
                QApplication::processEvents();
            thumbnails += clock.nsecsElapsed() / 1e6;
            p->form()->window()->close();
            while (p)
                QApplication::processEvents();
        }
        state.counters["usable_ms"] = usable / double(state.iterations());
        state.counters["all_thumbnails_ms"] = thumbnails / double(state.iterations());
        state.counters["peak_rss_MB"] = peakMb();
    }
    DataFile::program().shutdown();
    QDir::setCurrent(previous);
}

// ------------------------------------------------------------ the report

// Insurance Inventory of 1,000 items in 10 locations with two photos each:
// the pages generated, then every page drawn as the preview draws it.
void InsuranceReport(benchmark::State &state)
{
    static QApplication *app = new QApplication(argc, argv); // kept to the end of the process
    (void)app;
    static ScriptedMessageService quiet;
    setMessageService(&quiet);
    const std::string dir = "bench-data/attach-report";
    fs::create_directories(dir);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir));
    {
        TablesInUse tables{&HearthkpValue, &Items, &ItemsRooms};
        if (Items.records() == 0) {
            std::vector<NewAttachment> photos;
            for (int n = 0; n < 20; ++n) {
                const QByteArray bytes = photo(1600, 1200, n);
                const InspectedFile f = inspectFile(bytes, "photo.jpg", kAttachmentMaxBytes);
                photos.push_back({"photo.jpg", kMediaJpeg, "2026-01-01 12:00:00",
                                  bytes.toStdString(), f.thumbnail.toStdString()});
            }
            exec(DataFile::program().db(), "BEGIN");
            for (Long r = 1; r <= 10; ++r) {
                ItmRom = ItemsRoomsRecord{};
                ItmRom.RoomsId = r;
                ItmRom.Rooms = "Room " + std::to_string(r);
                ItemsRooms.add();
            }
            for (Long i = 1; i <= 1000; ++i) {
                Itm = ItemsRecord{};
                Itm.ItemsId = i;
                Itm.Items = "Item " + std::to_string(i);
                Itm.Description = "A thing of some value";
                Itm.RoomsId = 1 + i % 10;
                Itm.Quantity = 1;
                Itm.Values.setCents(100 * (i % 500));
                Itm.SerialNumber = "SN-" + std::to_string(i);
                Items.add();
                for (int k = 0; k < 2; ++k)
                    addAttachment(DataFile::program(), TableId::Items, i,
                                  photos[std::size_t(i + k) % photos.size()]);
            }
            exec(DataFile::program().db(), "COMMIT");
        }
        const ReportDefinition *def = findReport(QStringLiteral("RPTITEMINSURANCE"));
        std::size_t pageCount = 0, pictures = 0;
        for (auto _ : state) {
            ItmRom = ItemsRoomsRecord{}; // all locations
            ReportJob job(*def);
            job.begin();
            while (!job.batch()) {
            }
            job.finish();
            const std::vector<Page> pages = job.takePages();
            QImage screen(900, 1270, QImage::Format_RGB32);
            screen.setDotsPerMeterX(4252); // 108 dpi: the preview at its usual size
            screen.setDotsPerMeterY(4252);
            for (const Page &p : pages) {
                screen.fill(Qt::white);
                QPainter painter(&screen);
                paintPage(painter, p);
                pictures += p.pictures.size();
            }
            pageCount = pages.size();
        }
        state.counters["pages"] = double(pageCount);
        state.counters["thumbnails_drawn"] = double(pictures) / double(state.iterations());
        state.counters["peak_rss_MB"] = peakMb();
    }
    DataFile::program().shutdown();
    QDir::setCurrent(previous);
}

// ------------------------------------------------------------ the backup

const std::string kBackupDir = "bench-data/attach-backup";
const std::string kBackupSource = kBackupDir + "/Hearthkp.Tps";

// 2 GB of attachments: 400 files of 5 MB, made of random bytes (which the
// file keeps as they come).
void makeBigFile()
{
    if (fs::exists(kBackupSource)) return;
    fs::create_directories(kBackupDir);
    DataFile file(kBackupSource);
    ItemsRecord i;
    Table items(TableId::Items, &i, &file);
    items.create();
    items.open();
    std::mt19937_64 rng(3);
    std::string bytes(5 * 1024 * 1024, '\0');
    exec(file.db(), "BEGIN");
    for (long n = 1; n <= 400; ++n) {
        for (std::size_t k = 0; k + 8 <= bytes.size(); k += 8) {
            const std::uint64_t r = rng();
            std::memcpy(&bytes[k], &r, 8);
        }
        addAttachment(file, TableId::Items, n,
                      {"scan.jpg", kMediaJpeg, "2026-01-01 12:00:00", bytes, ""});
    }
    exec(file.db(), "COMMIT");
    exec(file.db(), "PRAGMA wal_checkpoint(TRUNCATE)");
    items.close();
}

void Backup2GB(benchmark::State &state)
{
    makeBigFile();
    const std::string target = kBackupDir + "/backup/Hearthkp.Tps";
    fs::create_directories(kBackupDir + "/backup");
    for (auto _ : state) {
        const BackupOutcome outcome = backupDataFile(kBackupSource, target);
        if (outcome.code != 0) state.SkipWithError(outcome.reason.c_str());
    }
    state.counters["GB"] = static_cast<double>(fs::file_size(kBackupSource)) / 1e9;
}

void Copy2GB(benchmark::State &state)
{
    makeBigFile();
    const std::string target = kBackupDir + "/copy";
    for (auto _ : state) {
        const std::string cp = "cp " + kBackupSource + " " + target + " && sync " + target;
        if (std::system(cp.c_str()) != 0) state.SkipWithError("cp failed");
    }
    fs::remove(target);
}

} // namespace

BENCHMARK(ItemListOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ItemListPageDown)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ItemListRowDown)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ItemListLocate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ItemListLastPage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenForm)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(InsuranceReport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Backup2GB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Copy2GB)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
