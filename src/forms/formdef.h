// An update form as data: its table, window, fields, checks, lookup and
// running total. One engine runs every form from such an entry.
#pragma once

#include "dictionary/tabledef.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hk
{

// Option: radio buttons, one per choice, storing the chosen text.
enum class FormControl { Entry, Lookup, LookupButton, Display, DropList, Option };

struct FormField {
    FormControl kind;
    std::string prompt;  // "&Item:"; empty for none
    std::string field;   // "ITM:ITEMS"; may name another table's field for a display
    std::string picture; // "s20", "n10B" ...
    std::string message; // status-bar text
    std::string tip;
    std::string choices; // drop lists and options: "Hardcover|Softcover|Ringbind"
};

// Checked in order when OK is pressed: a blank text or a zero number fails.
struct RequiredCheck {
    std::string field;
    std::string title;
    std::string text;
};

// A field holding a parent's identifier, checked against the parent table
// and filled from its pick list.
struct LookupDef {
    std::string field;     // "Itm:RoomsId"
    TableId parent;        // looked up by its Primary key
    std::string pickList;  // "PickLocation"
    std::string warnText;  // "Unique Rooms Identifier" (warning 11)
    std::string skipAfter; // when this field is accepted and the lookup is set, skip it
};

// A unique name or number the form refuses itself before writing.
struct DuplicateCheck {
    KeyId key;
    std::string prefix;      // "The Location: "
    std::string title;       // "Please enter another Location"
    bool beforeTotal = true; // checked before the running total is touched
};

struct RunningTotal {
    std::string valueField; // "ITM:VALUES"
    std::string totalField; // "HKV:INVENTORYITEMS"
};

// Keys tested, in order, when an insert fails with a duplicate key, and the
// label warning 24 names for each.
struct KeyLabel {
    KeyId key;
    std::string label;
};

// A field of a new record copied from the parent record the calling list holds.
struct Priming {
    std::string field; // "VID:VIDEOACTOR"
    std::string from;  // "VIDNUM:VIDEOACTOR"
};

// A user-visible running number besides the identifier: the last record's
// by its key, plus 1.
struct SecondNumber {
    std::string field; // "VIDNUM:VIDEONUMBER"
    KeyId key;         // whose first component is that field
};

// A parent record shown by the form, read by its Primary key from the
// identifier in the form's record (cleared when there is none).
struct ParentShown {
    TableId parent;
    std::string field; // "VID:VIDEONUMBERID"
};

// Done when the user leaves `field` after typing into it.
struct AcceptRule {
    std::string field;
    std::function<void(class FormCore &)> apply;
};

struct FormDef {
    std::string name; // procedure and settings section: "UpdateItems"
    TableId table;
    std::string caption;     // the layout's caption, replaced at opening
    int width, height;       // design size in dialog units, also the minimum
    std::string namingField; // goes into a change or delete caption
    std::vector<TableId> tables;
    bool notesKey = false; // calls NoteKeyBeforeChange at opening
    // Warning 38 instead of 15 on a change elsewhere, and Ctrl+' in each
    // editable field brings back what was last offered for it.
    bool recall = false;
    std::vector<FormField> fields{};
    std::vector<RequiredCheck> required{};
    std::optional<LookupDef> lookup{};
    std::optional<DuplicateCheck> duplicate{};
    std::optional<RunningTotal> total{};
    std::vector<KeyLabel> insertKeys{};
    std::vector<Priming> primes{};
    std::optional<SecondNumber> secondNumber{};
    std::vector<ParentShown> parents{};
    std::vector<AcceptRule> rules{};
    // A "Photos" part: the record's photos and papers, stored with OK.
    bool photos = false;
};

// The software, video and music forms.
std::vector<FormDef> collectionForms();
// The forms of the magazine archive.
std::vector<FormDef> magazineForms();

// Every form of the catalogue.
const std::vector<FormDef> &allForms();
// The forms of the catalogue, by name; nullptr when none is built by that name.
const FormDef *findForm(std::string_view name);
// The form that edits a table, or nullptr.
const FormDef *formFor(TableId table);

} // namespace hk
