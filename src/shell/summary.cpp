#include "shell/summary.h"

#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/attachments.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/mediafile.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowlife.h"

#include <QPointer>
#include <QPushButton>

namespace hk
{

Long FileSummaryThread = 0;

namespace
{

// The totals must hold six of the largest running totals.
static_assert(6 * Decimal<5>::maxCents <= decltype(TotalValue)::maxCents);

enum : int {
    LeftPanel = 1,
    RightPanel,
    CloseButton,
    AttachmentsLabel,
    AttachmentsShown,
    FirstRow = 10
};

using K = ControlKind;

// One row of a panel: its label, the count it shows and, for a collection,
// its value.
struct SummaryRow {
    const char *label;
    const Long *entries;
    std::int64_t (*value)(); // null: no value shown
    bool total = false;      // subtotal and total rows show 0.00 for zero
};

const SummaryRow leftRows[] = {
    {"Items:", &EntryItems, [] { return Hkv.InventoryItems.cents(); }},
    {"Location:", &EntryLocations, nullptr},
    {"Books:", &EntryBooks, [] { return Hkv.InventoryBooks.cents(); }},
    {"Book Category:", &EntryBooksCategory, nullptr},
    {"Video:", &EntryVideo, [] { return Hkv.InventoryVideo.cents(); }},
    {"Video Titles:", &EntryVideoTitle, nullptr},
    {"Subtotal:", &SubTotalEntries, [] { return SubTotalValue.cents(); }, true},
};
const SummaryRow rightRows[] = {
    {"Software:", &EntrySoftware, [] { return Hkv.InventoryDisks.cents(); }},
    {"Music:", &EntryMusic, [] { return Hkv.InventoryMusic.cents(); }},
    {"Music Titles:", &EntryMusicTitle, nullptr},
    {"Magazine:", &EntryMagazine, [] { return Hkv.InventoryMagazine.cents(); }},
    {"Magazine Category:", &EntryMagazineCategory, nullptr},
    {"Magazine Articles:", &EntryMagazineArticles, nullptr},
    {"Totals:", &TotalEntries, [] { return TotalValue.cents(); }, true},
};
constexpr int kRows = 7;

// Controls of row r of a panel p (0 left, 1 right): label, entries, value.
int rowControl(int panel, int row, int column)
{
    return FirstRow + (panel * kRows + row) * 3 + column;
}

const SummaryRow &rowOf(int panel, int row)
{
    return panel == 0 ? leftRows[row] : rightRows[row];
}

const WindowLayout &summaryLayout()
{
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.title = "Summary of Hearthkeep Listing";
        // Each column as wide as the largest figure it can show; the
        // attachments' line below the panels adds to the design's height.
        constexpr int panelWidth = 190, entriesX = 74, entriesWidth = 48, valueX = 124,
                      valueWidth = 60;
        w.size = QSize(6 + 2 * panelWidth + 4 + 6, 150);
        w.kind = WindowKind::FrameChild;
        for (int p = 0; p < 2; ++p) {
            const int x = 6 + p * (panelWidth + 4);
            w.controls.push_back({.id = p == 0 ? LeftPanel : RightPanel,
                                  .kind = K::Group,
                                  .design = {x, 4, panelWidth, 106}});
            const int captionY = 14;
            w.controls.push_back({.id = 100 + p * 3,
                                  .kind = K::Display,
                                  .design = {x + 6, captionY, 66, 10},
                                  .text = "File:"});
            w.controls.push_back({.id = 101 + p * 3,
                                  .kind = K::Display,
                                  .design = {x + entriesX, captionY, entriesWidth, 10},
                                  .text = "Entries:",
                                  .flags = FlagRight});
            w.controls.push_back({.id = 102 + p * 3,
                                  .kind = K::Display,
                                  .design = {x + valueX, captionY, valueWidth, 10},
                                  .text = "Value:",
                                  .flags = FlagRight});
            for (int r = 0; r < kRows; ++r) {
                const SummaryRow &row = rowOf(p, r);
                const int y = 28 + r * 11 + (row.total ? 3 : 0);
                w.controls.push_back({.id = rowControl(p, r, 0),
                                      .kind = K::Display,
                                      .design = {x + 6, y, 66, 10},
                                      .text = row.label});
                w.controls.push_back({.id = rowControl(p, r, 1),
                                      .kind = K::Display,
                                      .design = {x + entriesX, y, entriesWidth, 10},
                                      .picture = row.total ? "n11" : "n10",
                                      .flags = FlagRight});
                if (row.value)
                    // A total shows 0.00 and is wide enough for every sum.
                    w.controls.push_back({.id = rowControl(p, r, 2),
                                          .kind = K::Display,
                                          .design = {x + valueX, y, valueWidth, 10},
                                          .picture = row.total ? "n14.2" : "n12.2B",
                                          .flags = FlagRight});
            }
        }
        w.controls.push_back({.id = AttachmentsLabel,
                              .kind = K::Display,
                              .design = {12, 114, 100, 10},
                              .text = "Photos and documents:"});
        w.controls.push_back({.id = AttachmentsShown,
                              .kind = K::Display,
                              .design = {112, 114, w.size.width() - 12 - 112, 10},
                              .text = ""});
        w.controls.push_back({.id = CloseButton,
                              .kind = K::Button,
                              .design = {(w.size.width() - 50) / 2, 130, 50, 14},
                              .text = "Close",
                              .tip = "Close Active Window",
                              .message = "Click to Close Active Window",
                              .flags = FlagDefault | FlagCancel});
        return w;
    }();
    return layout;
}

} // namespace

void takeInventoryCounts()
{
    auto count = [](Table &t) { return static_cast<Long>(t.records()); };
    EntryItems = count(Items);
    EntryLocations = count(ItemsRooms);
    EntryBooks = count(Books);
    EntryBooksCategory = count(BookCategory);
    EntryVideo = count(VideoNumber);
    EntryVideoTitle = count(Video);
    EntrySoftware = count(SoftWare);
    EntryMusic = count(MusicNumber);
    EntryMusicTitle = count(Music);
    EntryMagazine = count(MagName);
    EntryMagazineArticles = count(MagArticle);
    EntryMagazineCategory = count(MagCategory);
}

void addInventoryTotals()
{
    SubTotalEntries = EntryItems + EntryLocations + EntryBooks + EntryBooksCategory + EntryVideo +
                      EntryVideoTitle;
    TotalEntries = SubTotalEntries + EntrySoftware + EntryMusic + EntryMusicTitle + EntryMagazine +
                   EntryMagazineArticles + EntryMagazineCategory;
    SubTotalValue.setCents(Hkv.InventoryItems.cents() + Hkv.InventoryBooks.cents() +
                           Hkv.InventoryVideo.cents());
    TotalValue.setCents(SubTotalValue.cents() + Hkv.InventoryDisks.cents() +
                        Hkv.InventoryMusic.cents() + Hkv.InventoryMagazine.cents());
}

FileSummary::FileSummary() : Procedure(QStringLiteral("FileSummary")) {}

QCoro::Task<> FileSummary::run()
{
    const Long request = GlobalRequest;
    // Announced before the claim: a second summary, which brings the first
    // one forward and goes, comes and goes for the frame too.
    WindowLife *life = WindowLife::begin(
        *this, {.section = "FileSummary",
                .claim = request != SelectRecord ? &FileSummaryThread : nullptr,
                .hold = holdTables({&BookCategory, &Books, &HearthkpValue, &Items, &ItemsRooms,
                                    &MagArticle, &MagCategory, &MagName, &Music, &MusicNumber,
                                    &SoftWare, &Video, &VideoNumber}),
                .notices = FrameNotices::FromStart});
    if (!life) {
        GlobalResponse = RequestCancelled;
        co_return;
    }
    GlobalRequest = RequestNone;
    GlobalResponse = 0;
    // The running totals are in the one record; without it the buffer keeps
    // what it holds.
    const HearthkpValueRecord held = Hkv;
    if (HearthkpValue.setByFileOrder() != NoError || HearthkpValue.next() != NoError) Hkv = held;
    takeInventoryCounts();

    content_ = BuiltWindow::build(summaryLayout()).release();
    QWidget *w = openDocument(content_);
    life->open(w, content_);
    QObject::connect(content_->controlAs<QPushButton>(CloseButton), &QPushButton::clicked, w,
                     &QWidget::close);

    addInventoryTotals();
    display();
    content_->controlAs<QPushButton>(CloseButton)->setFocus();

    co_await untilClosed();
    content_ = nullptr;
    GlobalResponse = RequestCancelled;
}

void FileSummary::display()
{
    if (!content_) return;
    // Read afresh each time: another station's files count as soon as they
    // are stored.
    AttachmentTotals files;
    const bool read = attachmentTotals(DataFile::program(), files) == NoError;
    content_->setValue(
        AttachmentsShown,
        read
            ? QStringLiteral("%1 (%2)").arg(files.count).arg(sizeInWords(files.bytes)).toStdString()
            : std::string("not available"));
    for (int p = 0; p < 2; ++p)
        for (int r = 0; r < kRows; ++r) {
            const SummaryRow &row = rowOf(p, r);
            content_->setValue(rowControl(p, r, 1), std::int64_t{*row.entries});
            if (row.value) content_->setValue(rowControl(p, r, 2), Hundredths{row.value()});
        }
}

bool FileSummary::handlePosted(QEvent::Type type)
{
    const bool handled = Procedure::handlePosted(type);
    if (type == Notice::gainFocus()) display();
    return handled;
}

} // namespace hk
