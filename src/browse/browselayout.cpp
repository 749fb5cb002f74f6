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

} // namespace

void layOutBrowse(BrowseDef &def, const BrowseLook &look)
{
    namespace C = BrowseControl;
    WindowLayout &w = def.layout;
    w = WindowLayout{};
    w.title = look.title;
    w.size = look.size;
    w.minimumSize = look.size;
    const int W = look.size.width();
    const int H = look.size.height();
    auto add = [&w](ControlLayout c) { w.controls.push_back(std::move(c)); };

    const int buttonTop = H - 20;
    const int displayTop = buttonTop - 16;
    const int sheetBottom = look.displays.empty() ? buttonTop - 4 : displayTop - 4;
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

    // Buttons along the bottom: the list's commands on the left, Select,
    // Close and Help on the right.
    const int step = W >= 300 ? 46 : 37;
    const int bw = step - 2;
    int x = 4;
    auto button = [&](int id, std::string text, std::string tip, unsigned flags = FlagNone) {
        add({.id = id,
             .kind = ControlKind::Button,
             .design = QRect(x, buttonTop, bw, 14),
             .text = std::move(text),
             .tip = std::move(tip),
             .flags = flags});
        x += step;
    };
    if (look.selectButton) {
        // On the right, beside Close: hidden outside select mode, it leaves
        // no gap among the other commands.
        const int left = x;
        x = W - 4 - 3 * step + 2;
        button(C::Select, "&Select", "Select Highlighted Entry", FlagHidden | FlagDisabled);
        x = left;
        def.select = C::Select;
    }
    if (look.updates) {
        button(C::Insert, "&Insert", look.insertTip);
        button(C::Change, "&Change", "Change Highlighted Entry");
        button(C::Delete, "&Delete", "Delete Highlighted Entry");
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
            add({.id = C::tabBase(n) + 1,
                 .kind = ControlKind::Prompt,
                 .design = QRect(10, y + 2, 40, 10),
                 .parent = C::tab(n),
                 .text = t.locatorPrompt});
            add({.id = C::locator(n),
                 .kind = ControlKind::Entry,
                 .design = QRect(52, y, std::min(widthFor(t.locatorPicture), W - 64), 12),
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

    // The displays run along one row, each prompt as wide as its text.
    int id = C::DisplayBase;
    int dx = 4;
    for (const auto &d : look.displays) {
        const int promptWidth = std::max(34, 4 * static_cast<int>(d.prompt.size()));
        add({.id = id++,
             .kind = ControlKind::Prompt,
             .design = QRect(dx, displayTop + 2, promptWidth, 10),
             .text = d.prompt});
        dx += promptWidth + 2;
        for (const auto &[field, picture] : d.fields) {
            const bool number = Picture::of(picture).kind == PictureKind::Number;
            const int width = widthFor(picture);
            add({.id = id,
                 .kind = ControlKind::Display,
                 .design = QRect(dx, displayTop, width, 12),
                 .picture = picture,
                 .flags = number ? FlagRight : FlagNone});
            def.displays.push_back({id++, field});
            dx += width + 4;
        }
    }

    int extra = C::ExtraButtonBase;
    for (const auto &b : look.extraButtons)
        button(extra++, b.text, b.tip);
    x = W - 4 - 2 * step + 2;
    // Close takes C where nothing else of the list has it (Change has it
    // where the list changes records).
    const bool cTaken = std::any_of(w.controls.begin(), w.controls.end(), [](const auto &c) {
        const std::size_t amp = c.text.find('&');
        return amp != std::string::npos && amp + 1 < c.text.size() &&
               std::toupper(static_cast<unsigned char>(c.text[amp + 1])) == 'C';
    });
    button(C::Close, cTaken ? "Close" : "&Close", "Close Active Window", FlagCancel);
    button(C::Help, "Help", "View Associated Help File");
    def.close = C::Close;
    def.help = C::Help;
    def.list = C::List;
}

} // namespace hk
