#include "browse/linkedbrowse.h"

#include "browse/listcontrol.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/table.h"

#include <algorithm>

namespace hk
{

// ------------------------------------------------------------ layout

namespace
{

void shift(BrowseDef &d, int dx, int dy, int offset)
{
    auto renumber = [offset](int &id) {
        if (id != 0) id += offset;
    };
    for (ControlLayout &c : d.layout.controls) {
        renumber(c.id);
        renumber(c.parent);
        c.design.translate(dx, dy);
    }
    for (int *id :
         {&d.list, &d.sheet, &d.select, &d.insert, &d.change, &d.remove, &d.close, &d.help})
        renumber(*id);
    for (BrowseSort &s : d.sorts) {
        renumber(s.tab);
        renumber(s.locator);
        renumber(s.total);
    }
    for (BrowseDisplay &b : d.displays)
        renumber(b.control);
    for (int &id : d.unbuilt)
        renumber(id);
    for (BrowseAction &a : d.actions)
        renumber(a.control);
}

void combine(LinkedDef &def, const std::string &title, QSize size, QSize minimum)
{
    BrowseDef &a = def.first;
    BrowseDef &b = def.second;
    b.layout.controls.erase(
        std::remove_if(b.layout.controls.begin(), b.layout.controls.end(),
                       [&b](const ControlLayout &c) { return c.id == b.close || c.id == b.help; }),
        b.layout.controls.end());
    b.close = b.help = 0;

    WindowLayout &w = def.layout;
    w = WindowLayout{};
    w.title = title;
    w.size = size;
    w.minimumSize = minimum;
    // Tab goes through the first list's controls, then the second's, then
    // Close and Help, which serve the whole window.
    const auto shared = [&a](const ControlLayout &c) { return c.id == a.close || c.id == a.help; };
    // Each list's commands answer their keys while the focus is in that list.
    for (ControlLayout &c : a.layout.controls)
        c.group = shared(c) ? 0 : 1;
    for (ControlLayout &c : b.layout.controls)
        c.group = 2;
    w.controls = a.layout.controls;
    const auto foot = std::stable_partition(w.controls.begin(), w.controls.end(),
                                            [&](const ControlLayout &c) { return !shared(c); });
    w.controls.insert(foot, b.layout.controls.begin(), b.layout.controls.end());
    a.layout.title = b.layout.title = title;
}

} // namespace

void linkSideBySide(LinkedDef &def, const std::string &title, QSize size, QSize minimum)
{
    BrowseDef &a = def.first;
    const int dx = a.layout.size.width();
    shift(def.second, dx, 0, SecondListOffset);
    // Close and Help go to the window's right foot, where the second list's
    // pair would have been: as far from the right edge as in the first list.
    const int toRightFoot = def.second.layout.size.width();
    for (ControlLayout &c : a.layout.controls)
        if (c.id == a.close || c.id == a.help) c.design.translate(toRightFoot, 0);
    // A list designed wider than asked for (its buttons need it) widens the window.
    combine(def, title, size.expandedTo(QSize(dx + toRightFoot, 0)), minimum);
}

void linkLayouts(LinkedDef &def, const std::string &title, QSize size, QSize minimum)
{
    BrowseDef &a = def.first;
    const int top = a.layout.size.height();
    // The first list's Close and Help sit at the window's foot, where the
    // second list's pair would have been.
    const int footDrop = size.height() - top;
    shift(def.second, 0, top, SecondListOffset);
    for (ControlLayout &c : a.layout.controls)
        if (c.id == a.close || c.id == a.help) c.design.translate(0, footDrop);
    const int widest = std::max(a.layout.size.width(), def.second.layout.size.width());
    combine(def, title, size.expandedTo(QSize(widest, 0)), minimum);
}

// ------------------------------------------------------------ the window

LinkedBrowse::LinkedBrowse(const LinkedDef &def)
    : ListWindow({def.procedure, def.layout, def.tables, def.claim, {&def.first, &def.second}}),
      def_(def)
{
}

LinkedBrowse::~LinkedBrowse() = default;

BrowseEngine *LinkedBrowse::firstEngine() const
{
    return engineOf(0);
}

BrowseEngine *LinkedBrowse::secondEngine() const
{
    return engineOf(1);
}

PagedList *LinkedBrowse::firstList() const
{
    return listOf(0);
}

PagedList *LinkedBrowse::secondList() const
{
    return listOf(1);
}

void LinkedBrowse::shown()
{
    BuiltWindow *w = content();
    if (!w || !firstEngine()) return;
    // The second list's records belong to the first list's highlighted one:
    // with none there, a new one would belong to nothing.
    if (firstEngine()->empty()) w->setControlEnabled(def_.second.insert, false);
    const bool calling = phase() == WindowPhase::Calling;
    for (const auto &g : def_.guards) {
        Table &t = table(g.table);
        const bool stored = field::integer(t.def().fields[0], t.buffer()) != 0 &&
                            t.get(KeyId{g.table, 0}) == NoError;
        w->setControlEnabled(g.button, stored && !calling);
    }
}

} // namespace hk
