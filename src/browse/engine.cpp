#include "browse/engine.h"

#include "browse/distribution.h"
#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "integrity/warnings.h"
#include "platform/data/attachments.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/messages.h"

#include <algorithm>
#include <stdexcept>

namespace hk
{

namespace
{

// Locate modes.
enum LocateMode { LocateOnKeys = 2, LocateOnRecord = 3 };

PictureValue valueOf(const FieldDef &f, const void *record)
{
    switch (f.type) {
    case FieldType::String:
        return std::string(field::text(f, record));
    case FieldType::Decimal:
        return Hundredths{field::integer(f, record)};
    default:
        return field::integer(f, record);
    }
}

void setValue(const FieldDef &f, void *record, const PictureValue &v)
{
    if (f.isText()) {
        field::setText(f, record, std::get<std::string>(v));
        return;
    }
    std::int64_t n = 0;
    if (auto *i = std::get_if<std::int64_t>(&v))
        n = *i;
    else if (auto *h = std::get_if<Hundredths>(&v))
        n = h->cents;
    field::setInteger(f, record, n);
}

const FieldDef &defOf(const FieldRef &r)
{
    return tableDef(r.table).fields.at(static_cast<std::size_t>(r.field));
}

void *bufferOf(TableId t)
{
    return table(t).buffer();
}

} // namespace

PictureValue bufferValue(const FieldRef &r)
{
    return valueOf(defOf(r), bufferOf(r.table));
}

BrowseEngine::BrowseEngine(const BrowseDef &def, std::function<int()> pageSize)
    : def_(def), pageSize_(std::move(pageSize)), main_(table(def.main)), fields_(def.fields)
{
    // The identifiers of the record and of its lookups travel with each row,
    // so that copying a row back names the records it came from.
    auto addField = [this](FieldRef r) {
        for (const auto &f : fields_)
            if (f.table == r.table && f.field == r.field) return;
        fields_.push_back(r);
    };
    if (main_.def().hasIdentifier()) addField({def.main, 0});
    for (const auto &[lookup, mainField] : def.joins) {
        addField({lookup, 0});
        addField(FieldRef::of(def.main, mainField));
    }
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].table == def.main && fields_[i].field == 0) identifierValue_ = int(i);
    rows_.reserve(64);
    numbers_.reserve(kDistributionSize);
    texts_.reserve(kDistributionSize);
}

BrowseEngine::~BrowseEngine() = default;

int BrowseEngine::pageSize() const
{
    return std::max(1, pageSize_ ? pageSize_() : 1);
}

const std::string &BrowseEngine::format() const
{
    if (!sort().format.empty()) return sort().format;
    static const std::string none;
    const ControlLayout *list = def_.layout.control(def_.list);
    return list ? list->listFormat : none;
}

// ------------------------------------------------------------ start and end

void BrowseEngine::begin()
{
    entryRequest_ = GlobalRequest;
    response_ = RequestCancelled;
    GlobalRequest = 0;
    GlobalResponse = 0;
}

Long BrowseEngine::finish()
{
    rows_.clear();
    rows_.shrink_to_fit();
    view_.reset();
    GlobalResponse = response_ ? response_ : RequestCancelled;
    return GlobalResponse;
}

void BrowseEngine::readTotals(bool addWhenMissing)
{
    if (!def_.total) return;
    Table &values = HearthkpValue;
    values.setByFileOrder();
    const int code = values.next();
    if (code == NoMoreRecords) {
        values.def().clear(values.buffer());
        // The single totals record always exists once a list has shown it.
        if (addWhenMissing && values.add() != NoError) {
            CaptureFileError();
            WarnUser(35, values.def().label);
        }
    } else if (code != NoError) {
        CaptureFileError();
        WarnUser(35, values.def().label);
    }
}

// ------------------------------------------------------------ the view

std::unique_ptr<View> BrowseEngine::makeView(bool filtered) const
{
    const BrowseSort &s = sort();
    auto v = std::make_unique<View>(main_, s.key);
    for (const auto &[lookup, mainField] : def_.joins)
        v->join(table(lookup), mainField);
    if (s.range && !s.rangeField) v->range({Value(rangeValue())});
    if (s.filter && filtered) s.filter(*v);
    if (s.rangeField)
        v->filter(Cursor::columnRef(main_.def(), s.rangeField->field) + " = ?",
                  {Value(boundRange_)});
    return v;
}

void BrowseEngine::openView()
{
    const BrowseSort &s = sort();
    view_ = makeView(true);
    if (view_->open() != NoError) {
        // The records are still read, only without the view's limits.
        CaptureFileError();
        WarnUser(36);
        view_ = std::make_unique<View>(main_, s.key);
        for (const auto &[lookup, mainField] : def_.joins)
            view_->join(table(lookup), mainField);
        view_->open();
    }
}

void BrowseEngine::readFailed()
{
    CaptureFileError();
    WarnUser(35, main_.def().label);
    if (!stopped_) {
        stopped_ = true;
        if (onCloseRequest) onCloseRequest();
    }
}

BrowseRow BrowseEngine::makeRow() const
{
    BrowseRow row;
    row.values.reserve(fields_.size());
    for (const auto &f : fields_)
        row.values.push_back(valueOf(defOf(f), bufferOf(f.table)));
    for (const RowExtra &e : def_.rowExtras)
        row.values.push_back(e.get());
    row.position = view_->position();
    if (def_.marksAttachments && identifierValue_ >= 0) row.attachments = -1;
    return row;
}

void BrowseEngine::markAttachments()
{
    if (!def_.marksAttachments || identifierValue_ < 0) return;
    std::vector<std::int64_t> records;
    std::vector<BrowseRow *> unread;
    for (BrowseRow &row : rows_)
        if (row.attachments < 0) {
            unread.push_back(&row);
            records.push_back(
                std::get<std::int64_t>(row.values[static_cast<std::size_t>(identifierValue_)]));
        }
    if (records.empty()) return;
    std::vector<int> counts;
    // A count that cannot be read leaves the row unmarked: the list itself
    // does not depend on it.
    countAttachments(main_.file(), def_.main, records, counts);
    for (std::size_t i = 0; i < unread.size(); ++i)
        unread[i]->attachments = std::max(0, counts[i]);
}

// Reads up to count records in one direction and adds them to the page.
// Returns how many could not be read.
int BrowseEngine::fill(bool forward, int count, bool addRows)
{
    if (!view_ || count <= 0 || stopped_) return count;
    Position from;
    bool skipFirst = false;
    if (!rows_.empty()) {
        from = forward ? rows_.back().position : rows_.front().position;
        view_->reset(from);
        skipFirst = true;
    }
    const auto page = static_cast<std::size_t>(pageSize());
    int left = count;
    const int code = view_->fetch(forward, count + (skipFirst ? 1 : 0), [&] {
        if (skipFirst) {
            skipFirst = false;
            if (view_->position() == from) return;
        }
        if (left <= 0) return;
        if (addRows) {
            if (rows_.size() >= page) {
                if (forward)
                    rows_.erase(rows_.begin());
                else
                    rows_.pop_back();
            }
            if (forward)
                rows_.push_back(makeRow());
            else
                rows_.insert(rows_.begin(), makeRow());
        }
        --left;
    });
    if (code != NoError && code != NoMoreRecords) readFailed();
    markAttachments();
    // At the end of a parent's children the parent buffer names that parent
    // again, whatever was read meanwhile.
    if (code == NoMoreRecords && sort().range) {
        const FieldRef &r = *sort().range;
        field::setInteger(defOf(r), bufferOf(r.table), boundRange_);
    }
    return left;
}

// ------------------------------------------------------------ pages

void BrowseEngine::refreshPage(Anchor anchor)
{
    BusyCursor busy;
    if (!view_) openView();
    Position kept;
    if (anchor == Anchor::Record) {
        kept = view_->position();
        view_->reset(kept);
    } else if (anchor == Anchor::Kept && !rows_.empty()) {
        const std::size_t at = current_ >= 1 && static_cast<std::size_t>(current_) <= rows_.size()
                                   ? static_cast<std::size_t>(current_ - 1)
                                   : rows_.size() - 1;
        kept = rows_[at].position;
        view_->reset(rows_.front().position);
    } else {
        view_->toStart();
    }

    const bool backward = anchor == Anchor::Last;
    const int page = pageSize();
    rows_.clear();
    fill(!backward, page);
    if (!kept.empty() && static_cast<int>(rows_.size()) < page) {
        if (rows_.empty()) view_->toStart();
        fill(backward, page - static_cast<int>(rows_.size()));
    }

    if (!rows_.empty()) {
        current_ = 0;
        if (!kept.empty()) {
            for (std::size_t i = 0; i < rows_.size(); ++i)
                if (rows_[i].position == kept) current_ = static_cast<int>(i) + 1;
            if (current_ == 0) current_ = static_cast<int>(rows_.size());
        } else {
            current_ = backward ? static_cast<int>(rows_.size()) : 1;
        }
        copyToBuffers(current_);
        // The list reports the highlight it was given as a new selection.
        postNewSelection();
    } else {
        main_.def().clear(main_.buffer());
        current_ = 0;
        scrollBarShown_ = false;
    }
}

void BrowseEngine::locate(int mode)
{
    if (mode == 1) mode = LocateOnRecord;
    if (!view_) openView();
    rows_.clear();
    bool positioned = false;
    if (mode == LocateOnRecord && main_.def().hasIdentifier()) {
        // The record the form left in the buffer, found by its identifier:
        // its place in this order may have changed.
        if (main_.get(KeyId{def_.main, 0}) == NoError)
            positioned = view_->reset(main_.position(sort().key));
    }
    if (!positioned) {
        if (keyRange()) {
            const FieldDef &lead = main_.def().fields.at(
                static_cast<std::size_t>(keyDef(sort().key).components.front()));
            field::setInteger(lead, main_.buffer(), rangeValue());
        }
        view_->toKeyValues();
    }
    const int missing = fill(true, 1, false);
    refreshPage(missing > 0 ? Anchor::Last : Anchor::Record);
    postNewSelection();
}

void BrowseEngine::scroll(ListScroll how)
{
    Operation op(*this);
    if (rows_.empty() || !view_) return;
    const int page = pageSize();
    switch (how) {
    case ListScroll::RowUp:
        if (current_ > 1)
            --current_;
        else
            fill(false, 1);
        break;
    case ListScroll::RowDown:
        if (current_ < static_cast<int>(rows_.size())) {
            ++current_;
        } else {
            fill(true, 1);
            current_ = static_cast<int>(rows_.size());
        }
        break;
    case ListScroll::PageUp:
    case ListScroll::PageDown: {
        const bool down = how == ListScroll::PageDown;
        const int shortfall = fill(down, page);
        if (shortfall > 0) current_ += down ? shortfall : -shortfall;
        break;
    }
    case ListScroll::Top:
    case ListScroll::Bottom:
        rows_.clear();
        view_->toStart();
        fill(how == ListScroll::Top, page);
        current_ = how == ListScroll::Top ? 1 : static_cast<int>(rows_.size());
        break;
    }
    current_ = std::clamp(current_, rows_.empty() ? 0 : 1, static_cast<int>(rows_.size()));
    postNewSelection();
}

void BrowseEngine::highlight(int row)
{
    Operation op(*this);
    if (row < 1 || row > static_cast<int>(rows_.size())) return;
    current_ = row;
    postNewSelection();
}

void BrowseEngine::copyToBuffers(int row, bool withExtras)
{
    if (row < 1 || row > static_cast<int>(rows_.size())) return;
    const BrowseRow &r = rows_[static_cast<std::size_t>(row - 1)];
    for (std::size_t i = 0; i < fields_.size(); ++i)
        setValue(defOf(fields_[i]), bufferOf(fields_[i].table), r.values[i]);
    if (!withExtras) return;
    for (std::size_t i = 0; i < def_.rowExtras.size(); ++i)
        def_.rowExtras[i].set(r.values[fields_.size() + i]);
}

// ------------------------------------------------------------ selection

void BrowseEngine::postNewSelection()
{
    if (selectionPosted_) return;
    selectionPosted_ = true;
    if (onNewSelection) onNewSelection();
}

void BrowseEngine::handleNewSelection()
{
    Operation op(*this);
    selectionPosted_ = false;
    if (rows_.empty() || stopped_) return;
    // The highlighted row brings back what it was read under.
    copyToBuffers(current_, true);
    scrollBarShown_ = static_cast<int>(rows_.size()) >= pageSize();
    if (scrollBarShown_) computeThumb();
    refreshWindow();
}

void BrowseEngine::refreshWindow()
{
    if (onWindowRefresh)
        onWindowRefresh();
    else
        windowRefresh();
}

// Each action of the window is one operation. Without an owner that takes
// the new-selection notices, they are handled when the outermost operation
// ends, as a posted notice would be.
BrowseEngine::Operation::Operation(BrowseEngine &engine) : engine_(engine)
{
    ++engine_.depth_;
}

BrowseEngine::Operation::~Operation()
{
    if (--engine_.depth_ > 0 || engine_.onNewSelection) return;
    if (engine_.selectionPosted_) engine_.handleNewSelection();
}

void BrowseEngine::windowRefresh(Refresh how)
{
    Operation op(*this);
    checkOrder(how);
    endRefresh();
}

void BrowseEngine::checkOrder(Refresh how)
{
    Operation op(*this);
    if (stopped_) return;
    if (def_.total) readTotals(false);
    checkSortOrder(how);
}

void BrowseEngine::endRefresh()
{
    if (stopped_) return;
    shownThumb_ = std::min(thumb_, kDistributionSize);
    // The locator entry edits this field and should start empty.
    if (sort().clearsLocator) clearLocatorField();
    const FieldDef &f = main_.def().fields.at(static_cast<std::size_t>(locatorField()));
    locatorValue_ = valueOf(f, main_.buffer());
}

void BrowseEngine::checkSortOrder(Refresh how)
{
    previousSortOrder_ = sortOrder_;
    bool rangeChanged = false;
    sortOrder_ = sort().number;
    if (sort().range && sortOrder_ == previousSortOrder_ && rangeValue() != boundRange_)
        rangeChanged = true;
    if (sortOrder_ != previousSortOrder_ || rangeChanged || how == Refresh::ReadAgain) {
        if (sort().range) boundRange_ = rangeValue();
        reread();
        openView();
        if (previousSortOrder_ == 0) {
            // A select-mode list opens on the record its caller placed.
            if (selectMode())
                locate(LocateOnKeys);
            else
                refreshPage(Anchor::First);
        } else if (rangeChanged) {
            refreshPage(Anchor::First);
        } else {
            locate(LocateOnKeys);
        }
        copyToBuffers(current_);
        buildDistribution();
    } else {
        copyToBuffers(current_);
    }
}

void BrowseEngine::changeTab(int index)
{
    Operation op(*this);
    if (index < 0 || index >= static_cast<int>(def_.sorts.size()) || index == tab_) return;
    tab_ = index;
    refreshWindow();
    // The new order is shown from its first page.
    scroll(ListScroll::Top);
}

void BrowseEngine::reread()
{
    if (!view_ || current_ < 1 || current_ > static_cast<int>(rows_.size())) return;
    const BrowseRow &row = rows_[static_cast<std::size_t>(current_ - 1)];
    copyToBuffers(current_);
    main_.watch();
    const int code = main_.reget(row.position);
    // A record deleted meanwhile keeps what the row held; the next refresh
    // drops it from the page.
    if (code != NoError && code != RecordNotFound) readFailed();
}

// ------------------------------------------------------------ locating

int BrowseEngine::locatorField() const
{
    const auto &components = keyDef(sort().key).components;
    const std::size_t first = keyRange() ? 1 : 0;
    return components.at(std::min(first, components.size() - 1));
}

std::int64_t BrowseEngine::rangeValue() const
{
    const FieldRef &r = *sort().range;
    return field::integer(defOf(r), bufferOf(r.table));
}

void BrowseEngine::setLocatorField(const PictureValue &value)
{
    const auto &components = keyDef(sort().key).components;
    const int locator = locatorField();
    setValue(main_.def().fields.at(static_cast<std::size_t>(locator)), main_.buffer(), value);
    // The components after it must not hold the highlighted record's values:
    // locating is by the typed value alone.
    bool after = false;
    for (int c : components) {
        const FieldDef &f = main_.def().fields.at(static_cast<std::size_t>(c));
        if (after) {
            if (f.isText())
                field::setText(f, main_.buffer(), "");
            else
                field::setInteger(f, main_.buffer(), 0);
        }
        if (c == locator) after = true;
    }
}

void BrowseEngine::clearLocatorField()
{
    const FieldDef &f = main_.def().fields.at(static_cast<std::size_t>(locatorField()));
    if (f.isText())
        field::setText(f, main_.buffer(), "");
    else
        field::setInteger(f, main_.buffer(), 0);
}

void BrowseEngine::locatorAccepted(const PictureValue &value)
{
    Operation op(*this);
    if (auto *s = std::get_if<std::string>(&value); s && trimRight(*s).empty()) return;
    if (auto *i = std::get_if<std::int64_t>(&value); i && *i == 0) return;
    setLocatorField(value);
    locate(LocateOnKeys);
}

void BrowseEngine::dragThumb(int p)
{
    Operation op(*this);
    if (rows_.empty()) return;
    if (p <= 1) {
        scroll(ListScroll::Top);
        return;
    }
    if (p >= kDistributionSize) {
        scroll(ListScroll::Bottom);
        return;
    }
    const auto at = static_cast<std::size_t>(p - 1);
    if (!numbers_.empty())
        setLocatorField(numbers_[at]);
    else if (!texts_.empty())
        setLocatorField(texts_[at]);
    else
        return; // no distribution: the view was empty when it was built
    locate(LocateOnKeys);
}

// ------------------------------------------------------------ distribution

void BrowseEngine::saveBuffers()
{
    saved_.resize(1 + def_.joins.size());
    auto keep = [](std::vector<unsigned char> &to, const Table &t) {
        to.resize(t.def().recordSize);
        t.def().copy(to.data(), t.buffer());
    };
    keep(saved_[0], main_);
    for (std::size_t j = 0; j < def_.joins.size(); ++j)
        keep(saved_[j + 1], table(def_.joins[j].first));
}

void BrowseEngine::restoreBuffers()
{
    main_.def().copy(main_.buffer(), saved_[0].data());
    for (std::size_t j = 0; j < def_.joins.size(); ++j) {
        const Table &t = table(def_.joins[j].first);
        t.def().copy(t.buffer(), saved_[j + 1].data());
    }
}

void BrowseEngine::buildDistribution()
{
    if (!view_ || !def_.distribution) return;
    const FieldDef &f = main_.def().fields.at(static_cast<std::size_t>(locatorField()));
    saveBuffers();
    std::unique_ptr<View> unfiltered;
    View *ends = view_.get();
    if (sort().filter && !sort().filteredEnds) {
        unfiltered = makeView(false);
        if (unfiltered->open() == NoError) ends = unfiltered.get();
    }
    PictureValue low, high;
    ends->toStart();
    int code = ends->fetch(false, 1, [&] { high = valueOf(f, main_.buffer()); });
    if (code == NoError) {
        ends->toStart();
        code = ends->fetch(true, 1, [&] { low = valueOf(f, main_.buffer()); });
    }
    restoreBuffers();
    if (code == NoMoreRecords) return; // an empty view keeps the table it had
    if (code != NoError) {
        readFailed();
        return;
    }
    if (f.isText()) {
        numbers_.clear();
        texts_ = textDistribution(std::get<std::string>(low), std::get<std::string>(high), f.size);
    } else {
        texts_.clear();
        auto whole = [](const PictureValue &v) {
            if (auto *h = std::get_if<Hundredths>(&v)) return h->cents;
            return std::get<std::int64_t>(v);
        };
        numbers_ = numericDistribution(whole(low), whole(high));
    }
}

void BrowseEngine::computeThumb()
{
    const FieldDef &f = main_.def().fields.at(static_cast<std::size_t>(locatorField()));
    if (f.isText()) {
        if (!texts_.empty()) thumb_ = thumbPosition(texts_, field::text(f, main_.buffer()));
    } else if (!numbers_.empty()) {
        thumb_ = thumbPosition(numbers_, field::integer(f, main_.buffer()));
    }
}

// ------------------------------------------------------------ forms

void BrowseEngine::beginFormCall(Long request)
{
    reread();
    if (request == InsertRecord) {
        main_.def().clear(main_.buffer());
        // A record inserted into a child list starts as the parent's.
        if (keyRange()) {
            const FieldDef &lead = main_.def().fields.at(
                static_cast<std::size_t>(keyDef(sort().key).components.front()));
            field::setInteger(lead, main_.buffer(), boundRange_);
        }
    }
    GlobalRequest = request;
    VCRRequest = 0;
}

void BrowseEngine::endFormCall(Long request, Long response)
{
    Operation op(*this);
    if (!view_) openView();
    if (request == DeleteRecord) {
        if (response == RequestCompleted && current_ >= 1 &&
            current_ <= static_cast<int>(rows_.size()))
            rows_.erase(rows_.begin() + (current_ - 1));
        refreshPage(Anchor::Kept);
    } else if (response == RequestCompleted) {
        locate(LocateOnRecord);
    } else {
        refreshPage(Anchor::Kept);
    }
    buildDistribution();
    postNewSelection();
    response_ = RequestCancelled;
    refreshWindow();
}

std::string BrowseEngine::popupText(bool formsAvailable) const
{
    if (!def_.updates()) return {};
    const bool some = !rows_.empty();
    std::string text = formsAvailable ? "&Insert" : "~&Insert";
    text += some && formsAvailable ? "|&Change|&Delete" : "|~&Change|~&Delete";
    if (def_.select) text += some && selectMode() ? "|-|&Select" : "|-|~&Select";
    return text;
}

} // namespace hk
