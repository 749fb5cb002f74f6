// RPTITEMINSURANCE: what an insurer asks for after a loss. The household
// items location by location, each with the thumbnails of its photos, its
// description, serial number, quantity and value; each location's count and
// value, the grand total, and the owner with the date where it begins. Its
// selection window takes one location or all of them.
#include "dictionary/globals.h"
#include "platform/data/attachments.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/view.h"
#include "reports/catalogue/insuranceselect.h"
#include "reports/standardbands.h"

#include <memory>

namespace hk
{

namespace
{

enum Totals { AllCount, AllValue, LocationCount, LocationValue };
constexpr int kShown = 4;           // thumbnails beside an item
constexpr double kThumb = 17;       // mm, square
constexpr double kFirstThumb = 126; // mm from the body's left edge

// The current item's files, read once per item as its detail prints. Each
// run keeps its own: a file added since the last run shows in the next, and
// a page drawn again shows what it showed the first time.
class ItemFiles
{
  public:
    const ItemFiles &of(std::int64_t item);
    std::string moreText() const;
    StoredPicture photo(int k) const
    {
        return k < int(photos_.size()) ? photos_[std::size_t(k)] : StoredPicture{};
    }

  private:
    std::int64_t item_ = -1;
    std::vector<StoredPicture> photos_;
    int documents_ = 0;
};

const ItemFiles &ItemFiles::of(std::int64_t item)
{
    if (item_ == item) return *this;
    item_ = item;
    photos_.clear();
    documents_ = 0;
    std::vector<AttachmentInfo> list;
    listAttachments(DataFile::program(), TableId::Items, item, list);
    for (const AttachmentInfo &a : list) {
        if (a.mediaType == kMediaPdf) {
            ++documents_;
            continue;
        }
        StoredPicture picture{a.id, {}};
        // Only the thumbnails printed are read; they travel in the page,
        // which may be painted where the data file is not to be read.
        if (photos_.size() < std::size_t(kShown))
            readThumbnail(DataFile::program(), a.id, picture.bytes);
        photos_.push_back(std::move(picture));
    }
    return *this;
}

std::string ItemFiles::moreText() const
{
    std::string text;
    const int more = int(photos_.size()) - kShown;
    if (more > 0) text = "+" + std::to_string(more) + (more == 1 ? " more photo" : " more photos");
    if (documents_ > 0)
        text += (text.empty() ? "" : ", ") + std::to_string(documents_) +
                (documents_ == 1 ? " document" : " documents");
    return text;
}

ReportLayout insuranceLayout(const ReportTexts &texts)
{
    const ReportFont d = Fonts::detail, h = Fonts::heading, g = Fonts::groupField;
    ReportLayout l;
    l.job = texts.job;
    auto files = std::make_shared<ItemFiles>();
    l.pageHeader = pageHeaderBand(
        texts, {textAt(2, 0, "Item/Description", h), textAt(62, 0, "Serial No", h),
                textAt(100, 0, "Quantity", h, Align::Right),
                textAt(122, 0, "Value", h, Align::Right), textAt(kFirstThumb, 0, "Photos", h)});
    l.detail.height = 20;
    l.detail.controls = {
        fieldAt(2, 1, "s20", textOf(Itm.Items), Fonts::groupField),
        fieldAt(62, 1, "s15", textOf(Itm.SerialNumber), d),
        fieldAt(88, 1, "n4B", numberOf(Itm.Quantity), d, Align::Right),
        fieldAt(100, 1, "n10.2B", amountOf(Itm.Values), d, Align::Right),
        fieldAt(2, 6, "s35", textOf(Itm.Description), d),
        fieldAt(
            2, 11, "s40", [files] { return PictureValue{files->of(Itm.ItemsId).moreText()}; }, d),
    };
    for (int k = 0; k < kShown; ++k)
        l.detail.controls.push_back(
            imageAt(kFirstThumb + k * (kThumb + 1), 1, kThumb, kThumb,
                    [files, k] { return files->of(Itm.ItemsId).photo(k); }));
    l.totals = {{TotalKind::Count},
                {TotalKind::Sum, [] { return Itm.Values.cents(); }},
                {TotalKind::Count, {}, 1},
                {TotalKind::Sum, [] { return Itm.Values.cents(); }, 1}};

    // The whole inventory is one group: its header opens the first page with
    // the owner and the date, its footer ends the last with the grand total.
    GroupDef all;
    all.breakValue = [] { return std::string(); };
    all.header.height = 24;
    all.header.controls = {
        textAt(2, 2, "Prepared for:", h),
        fieldAt(
            30, 2, "s25", [name = texts.ownerName] { return PictureValue{name}; },
            Fonts::titleLine),
        fieldAt(
            30, 8, "s55", [address = texts.ownerAddress] { return PictureValue{address}; },
            Fonts::titleLine),
        textAt(150, 2, "Date:", h),
        fieldAt(
            165, 2, "D5", [date = std::int64_t(PrintDate)] { return PictureValue{date}; },
            Fonts::titleLine, Align::Right),
        ruleAt(18),
    };
    all.footer =
        totalsBand({textAt(2, 0, "Grand Total:", g), totalAt(100, 0, "n12.2B", AllValue, g),
                    textAt(126, 0, "Items:", g), totalAt(150, 0, "n10", AllCount, g)},
                   14);
    GroupDef location;
    location.breakValue = [] { return ItmRom.Rooms.str(); };
    location.header.height = 8;
    location.header.controls = {fieldAt(2, 1, "s30", textOf(ItmRom.Rooms), g)};
    location.footer = totalsBand(
        {textAt(2, 0, "Value of Location:", d), totalAt(100, 0, "n12.2B", LocationValue, d),
         textAt(126, 0, "Items:", d), totalAt(150, 0, "n10", LocationCount, d)},
        14);
    l.groups = {std::move(all), std::move(location)};
    return l;
}

} // namespace

ReportDefinition insuranceReport(const QString &name)
{
    ReportDefinition r;
    r.name = name;
    r.caption = r.texts.job = "Insurance inventory";
    r.texts.subtitle = "Inventory of household items for insurance";
    r.texts.heading = "Insurance Inventory";
    r.warningName = "Items";
    r.opens = {&Items, &ItemsRooms};
    r.primary = &Items;
    r.scanned = {&Items};
    r.select = rptSelectInsurance;
    // Every location, or the one the selection left in its buffer.
    r.source = []() -> std::unique_ptr<RecordSource> {
        if (ItmRom.RoomsId == 0)
            return std::make_unique<NestedSource>(ItemsRooms, ItmRom.DisplayByRooms, Items,
                                                  Itm.Foreign_Rooms,
                                                  [] { return std::int64_t(ItmRom.RoomsId); });
        auto s = std::make_unique<ViewSource>(Items, Itm.Foreign_Rooms);
        s->view().range({Value(std::int64_t(ItmRom.RoomsId))});
        return s;
    };
    r.layout = insuranceLayout;
    return r;
}

} // namespace hk
