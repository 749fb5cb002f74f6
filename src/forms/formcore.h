// The update form engine without its window: opening and numbering, the
// caption, lookups, required and duplicate checks, completion with the
// running total, and closing. The form edits a copy of its own record; the
// shared record buffer is the hand-over with its caller and with the pick
// lists it calls, so another window reading the same table meanwhile cannot
// overwrite what the user is typing.
#pragma once

#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "forms/attachmentdraft.h"
#include "forms/formdef.h"
#include "integrity/checked.h"
#include "integrity/tableopen.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hk
{

class Table;

class FormCore
{
  public:
    explicit FormCore(const FormDef &def);
    ~FormCore();
    FormCore(const FormCore &) = delete;
    FormCore &operator=(const FormCore &) = delete;

    const FormDef &def() const { return def_; }
    Table &table() const { return table_; }

    // Takes the request from GlobalRequest and the record from the shared
    // buffer, uses the tables and numbers a new record (adding it as a
    // placeholder). False when the form must end at once.
    bool open();
    Long request() const { return request_; }
    std::string caption() const;

    // The form's own record.
    void *record() { return record_.data(); }
    // Its identifier, which its attachments are kept under.
    std::int64_t identifier() const;
    // The record's photos and papers as the form holds them (a form with a
    // Photos part only): stored with the record at completion.
    AttachmentDraft &attachments() { return attachments_; }
    const AttachmentDraft &attachments() const { return attachments_; }
    std::string text(const FieldRef &f) const;
    std::int64_t integer(const FieldRef &f) const;
    void setText(const FieldRef &f, std::string_view value);
    void setInteger(const FieldRef &f, std::int64_t value);

    // Hand-over through the shared buffer (to a pick list, back from it).
    void toShared();
    void fromShared();

    // The lookup field's parent exists; its record is then in the parent's
    // buffer for display (cleared when not found).
    bool lookupFound();
    // Reads the parents the form shows into their buffers.
    void readParents();
    // Ctrl+': the field's value as last offered at completion by a form of
    // this kind, back in the form's record. False when there is nothing to
    // recall.
    bool recallField(const FieldRef &f);
    // The first required check that fails, or -1.
    int failingRequired() const;

    enum class Outcome { Close, Stay, StayOnDuplicate, StayOnFirst };
    // Stores, changes or deletes the record with its warnings. Close: the
    // form is done (see response()).
    Outcome complete();

    Long response() const { return response_; }
    void setCancelled() { response_ = RequestCancelled; }
    // Removes the placeholder of an insert that did not complete. False
    // while records refer to it (the user has been told): it stays, and so
    // may the form, for the user to complete the record.
    bool releasePlaceholder();
    // Removes an unfinished placeholder, releases the tables and answers
    // the caller in GlobalResponse with the record in the shared buffer.
    void close();

  private:
    bool number();
    int numberSecond();
    bool changed() const;
    std::int64_t valueNow() const;
    int adjustTotal(std::int64_t delta);
    bool refuseDuplicate();
    // Warning 43 when the change would carry the running total past its
    // maximum; nothing is written then.
    bool refuseTotalPastMaximum();
    Outcome insert();
    Outcome change();
    Outcome remove();
    void takeStoredVersion();

    const FormDef &def_;
    Table &table_;
    TablesInUse tables_;
    Long request_ = 0;
    Long response_ = RequestCancelled;
    std::vector<unsigned char> record_;  // what the user edits
    std::vector<unsigned char> opening_; // the record as it was when the form opened
    std::int64_t row_ = 0;               // the record's row in the table
    bool placeholder_ = false;
    std::int64_t placeholderId_ = 0; // the identifier it was numbered with
    bool referred_ = false;          // its removal was refused: records refer to it
    std::int64_t valueAtOpening_ = 0;
    NotedKey noted_; // the identifier before the change, this form's alone
    AttachmentDraft attachments_;
    bool closed_ = false;
};

} // namespace hk
