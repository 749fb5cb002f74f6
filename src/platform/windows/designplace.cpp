#include "platform/windows/designplace.h"

#include "platform/windows/visiblearea.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace hk
{

void putAtDesignPlace(QWidget *window)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window); sub && sub->mdiArea()) {
        // A content of fixed size makes a window that cannot be maximized.
        if (QWidget *content = sub->widget();
            content && content->minimumSize() == content->maximumSize())
            sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
        // Content size plus the sub-window's own title bar and borders.
        if (QWidget *content = sub->widget())
            sub->resize(sub->size() - content->size() +
                        content->size().expandedTo(content->minimumSize()));
        const QRect area = sub->mdiArea()->viewport()->rect();
        sub->move(area.center() - sub->rect().center());
        keepInside(sub); // a large font can make the content larger than the area
        return;
    }
    QRect over;
    if (QWidget *owner = window->parentWidget())
        over = owner->window()->geometry();
    else if (QWidget *active = QApplication::activeWindow(); active && active != window)
        over = active->geometry(); // started from that window's menu
    else if (QScreen *screen = window->screen())
        over = screen->availableGeometry();
    if (over.isValid()) window->move(over.center() - window->rect().center());
    keepInside(window);
}

} // namespace hk
