#include "browse/browse.h"

#include "browse/listcontrol.h"
#include "dictionary/globals.h"

namespace hk
{

Browse::Browse(const BrowseDef &def)
    : ListWindow({def.procedure, def.layout, def.tables, def.claim, {&def}}), def_(def)
{
}

Browse::~Browse() = default;

BrowseEngine *Browse::engine() const
{
    return engineOf(0);
}

PagedList *Browse::list() const
{
    return listOf(0);
}

QMenu *Browse::lastPopup() const
{
    ListPane *p = pane(0);
    return p ? p->lastPopup() : nullptr;
}

void Browse::opened()
{
    if (def_.openTitle) setTitle(def_.openTitle());
}

void Browse::shown()
{
    if (def_.emptyTitle && engine() && engine()->empty()) setTitle(def_.emptyTitle());
}

void Browse::setTitle(const std::string &title)
{
    const QString text = QString::fromStdString(title);
    content()->setWindowTitle(text);
    if (window()) window()->setWindowTitle(text);
}

void Browse::pressSelect()
{
    BrowseEngine *e = engine();
    if (!mayAct() || !e || e->empty() || !e->selectMode()) return;
    e->reread();
    e->setResponse(RequestCompleted);
    window()->close();
}

} // namespace hk
