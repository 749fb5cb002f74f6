#include "reports/paginator.h"

#include <cassert>
#include <cstdio>

namespace hk
{

Paginator::Paginator(const ReportLayout &layout)
    : layout_(layout), totals_(layout.totals.size(), 0), groupValues_(layout.groups.size())
{
}

void Paginator::setHidden(int controlId, bool hidden)
{
    if (hidden)
        hidden_.insert(controlId);
    else
        hidden_.erase(controlId);
}

std::string Paginator::totalText(const ReportControl &c) const
{
    const TotalDef &t = layout_.totals.at(c.total);
    const std::int64_t v = totals_[c.total];
    if (t.kind == TotalKind::Count) return format(PictureValue{v}, c.picture);
    return format(PictureValue{Hundredths{v}}, c.picture);
}

void Paginator::placeBand(const Band &band, double left, double top)
{
    Page &page = pages_.back();
    for (const ReportControl &c : band.controls) {
        if (c.id != 0 && hidden_.contains(c.id)) continue;
        const auto x = float(left + c.x), y = float(top + c.y);
        std::string text;
        switch (c.type) {
        case ControlType::Rule:
            page.rules.push_back(PageRule{x, y, float(c.width)});
            continue;
        case ControlType::Image:
            if (const std::int64_t attachment = c.image())
                page.pictures.push_back(
                    PagePicture{x, y, float(c.width), float(c.height), attachment});
            continue;
        case ControlType::Text:
            text = c.text;
            break;
        case ControlType::Field:
            text = format(c.value(), c.picture);
            break;
        case ControlType::PageNumber: {
            const auto number = std::int64_t(pages_.size());
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
        page.texts.push_back(PageText{x, y, float(c.width), c.font, c.align, std::move(text)});
    }
}

void Paginator::beginPage()
{
    pages_.emplace_back();
    pageOpen_ = true;
    bodyUsed_ = false;
    y_ = PageArea::bodyTop;
    placeBand(layout_.pageHeader, PageArea::headerLeft, PageArea::headerTop);
}

void Paginator::endPage()
{
    assert(pageOpen_);
    placeBand(layout_.pageFooter, PageArea::footerLeft, PageArea::footerTop);
    pageOpen_ = false;
}

// Bands flow down the body; one that does not fit below the last starts a new
// page (a band taller than the body is placed alone and cut by the footer).
void Paginator::placeBody(const Band &band)
{
    if (!pageOpen_) beginPage();
    if (bodyUsed_ && y_ + band.height > PageArea::bodyTop + PageArea::bodyHeight) {
        endPage();
        beginPage();
    }
    placeBand(band, PageArea::bodyLeft, y_);
    y_ += band.height;
    bodyUsed_ = true;
}

// Footers of the groups from `from` inwards, innermost first, each followed
// by the reset of its totals.
void Paginator::closeGroups(std::size_t from)
{
    for (std::size_t g = layout_.groups.size(); g-- > from;) {
        if (!groupValues_[g]) continue;
        if (layout_.groups[g].footer.height > 0) placeBody(layout_.groups[g].footer);
        for (std::size_t t = 0; t < totals_.size(); ++t)
            if (layout_.totals[t].resetGroup == int(g)) totals_[t] = 0;
        groupValues_[g].reset();
    }
}

void Paginator::printDetail()
{
    const std::size_t n = layout_.groups.size();
    std::size_t changed = n;
    std::vector<std::string> values(n);
    for (std::size_t g = 0; g < n; ++g) {
        values[g] = layout_.groups[g].breakValue();
        if (changed == n && groupValues_[g] != values[g]) changed = g;
    }
    if (changed < n) {
        closeGroups(changed);
        for (std::size_t g = changed; g < n; ++g) {
            placeBody(layout_.groups[g].header);
            groupValues_[g] = values[g];
        }
    }
    const bool shown = !layout_.detailShown || layout_.detailShown();
    if (shown) {
        placeBody(layout_.detail);
        ++details_;
    }
    for (std::size_t t = 0; t < totals_.size(); ++t) {
        const TotalDef &def = layout_.totals[t];
        if (def.atGroup >= 0) {
            if (changed <= std::size_t(def.atGroup) && changed < n) totals_[t] += def.cents();
        } else if (shown) {
            totals_[t] += def.kind == TotalKind::Count ? 1 : def.cents();
        }
    }
}

void Paginator::finish()
{
    closeGroups(0);
    // After the last detail when it fits there, else on a page of its own.
    placeBody(layout_.title);
    endPage();
}

std::string describePages(const std::vector<Page> &pages)
{
    std::string out;
    char line[96];
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::snprintf(line, sizeof line, "page %zu\n", p + 1);
        out += line;
        for (const PageText &t : pages[p].texts) {
            std::snprintf(line, sizeof line, "text %.2f %.2f %.2f %s %d%s%s \"", t.x, t.y, t.width,
                          t.align == Align::Right ? "right" : "left", int(t.font.points),
                          t.font.bold ? " bold" : "", t.font.italic ? " italic" : "");
            out += line;
            out += t.text;
            out += "\"\n";
        }
        for (const PageRule &r : pages[p].rules) {
            std::snprintf(line, sizeof line, "rule %.2f %.2f %.2f\n", r.x, r.y, r.length);
            out += line;
        }
        for (const PagePicture &i : pages[p].pictures) {
            std::snprintf(line, sizeof line, "image %.2f %.2f %.2f %.2f %lld\n", i.x, i.y, i.width,
                          i.height, static_cast<long long>(i.attachment));
            out += line;
        }
    }
    return out;
}

} // namespace hk
