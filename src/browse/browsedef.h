// What one list window is, as data for the browse engine: its table and
// lookups, the fields of a row, one sort order per tab, the value total, and
// the window's layout with the numbers of the controls the engine drives.
// Every list window of the program is one of these fed to the one engine.
#pragma once

#include "dictionary/tabledef.h"
#include "dictionary/tables.h"
#include "dictionary/types.h"
#include "platform/picture.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hk
{

class View;

// A field's value in its table's record buffer.
PictureValue bufferValue(const FieldRef &field);

struct BrowseSort {
    int number;           // the sort order's number (1 to 3)
    KeyId key;            // the key the records are read in
    int tab = 0;          // the Tab control that selects it
    int locator = 0;      // its locator entry, 0 for none
    std::string format{}; // list format on this tab; empty: the list's declared one
    // A list without a locator entry leaves its key field in the buffer as
    // the highlighted record has it (a year stays the year shown).
    bool clearsLocator = true;
    // Keeps the view to some records: a fixed condition with bound values.
    std::function<void(View &)> filter{};
    // Whether the key distribution spans the records the filter keeps, or
    // all the records it filters: the ends of a search's matches can take
    // reading most of the table to find, the ends of the table two reads.
    bool filteredEnds = true;
    // The parent's identifier that fixes the key's first component (a child
    // list); also given to records inserted from this tab.
    std::optional<FieldRef> range{};
    // The child's reference field when the range is kept by a filter on it
    // instead of by the key's first component.
    std::optional<FieldRef> rangeField{};
    int total = 0; // the display of the value total on this tab, 0 for none
};

// A display of the window that shows a field of the highlighted record.
struct BrowseDisplay {
    int control;
    FieldRef field;
};

// A button that runs another procedure: a child list called on the list's
// own thread (the list waits and is refreshed after), or a window started
// beside it.
struct BrowseAction {
    int control;
    ProcedureFactory procedure;
    bool call = true;
};

// A value outside the record buffers that each row keeps as it was when the
// row was read, and gives back when the user highlights the row (a search's
// text and case rule).
struct RowExtra {
    std::function<PictureValue()> get;
    std::function<void(const PictureValue &)> set;
};

struct BrowseDef {
    std::string procedure; // name, settings section and help context
    TableId main;
    // Lookups joined through their identifier: (table, main table's field).
    std::vector<std::pair<TableId, std::string>> joins{};
    // The fields a row holds, in the order the list formats number them
    // (#1# is the first); the identifiers are added by the engine.
    std::vector<FieldRef> fields{};
    std::vector<BrowseSort> sorts{}; // in tab order; the first is shown at opening
    std::vector<TableId> tables{};   // opened at start, in this order
    // The child list of a linked window keeps no key distribution: its thumb
    // is not positioned and a drag acts only at the ends.
    bool distribution = true;
    std::optional<FieldRef> total{}; // the field of HearthkpValue shown, if any

    WindowLayout layout{};
    int list = 0;
    int sheet = 0;
    int select = 0; // buttons, 0 where the window has none
    int insert = 0;
    int change = 0;
    int remove = 0;
    int close = 0;
    int help = 0;
    std::vector<BrowseDisplay> displays{};
    std::vector<int> unbuilt{}; // buttons whose procedure does not exist yet: disabled
    std::vector<BrowseAction> actions{};
    std::vector<RowExtra> rowExtras{};
    // Each row shows whether its record holds photos or papers: the counts
    // are read for the rows of the page only, from the attachments' index.
    bool marksAttachments = false;
    // The window's title made when it opens, and when a refresh leaves the
    // list empty (the layout's title, and no change, where these are empty).
    std::function<std::string()> openTitle{};
    std::function<std::string()> emptyTitle{};
    Long *claim = nullptr; // the one-window claim of this browse kind

    bool updates() const { return insert != 0; } // false: a view-only list
};

} // namespace hk
