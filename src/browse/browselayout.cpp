#include "browse/browselayout.h"

#include "platform/picture.h"

#include <algorithm>
#include <cctype>

namespace hk
{

namespace
{

// Width of an entry or display for a picture, in dialog units.
int widthFor(const std::string &picture)
{
    const Picture p = Picture::of(picture);
    return std::min(4 * p.width + 8, 150);
}

// Characters of a caption as shown (an '&' marks the access key).
int shownChars(const std::string &text)
{
    int n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue; // inside a UTF-8 character
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
        ++n;
    }
    return n;
}

// Room for a text, in dialog units. A unit is a quarter of the average
// letter, capitals included; words with wide letters ("Comments:") need a
// little more than that average, so four and a half units a character.
int textUnits(const std::string &text)
{
    return (9 * shownChars(text) + 1) / 2;
}

// A caption sits inside the button's frame and margins.
int buttonWidth(const std::string &caption, int least)
{
    return std::max(least, textUnits(caption) + 8);
}

int promptWidth(const std::string &prompt)
{
    return std::max(34, textUnits(prompt) + 2);
}

// The displays of the highlighted record, row by row: each row as wide as
// the window allows, text fields made narrower (not below kNarrowest) before
// a display goes to the next row, so that numbers always show whole.
constexpr int kNarrowest = 100;

struct DisplayRow {
    std::vector<const BrowseLook::Display *> displays;
    std::vector<std::vector<int>> widths; // of each display's fields
};

int rowWidth(const DisplayRow &row)
{
    int total = 0;
    for (std::size_t i = 0; i < row.displays.size(); ++i) {
        total += promptWidth(row.displays[i]->prompt) + 2;
        for (int w : row.widths[i])
            total += w + 4;
    }
    return total;
}

// Narrows the row's text fields, widest first, until it takes no more than
// `room`; false when it cannot.
bool narrowTo(DisplayRow &row, int room)
{
    for (int over = rowWidth(row) - room; over > 0; over = rowWidth(row) - room) {
        int *widest = nullptr;
        for (std::size_t i = 0; i < row.displays.size(); ++i)
            for (std::size_t f = 0; f < row.widths[i].size(); ++f) {
                const bool text =
                    Picture::of(row.displays[i]->fields[f].second).kind == PictureKind::Text;
                int &w = row.widths[i][f];
                if (text && w > kNarrowest && (!widest || w > *widest)) widest = &w;
            }
        if (!widest) return false;
        *widest = std::max(kNarrowest, *widest - over);
    }
    return true;
}

std::vector<DisplayRow> displayRows(const std::vector<BrowseLook::Display> &displays, int room)
{
    std::vector<DisplayRow> rows;
    for (const auto &d : displays) {
        std::vector<int> widths;
        for (const auto &field : d.fields)
            widths.push_back(widthFor(field.second));
        if (!rows.empty()) {
            DisplayRow tried = rows.back();
            tried.displays.push_back(&d);
            tried.widths.push_back(widths);
            if (narrowTo(tried, room)) {
                rows.back() = std::move(tried);
                continue;
            }
        }
        DisplayRow row;
        row.displays.push_back(&d);
        row.widths.push_back(std::move(widths));
        narrowTo(row, room);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

void layOutBrowse(BrowseDef &def, const BrowseLook &look)
{
    namespace C = BrowseControl;
    WindowLayout &w = def.layout;
    w = WindowLayout{};
    w.title = look.title;
    w.minimumSize = look.size;
    auto add = [&w](ControlLayout c) { w.controls.push_back(std::move(c)); };

    // Buttons along the bottom: the list's commands on the left, Select,
    // Close and Help on the right, each as wide as its caption needs. A
    // window too narrow for them all is designed wider (its least size stays).
    struct Button {
        int id;
        std::string text, tip;
        unsigned flags = FlagNone;
        int width = 0;
    };
    const int step = look.size.width() >= 300 ? 46 : 37;
    std::vector<Button> left, right;
    if (look.updates) {
        left.push_back({C::Insert, "&Insert", look.insertTip});
        left.push_back({C::Change, "&Change", "Change Highlighted Entry"});
        left.push_back({C::Delete, "&Delete", "Delete Highlighted Entry"});
    }
    int extra = C::ExtraButtonBase;
    for (const auto &b : look.extraButtons)
        left.push_back({extra++, b.text, b.tip});
    if (look.selectButton)
        right.push_back(
            {C::Select, "&Select", "Select Highlighted Entry", FlagHidden | FlagDisabled});
    right.push_back({C::Close, "Close", "Close Active Window", FlagCancel});
    right.push_back({C::Help, "Help", "View Associated Help File"});
    int needed = 8;
    for (auto *group : {&left, &right})
        for (Button &b : *group) {
            b.width = buttonWidth(b.text, step - 2);
            needed += b.width + 2;
        }
    const int W = std::max(look.size.width(), needed);
    const int H = look.size.height();
    w.size = QSize(W, H);

    const int buttonTop = H - 20;
    const std::vector<DisplayRow> rows = displayRows(look.displays, W - 8);
    const int displayTop = buttonTop - 16 * static_cast<int>(rows.size());
    const int sheetBottom = rows.empty() ? buttonTop - 4 : displayTop - 4;
    bool anyLocator = false;
    for (const auto &t : look.tabs)
        anyLocator = anyLocator || !t.locatorPicture.empty();
    const int rowsBelow = (anyLocator ? 16 : 0) + (look.totalLabel.empty() ? 0 : 16);
    const int listTop = 22;
    const int listBottom = sheetBottom - 6 - rowsBelow;

    add({.id = C::List,
         .kind = ControlKind::List,
         .design = QRect(10, listTop, W - 20, listBottom - listTop),
         .tip = "Browsing Records",
         .listFormat = look.listFormat});

    auto place = [&](Button &b, int x) {
        add({.id = b.id,
             .kind = ControlKind::Button,
             .design = QRect(x, buttonTop, b.width, 14),
             .text = b.text,
             .tip = b.tip,
             .flags = b.flags});
    };
    // Declared in this order: Select, the list's commands, then (after the
    // sheet) its other buttons, Close and Help.
    int rightX = W - 4;
    std::vector<int> rightAt(right.size());
    for (std::size_t i = right.size(); i-- > 0;) {
        rightX -= right[i].width;
        rightAt[i] = rightX;
        rightX -= 2;
    }
    if (look.selectButton) {
        place(right.front(), rightAt.front());
        def.select = C::Select;
    }
    int x = 4;
    std::size_t commands = 0;
    if (look.updates) {
        for (; commands < 3; ++commands) {
            place(left[commands], x);
            x += left[commands].width + 2;
        }
        def.insert = C::Insert;
        def.change = C::Change;
        def.remove = C::Delete;
    }

    add({.id = C::Sheet,
         .kind = ControlKind::Sheet,
         .design = QRect(4, 4, W - 8, sheetBottom - 4)});
    def.sheet = C::Sheet;
    for (std::size_t i = 0; i < look.tabs.size(); ++i) {
        const auto &t = look.tabs[i];
        const int n = static_cast<int>(i);
        add({.id = C::tab(n),
             .kind = ControlKind::Tab,
             .parent = C::Sheet,
             .text = t.caption,
             .tip = t.tip});
        BrowseSort &sort = def.sorts.at(i);
        sort.tab = C::tab(n);
        int y = listBottom + 6;
        if (!t.locatorPicture.empty()) {
            const int promptW = std::max(40, textUnits(t.locatorPrompt) + 2);
            add({.id = C::tabBase(n) + 1,
                 .kind = ControlKind::Prompt,
                 .design = QRect(10, y + 2, promptW, 10),
                 .parent = C::tab(n),
                 .text = t.locatorPrompt});
            const int entryX = 12 + promptW;
            add({.id = C::locator(n),
                 .kind = ControlKind::Entry,
                 .design =
                     QRect(entryX, y, std::min(widthFor(t.locatorPicture), W - 12 - entryX), 12),
                 .parent = C::tab(n),
                 .tip = t.locatorTip,
                 .message = t.locatorTip,
                 .picture = t.locatorPicture});
            sort.locator = C::locator(n);
            y += 16;
        }
        if (!look.totalLabel.empty()) {
            // In a narrow list the prompt starts at the left margin rather
            // than outside the window.
            const int promptX = std::max(10, W - 210);
            add({.id = C::tabBase(n) + 3,
                 .kind = ControlKind::Prompt,
                 .design = QRect(promptX, y + 2, std::min(130, W - 78 - promptX), 10),
                 .parent = C::tab(n),
                 .text = look.totalLabel,
                 .flags = FlagRight});
            add({.id = C::total(n),
                 .kind = ControlKind::Display,
                 .design = QRect(W - 76, y, 62, 12),
                 .parent = C::tab(n),
                 .picture = look.totalPicture,
                 .flags = FlagRight});
            sort.total = C::total(n);
        }
    }

    // The displays row by row, each prompt as wide as its text.
    int id = C::DisplayBase;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int top = displayTop + 16 * static_cast<int>(r);
        int dx = 4;
        for (std::size_t i = 0; i < rows[r].displays.size(); ++i) {
            const BrowseLook::Display &d = *rows[r].displays[i];
            const int promptW = promptWidth(d.prompt);
            add({.id = id++,
                 .kind = ControlKind::Prompt,
                 .design = QRect(dx, top + 2, promptW, 10),
                 .text = d.prompt});
            dx += promptW + 2;
            for (std::size_t f = 0; f < d.fields.size(); ++f) {
                const auto &[field, picture] = d.fields[f];
                const bool number = Picture::of(picture).kind == PictureKind::Number;
                const int width = rows[r].widths[i][f];
                add({.id = id,
                     .kind = ControlKind::Display,
                     .design = QRect(dx, top, width, 12),
                     .picture = picture,
                     .flags = number ? FlagRight : FlagNone});
                def.displays.push_back({id++, field});
                dx += width + 4;
            }
        }
    }

    for (; commands < left.size(); ++commands) {
        place(left[commands], x);
        x += left[commands].width + 2;
    }
    // Close takes C where nothing else of the list has it (Change has it
    // where the list changes records).
    const bool cTaken = std::any_of(w.controls.begin(), w.controls.end(), [](const auto &c) {
        const std::size_t amp = c.text.find('&');
        return amp != std::string::npos && amp + 1 < c.text.size() &&
               std::toupper(static_cast<unsigned char>(c.text[amp + 1])) == 'C';
    });
    Button &close = right[right.size() - 2];
    if (!cTaken) close.text = "&Close";
    place(close, rightAt[right.size() - 2]);
    place(right.back(), rightAt.back());
    def.close = C::Close;
    def.help = C::Help;
    def.list = C::List;
}

} // namespace hk
