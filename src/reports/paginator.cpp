#include "reports/paginator.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace hk
{

namespace
{

// Room left between a text and the column after it, mm.
constexpr double kColumnGap = 1.0;

double lineHeight(const ReportFont &f)
{
    return f.points * 25.4 / 72.0 * 1.2;
}

bool prints(const ReportControl &c)
{
    return c.type != ControlType::Rule;
}

// How far down a control reaches: a picture by its box, a text by its line.
double depth(const ReportControl &c)
{
    return c.type == ControlType::Image ? c.height : lineHeight(c.font);
}

bool sameLine(const ReportControl &a, const ReportControl &b)
{
    return a.y < b.y + depth(b) && b.y < a.y + depth(a);
}

} // namespace

Paginator::Paginator(const ReportLayout &layout) : layout_(layout)
{
    s_.totals.assign(layout.totals.size(), 0);
    s_.lastOnce.resize(layout.totals.size());
    s_.groupValues.resize(layout.groups.size());
    before_ = s_;
    for (const Band *b : {&layout.title, &layout.pageHeader, &layout.pageFooter, &layout.detail})
        planRooms(*b);
    for (const GroupDef &g : layout.groups) {
        planRooms(g.header);
        planRooms(g.footer);
    }
}

// A column reaches to the next control that prints on its line, or to the
// paper's right margin: a left-aligned value is cut there, and a
// right-aligned text ends before it. A fixed text is the layout's own and
// is never cut: it keeps no room (0).
void Paginator::planRooms(const Band &band)
{
    const double edge = PageArea::width - 2 * PageArea::bodyLeft;
    std::vector<Room> rooms(band.controls.size());
    for (std::size_t i = 0; i < band.controls.size(); ++i) {
        const ReportControl &c = band.controls[i];
        if (!prints(c)) continue;
        if (c.type == ControlType::Text && c.align == Align::Left) {
            rooms[i] = Room{c.x, c.x};
            continue;
        }
        double next = edge;
        for (const ReportControl &d : band.controls)
            if (prints(d) && d.x > c.x && sameLine(c, d)) next = std::min(next, d.x);
        const double right =
            c.align == Align::Left ? next - kColumnGap : std::min(c.x + c.width, next - kColumnGap);
        rooms[i] = Room{c.x, std::max(c.x, right)};
    }
    rooms_.emplace_back(&band, std::move(rooms));
}

void Paginator::setHidden(int controlId, bool hidden)
{
    if (hidden)
        hidden_.insert(controlId);
    else
        hidden_.erase(controlId);
}

void Paginator::restore(const State &state)
{
    assert(state.totals.size() == s_.totals.size());
    s_ = state;
    before_ = state;
}

std::string Paginator::totalText(const ReportControl &c) const
{
    const TotalDef &t = layout_.totals.at(c.total);
    const std::int64_t v = s_.totals[c.total];
    if (t.kind == TotalKind::Count) return format(PictureValue{v}, c.picture);
    return format(PictureValue{Hundredths{v}}, c.picture);
}

void Paginator::placeBand(const Band &band, double left, double top)
{
    if (!drawing()) return;
    const std::vector<Room> *rooms = nullptr;
    for (const auto &[b, r] : rooms_)
        if (b == &band) rooms = &r;
    assert(rooms);
    Page &out = page();
    for (std::size_t i = 0; i < band.controls.size(); ++i) {
        const ReportControl &c = band.controls[i];
        if (c.id != 0 && hidden_.contains(c.id)) continue;
        const auto x = float(left + c.x), y = float(top + c.y);
        std::string text;
        switch (c.type) {
        case ControlType::Rule:
            out.rules.push_back(PageRule{x, y, float(c.width)});
            continue;
        case ControlType::Image:
            if (StoredPicture picture = c.image(); picture.attachment != 0)
                out.pictures.push_back(PagePicture{x, y, float(c.width), float(c.height),
                                                   picture.attachment, std::move(picture.bytes)});
            continue;
        case ControlType::Text:
            text = c.text;
            break;
        case ControlType::Field:
            text = format(c.value(), c.picture);
            break;
        case ControlType::PageNumber: {
            const auto number = std::int64_t(s_.pages);
            text = format(PictureValue{number}, c.picture);
            // A page number is read in full, whatever its field's width.
            if (text.find('#') != std::string::npos) text = std::to_string(number);
            break;
        }
        case ControlType::Total:
            text = totalText(c);
            break;
        }
        if (text.empty()) continue;
        const Room &r = (*rooms)[i];
        out.texts.push_back(
            PageText{x, y, float(r.right - r.left), c.font, c.align, std::move(text)});
    }
}

void Paginator::beginPage()
{
    ++s_.pages;
    if (drawing()) {
        if (onPage)
            current_ = Page{};
        else
            kept_.emplace_back();
    }
    s_.pageOpen = true;
    s_.bodyUsed = false;
    s_.y = PageArea::bodyTop;
    placeBand(layout_.pageHeader, PageArea::headerLeft, PageArea::headerTop);
}

void Paginator::endPage()
{
    assert(s_.pageOpen);
    placeBand(layout_.pageFooter, PageArea::footerLeft, PageArea::footerTop);
    s_.pageOpen = false;
    if (drawing() && onPage) onPage(s_.pages, std::move(current_));
}

// Bands flow down the body; one that does not fit below the last starts a new
// page (a band taller than the body is placed alone and cut by the footer).
void Paginator::placeBody(const Band &band)
{
    if (!s_.pageOpen) beginPage();
    if (s_.bodyUsed && s_.y + band.height > PageArea::bodyTop + PageArea::bodyHeight) {
        endPage();
        beginPage();
    }
    placeBand(band, PageArea::bodyLeft, s_.y);
    s_.y += band.height;
    s_.bodyUsed = true;
}

// Footers of the groups from `from` inwards, innermost first, each followed
// by the reset of its totals.
void Paginator::closeGroups(std::size_t from)
{
    for (std::size_t g = layout_.groups.size(); g-- > from;) {
        if (!s_.groupValues[g]) continue;
        if (layout_.groups[g].footer.height > 0) placeBody(layout_.groups[g].footer);
        for (std::size_t t = 0; t < s_.totals.size(); ++t)
            if (layout_.totals[t].resetGroup == int(g)) s_.totals[t] = 0;
        s_.groupValues[g].reset();
    }
}

void Paginator::printDetail()
{
    before_ = s_;
    const std::size_t n = layout_.groups.size();
    std::size_t changed = n;
    values_.resize(n);
    for (std::size_t g = 0; g < n; ++g) {
        values_[g] = layout_.groups[g].breakValue();
        if (changed == n && s_.groupValues[g] != values_[g]) changed = g;
    }
    const bool shown = !layout_.detailShown || layout_.detailShown();
    if (changed < n) {
        closeGroups(changed);
        // The headers stay with the first detail under them: when they do
        // not fit together, all of them start the next page.
        double together = shown ? layout_.detail.height : 0;
        for (std::size_t g = changed; g < n; ++g)
            together += layout_.groups[g].header.height;
        const double bottom = PageArea::bodyTop + PageArea::bodyHeight;
        if (s_.pageOpen && s_.bodyUsed && s_.y + together > bottom &&
            together <= PageArea::bodyHeight) {
            endPage();
            beginPage();
        }
        for (std::size_t g = changed; g < n; ++g) {
            placeBody(layout_.groups[g].header);
            s_.groupValues[g] = values_[g];
        }
    }
    if (shown) {
        placeBody(layout_.detail);
        ++s_.details;
    }
    for (std::size_t t = 0; t < s_.totals.size(); ++t) {
        const TotalDef &def = layout_.totals[t];
        if (def.atGroup >= 0) {
            if (changed <= std::size_t(def.atGroup) && changed < n) s_.totals[t] += def.cents();
        } else if (shown) {
            if (def.once) {
                const std::int64_t key = def.once();
                if (s_.lastOnce[t] == key) continue;
                s_.lastOnce[t] = key;
            }
            s_.totals[t] += def.kind == TotalKind::Count ? 1 : def.cents();
        }
    }
}

void Paginator::finish()
{
    before_ = s_;
    closeGroups(0);
    // After the last detail when it fits there, else on a page of its own.
    placeBody(layout_.title);
    endPage();
}

std::string describePages(const std::vector<Page> &pages)
{
    std::string out;
    for (std::size_t p = 0; p < pages.size(); ++p)
        out += describePage(pages[p], int(p + 1));
    return out;
}

std::string describePage(const Page &page, int number)
{
    std::string out;
    char line[96];
    std::snprintf(line, sizeof line, "page %d\n", number);
    out += line;
    for (const PageText &t : page.texts) {
        std::snprintf(line, sizeof line, "text %.2f %.2f %.2f %s %d%s%s \"", t.x, t.y, t.width,
                      t.align == Align::Right ? "right" : "left", int(t.font.points),
                      t.font.bold ? " bold" : "", t.font.italic ? " italic" : "");
        out += line;
        out += t.text;
        out += "\"\n";
    }
    for (const PageRule &r : page.rules) {
        std::snprintf(line, sizeof line, "rule %.2f %.2f %.2f\n", r.x, r.y, r.length);
        out += line;
    }
    for (const PagePicture &i : page.pictures) {
        std::snprintf(line, sizeof line, "image %.2f %.2f %.2f %.2f %lld\n", i.x, i.y, i.width,
                      i.height, static_cast<long long>(i.attachment));
        out += line;
    }
    return out;
}

} // namespace hk
