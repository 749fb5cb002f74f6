#include "platform/windows/visiblearea.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace hk
{

namespace
{

long long overlap(const QRect &a, const QRect &b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// The screen showing most of `wanted`; the window's own when none shows any.
QScreen *screenFor(const QWidget *window, const QRect &wanted)
{
    QScreen *best = nullptr;
    long long most = 0;
    for (QScreen *s : QGuiApplication::screens()) {
        if (const long long o = overlap(s->availableGeometry(), wanted); o > most) {
            most = o;
            best = s;
        }
    }
    if (best) return best;
    if (QScreen *own = window->screen()) return own;
    return QGuiApplication::primaryScreen();
}

} // namespace

QRect fitInside(const QRect &wanted, const QRect &area, const QSize &minimum)
{
    if (area.isEmpty()) return wanted;
    QSize size = wanted.size().boundedTo(area.size()).expandedTo(minimum);
    // Too wide or tall even so: the top left corner stays reachable.
    int x = std::max(area.left(), std::min(wanted.x(), area.right() - size.width() + 1));
    int y = std::max(area.top(), std::min(wanted.y(), area.bottom() - size.height() + 1));
    // A saved position of 0 means "none saved": a window moved to the edge
    // stops one pixel short of it, or its place and maximized state would
    // be forgotten at the next opening.
    if (x == 0 && wanted.x() != 0) {
        x = 1;
        if (x + size.width() - 1 > area.right() && size.width() > minimum.width())
            size.rwidth() -= 1;
    }
    if (y == 0 && wanted.y() != 0) {
        y = 1;
        if (y + size.height() - 1 > area.bottom() && size.height() > minimum.height())
            size.rheight() -= 1;
    }
    return QRect(QPoint(x, y), size);
}

QRect visibleArea(const QWidget *window, const QRect &wanted)
{
    if (auto *sub = qobject_cast<const QMdiSubWindow *>(window); sub && sub->mdiArea()) {
        const QWidget *viewport = sub->mdiArea()->viewport();
        return viewport->isVisible() ? viewport->rect() : QRect();
    }
    if (!window->isWindow()) return {};
    QScreen *screen = screenFor(window, wanted);
    if (!screen) return {};
    // The title bar and borders lie outside the geometry: leave room for them.
    return screen->availableGeometry().marginsRemoved(frameMargins(window));
}

QMargins frameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry(), inner = window->geometry();
    if (frame != inner)
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    // Not framed yet (the window manager frames a window once it shows):
    // room for a title bar and borders all the same, so that a window sized
    // to the screen now does not grow past it then.
    const int border = 4;
    return QMargins(border, window->fontMetrics().height() + 12 + border, border, border);
}

void placeInside(QWidget *window, const QRect &wanted)
{
    window->setGeometry(fitInside(wanted, visibleArea(window, wanted), window->minimumSize()));
}

void keepInside(QWidget *window)
{
    if (window->isMaximized() || window->isMinimized()) return;
    const QRect now = window->geometry();
    const QRect fitted = fitInside(now, visibleArea(window, now), window->minimumSize());
    if (fitted != now) window->setGeometry(fitted);
}

} // namespace hk
