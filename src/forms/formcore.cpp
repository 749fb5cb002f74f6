#include "forms/formcore.h"

#include "dictionary/globals.h"
#include "forms/ditto.h"
#include "forms/formrules.h"
#include "integrity/checked.h"
#include "integrity/warnings.h"
#include "platform/data/attachments.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/placeholders.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"

#include <cstring>

namespace hk
{

namespace
{

const char *requestWord(Long request)
{
    switch (request) {
    case InsertRecord:
        return "New";
    case ChangeRecord:
        return "Change";
    default:
        return "Delete";
    }
}

} // namespace

FormCore::FormCore(const FormDef &def)
    : def_(def), table_(hk::table(def.table)), record_(table_.def().recordSize),
      opening_(table_.def().recordSize)
{
}

FormCore::~FormCore()
{
    close();
}

bool FormCore::open()
{
    request_ = GlobalRequest;
    GlobalRequest = 0;
    GlobalResponse = 0;
    response_ = RequestCancelled;
    for (TableId t : def_.tables)
        if (!tables_.use({&hk::table(t)})) return false;
    const TableDef &td = table_.def();
    if (def_.notesKey) noted_ = NoteKeyBeforeChange(table_);
    row_ = table_.currentRow();
    td.copy(opening_.data(), table_.buffer());
    if (request_ == InsertRecord && !number()) return false;
    td.copy(record_.data(), table_.buffer());
    if (def_.total) valueAtOpening_ = integer(fieldNamed(def_.total->valueField));
    // Only the list: the thumbnails are read as the window shows them.
    if (def_.photos && attachments_.load(table_.file(), td.id, identifier()) != NoError) {
        CaptureFileError();
        WarnUser(35, kAttachmentsTable);
    }
    return true;
}

std::int64_t FormCore::identifier() const
{
    return field::integer(table_.def().fields.at(0), record_.data());
}

// The last record's value of the second running number, plus 1 (1 for an
// empty table), set in the buffer: one read from the end of its key.
int FormCore::numberSecond()
{
    const SecondNumber &second = *def_.secondNumber;
    const TableDef &td = table_.def();
    std::vector<unsigned char> primed(td.recordSize);
    td.copy(primed.data(), table_.buffer());
    table_.set(second.key);
    int code = table_.previous();
    const FieldRef f = fieldNamed(second.field);
    const std::int64_t last = code == NoError ? field::integer(f.def(), table_.buffer()) : 0;
    td.copy(table_.buffer(), primed.data());
    if (code != NoError && code != NoMoreRecords) return code;
    field::setInteger(f.def(), table_.buffer(), last + 1);
    return NoError;
}

bool FormCore::number()
{
    // A child's new record starts from its parent, as the calling list holds it.
    for (const Priming &p : def_.primes) {
        const FieldRef to = fieldNamed(p.field), from = fieldNamed(p.from);
        const void *parent = hk::table(from.table).buffer();
        if (to.def().isText())
            field::setText(to.def(), table_.buffer(), field::text(from.def(), parent));
        else
            field::setInteger(to.def(), table_.buffer(), field::integer(from.def(), parent));
    }
    // The caller left the buffer primed; numbering keeps it and adds it,
    // noted as this station's placeholder in the same transaction.
    DataFile &file = table_.file();
    for (;;) {
        Transaction txn(file);
        int code = txn.begin();
        if (code == NoError && def_.secondNumber) {
            if (code = numberSecond(); code != NoError) {
                RollBackAndWarn(txn, 35, table_.def().label);
                return false;
            }
        }
        if (code == NoError) code = autoNumber(table_);
        if (code == NoError) code = notePlaceholder(file, table_.def(), table_.currentRow());
        if (code == NoError) code = txn.commit();
        if (code == NoError) break;
        if (RollBackAndWarn(txn, 25) != ButtonRetry) return false;
    }
    row_ = table_.currentRow();
    placeholderId_ = field::integer(table_.def().fields[0], table_.buffer());
    placeholder_ = true;
    return true;
}

bool FormCore::releasePlaceholder()
{
    if (!placeholder_ || response_ == RequestCompleted) return true;
    for (;;) {
        const int result = DeletePlaceholderChecked(table_, row_, placeholderId_);
        referred_ = result == StillReferenced;
        if (referred_) return false;
        // A removal that keeps failing is reported and left noted: once this
        // station has ended, the next opening of the table removes it.
        if (result == Deleted || WarnUser(18) != ButtonYes) break;
    }
    placeholder_ = false;
    return true;
}

std::string FormCore::caption() const
{
    std::string caption = requestWord(request_);
    if (request_ == InsertRecord) return caption + "  (New)";
    FieldRef naming = fieldNamed(def_.namingField);
    std::string name = naming.def().isText() ? std::string(trimRight(text(naming)))
                                             : std::to_string(integer(naming));
    return caption + "  (" + name + ")";
}

std::string FormCore::text(const FieldRef &f) const
{
    const void *rec = f.table == table_.def().id ? record_.data() : hk::table(f.table).buffer();
    return std::string(field::text(f.def(), rec));
}

std::int64_t FormCore::integer(const FieldRef &f) const
{
    const void *rec = f.table == table_.def().id ? record_.data() : hk::table(f.table).buffer();
    return field::integer(f.def(), rec);
}

void FormCore::setText(const FieldRef &f, std::string_view value)
{
    void *rec = f.table == table_.def().id ? record_.data() : hk::table(f.table).buffer();
    field::setText(f.def(), rec, value);
}

void FormCore::setInteger(const FieldRef &f, std::int64_t value)
{
    void *rec = f.table == table_.def().id ? record_.data() : hk::table(f.table).buffer();
    field::setInteger(f.def(), rec, value);
}

void FormCore::toShared()
{
    table_.def().copy(table_.buffer(), record_.data());
}

void FormCore::fromShared()
{
    table_.def().copy(record_.data(), table_.buffer());
}

namespace
{
// Reads a parent by its identifier into its buffer; cleared when not found.
bool readParent(TableId id, std::int64_t identifier)
{
    Table &parent = hk::table(id);
    parent.def().clear(parent.buffer());
    field::setInteger(parent.def().fields[0], parent.buffer(), identifier);
    if (parent.get(KeyId{id, 0}) == NoError) return true;
    parent.def().clear(parent.buffer());
    return false;
}
} // namespace

bool FormCore::lookupFound()
{
    if (!def_.lookup) return true;
    return readParent(def_.lookup->parent, integer(fieldNamed(def_.lookup->field)));
}

void FormCore::readParents()
{
    for (const ParentShown &p : def_.parents)
        readParent(p.parent, integer(fieldNamed(p.field)));
}

bool FormCore::recallField(const FieldRef &f)
{
    const void *attempt = def_.recall ? lastAttempt(def_) : nullptr;
    if (!attempt || f.table != table_.def().id) return false;
    if (f.def().isText())
        field::setText(f.def(), record_.data(), field::text(f.def(), attempt));
    else
        field::setInteger(f.def(), record_.data(), field::integer(f.def(), attempt));
    return true;
}

int FormCore::failingRequired() const
{
    return hk::failingRequired(def_, record_.data());
}

bool FormCore::changed() const
{
    for (const auto &f : table_.def().fields)
        if (!field::equal(f, record_.data(), opening_.data())) return true;
    return false;
}

std::int64_t FormCore::valueNow() const
{
    return def_.total ? integer(fieldNamed(def_.total->valueField)) : 0;
}

// Adds delta to the collection's total in the first HearthkpValue record,
// inside the transaction the caller has begun.
int FormCore::adjustTotal(std::int64_t delta)
{
    return def_.total ? addToRunningTotal(HearthkpValue, *def_.total, delta) : NoError;
}

bool FormCore::refuseTotalPastMaximum()
{
    if (!def_.total) return false;
    const std::int64_t delta = request_ == InsertRecord   ? valueNow()
                               : request_ == ChangeRecord ? valueNow() - valueAtOpening_
                                                          : -valueNow();
    // Unread, the write's own check decides (and says why).
    const std::optional<std::int64_t> now = runningTotalNow(HearthkpValue, *def_.total);
    const auto past = now ? totalPastMaximum(*def_.total, *now, delta) : std::nullopt;
    if (!past) return false;
    WarnUser(43, past->total, past->amountAndMaximum());
    return true;
}

bool FormCore::refuseDuplicate()
{
    if (!def_.duplicate) return false;
    toShared();
    table_.setCurrent(row_, nullptr);
    if (!table_.duplicate(def_.duplicate->key)) return false;
    message(duplicateMessage(*def_.duplicate, record_.data()), def_.duplicate->title,
            MessageIcon::Exclamation);
    return true;
}

FormCore::Outcome FormCore::complete()
{
    // What the user offered, for Ctrl+' should another station's version
    // replace it.
    if (def_.recall) keepAttempt(def_, record_.data());
    if (refuseTotalPastMaximum()) return Outcome::StayOnFirst;
    switch (request_) {
    case InsertRecord:
        return insert();
    case ChangeRecord:
        return change();
    default:
        return remove();
    }
}

FormCore::Outcome FormCore::insert()
{
    if (refuseDuplicate()) return Outcome::StayOnDuplicate;
    DataFile &file = table_.file();
    // The total and the record are one change: both are stored or neither.
    Transaction txn(file);
    if (txn.begin() != NoError) {
        CaptureFileError();
        WarnUser(34, table_.def().label, "Insert");
        return Outcome::StayOnFirst;
    }
    int code = adjustTotal(valueNow());
    if (code == NoError) {
        toShared();
        table_.setCurrent(row_, nullptr);
        code = table_.put();
    }
    if (code == NoError && def_.photos)
        code = attachments_.store(file, table_.def().id, identifier());
    if (code == NoError) code = forgetPlaceholder(file, table_.def(), row_);
    if (code == NoError) code = txn.commit();
    if (code == NoError) {
        placeholder_ = false;
        response_ = RequestCompleted;
        return Outcome::Close;
    }
    txn.rollback(); // before any box: none may wait while the file is locked
    CaptureFileError();
    if (code == DuplicateKey) {
        for (const auto &k : def_.insertKeys)
            if (table_.duplicate(k.key)) WarnUser(24, k.label);
    } else {
        WarnUser(14);
    }
    return Outcome::StayOnFirst;
}

FormCore::Outcome FormCore::change()
{
    if (refuseDuplicate()) return Outcome::StayOnDuplicate;
    for (;;) {
        response_ = RequestCancelled;
        BusyCursor busy;
        int result = Updated;
        if (changed() || attachments_.changed()) {
            // The total, the record and its files are one change; a refusal
            // leaves nothing open when this scope ends.
            Transaction txn(table_.file());
            if (txn.begin() != NoError) {
                CaptureFileError();
                WarnUser(34, table_.def().label, "Update");
                return Outcome::StayOnFirst;
            }
            if (adjustTotal(valueNow() - valueAtOpening_) != NoError) {
                result = NotUpdated;
                RollBackAndWarn(txn, 15, table_.def().label);
            } else {
                toShared();
                table_.setCurrent(row_, opening_.data());
                result = UpdateRecordChecked(table_, def_.recall, noted_);
                // The files go with the record: stored only where it still is.
                if (result == Updated && attachments_.changed() &&
                    attachments_.store(table_.file(), table_.def().id, identifier()) != NoError) {
                    RollBackAndWarn(txn, 15, table_.def().label);
                    result = NotUpdated;
                }
                if (result == Updated && txn.commit() != NoError) {
                    RollBackAndWarn(txn, 15, table_.def().label);
                    result = NotUpdated;
                }
            }
        }
        if (result == Updated) {
            response_ = RequestCompleted;
            return Outcome::Close;
        }
        if (result == ChangedElsewhere) {
            takeStoredVersion();
            return Outcome::StayOnFirst;
        }
        if (result == RecordGone) return Outcome::Close; // nothing stored: response 2
        int button = WarnUser(16);
        if (button == ButtonYes) continue;
        if (button == ButtonNo) return Outcome::Close;
        return Outcome::StayOnFirst;
    }
}

FormCore::Outcome FormCore::remove()
{
    for (;;) {
        response_ = RequestCancelled;
        int result = NotDeleted;
        {
            BusyCursor busy;
            Transaction txn(table_.file());
            if (txn.begin() != NoError) {
                CaptureFileError();
                WarnUser(34, table_.def().label, "Delete");
            } else if (adjustTotal(-valueNow()) != NoError) {
                RollBackAndWarn(txn, 17, table_.def().label);
            } else {
                toShared();
                // Deleted only as the form shows it: a change by another
                // station meanwhile is shown first.
                table_.setCurrent(row_, opening_.data());
                result = DeleteRecordChecked(table_);
                if (result == Deleted && txn.commit() != NoError) {
                    RollBackAndWarn(txn, 17, table_.def().label);
                    result = NotDeleted;
                }
            }
        }
        if (result == Deleted) {
            response_ = RequestCompleted;
            return Outcome::Close;
        }
        if (result == ChangedElsewhere) {
            takeStoredVersion(); // a second OK deletes it, with its own value
            return Outcome::StayOnFirst;
        }
        if (result == RecordGone) return Outcome::Close;
        int button = WarnUser(18);
        if (button == ButtonYes) continue;
        if (button == ButtonNo) return Outcome::Close;
        return Outcome::StayOnFirst;
    }
}

void FormCore::takeStoredVersion()
{
    // The buffer holds the other station's version: show it, and take it as
    // the version read from now on.
    fromShared();
    table_.def().copy(opening_.data(), record_.data());
    valueAtOpening_ = valueNow();
    if (def_.notesKey) noted_ = NoteKeyBeforeChange(table_);
}

void FormCore::close()
{
    if (closed_) return;
    closed_ = true;
    // One that records refer to stays a record of its own: the station's
    // end keeps it while they do, and forgets its note. A form that goes
    // all the same after the user was told (the program ends) leaves it so
    // without telling again.
    if (!referred_) releasePlaceholder();
    placeholder_ = false;
    // The caller finds the stored record in the buffer (for a delete or a
    // cancel, the record as it was).
    if (response_ == RequestCompleted && request_ != DeleteRecord)
        toShared();
    else if (request_ != InsertRecord)
        table_.def().copy(table_.buffer(), opening_.data());
    tables_.release();
    GlobalResponse = response_;
}

} // namespace hk
