#include "platform/titlefit.h"

#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>

#include <algorithm>

namespace hk
{

namespace
{

QFontMetrics titleMetrics(const QWidget *window)
{
    // Title bars commonly show their text in bold.
    QFont font = window->font();
    font.setBold(true);
    return QFontMetrics(font);
}

} // namespace

int titleWidth(const QWidget *window, const QString &title)
{
    const QFontMetrics metrics = titleMetrics(window);
    if (auto *sub = qobject_cast<const QMdiSubWindow *>(window)) {
        // The frame's own title bar: the width beside its label is the style's.
        QStyleOptionTitleBar opt;
        opt.initFrom(sub);
        opt.text = title;
        opt.titleBarFlags = sub->windowFlags();
        opt.titleBarState = sub->windowState();
        opt.subControls = QStyle::SC_All;
        opt.rect = QRect(0, 0, sub->width(),
                         sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, sub));
        const QRect label =
            sub->style()->subControlRect(QStyle::CC_TitleBar, &opt, QStyle::SC_TitleBarLabel, sub);
        return metrics.horizontalAdvance(title) + sub->width() - label.width();
    }
    // A window manager's bar: an icon on the left, minimize, maximize and
    // close on the right, each about as wide as the bar is high, and a margin
    // at either end.
    const int button = metrics.height() + 8;
    return metrics.horizontalAdvance(title) + 4 * button + 2 * metrics.averageCharWidth();
}

void fitTitle(QWidget *window)
{
    // The frame around a window of its own counts towards its bar.
    const bool own = !qobject_cast<QMdiSubWindow *>(window);
    const int frame = own ? window->frameGeometry().width() - window->geometry().width() : 0;
    const int needed = titleWidth(window, window->windowTitle()) - frame;
    if (window->minimumWidth() < needed) window->setMinimumWidth(needed);
    if (window->width() < needed) window->resize(needed, window->height());
}

} // namespace hk
