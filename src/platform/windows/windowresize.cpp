#include "platform/windows/windowresize.h"

#include "platform/windows/layout.h"

#include <QEvent>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace hk
{

namespace
{

struct ControlPlace {
    int id;
    ControlKind kind;
    QRect design; // pixels, as the control stood at registration
    bool keepsSize;
    bool keepsHeight; // one line of text: it widens, but a taller one only looks wrong
};

bool isOneLine(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::Entry:
    case ControlKind::Display:
    case ControlKind::Prompt:
    case ControlKind::Check:
    case ControlKind::Radio:
    case ControlKind::DropList:
    case ControlKind::Combo:
    case ControlKind::Spin:
        return true;
    default:
        return false;
    }
}

// The window's design layout. It lives as the window's child, so it goes with
// the window, and watches the window's resizes.
class ControlLayoutList : public QObject
{
    Q_OBJECT
  public:
    explicit ControlLayoutList(BuiltWindow &window) : QObject(&window)
    {
        setObjectName(QStringLiteral("hkControlLayout"));
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Resize && watched == parent())
            RelayoutControls(*static_cast<BuiltWindow *>(watched));
        return false;
    }

    QSize designSize;
    QSize lastSize;
    std::vector<ControlPlace> controls;
};

ControlLayoutList *listOf(const BuiltWindow &window)
{
    return window.findChild<ControlLayoutList *>(QStringLiteral("hkControlLayout"),
                                                 Qt::FindDirectChildrenOnly);
}

// current / design in ten-thousandths, rounded: a factor with four decimals.
std::int64_t factor(int current, int design)
{
    return (std::int64_t{current} * 20000 + design) / (2 * std::int64_t{design});
}

int scaled(int value, std::int64_t factor)
{
    return static_cast<int>(value * factor / 10000); // cut to a whole number
}

} // namespace

void RegisterWindowControls(BuiltWindow &window)
{
    ReleaseWindowControls(window);
    auto *list = new ControlLayoutList(window);
    list->designSize = list->lastSize = window.size();
    for (int id : window.controlIds()) {
        const ControlLayout *c = window.layout().control(id);
        QWidget *w = window.control(id);
        // A tab's page is placed by its sheet.
        if (!w || c->kind == ControlKind::Tab) continue;
        const bool keepsSize = c->kind == ControlKind::Display && c->design.width() == 1;
        list->controls.push_back({id, c->kind, w->geometry(), keepsSize, isOneLine(c->kind)});
    }
    std::sort(list->controls.begin(), list->controls.end(),
              [](const ControlPlace &a, const ControlPlace &b) { return a.id < b.id; });
}

void RelayoutControls(BuiltWindow &window)
{
    ControlLayoutList *list = listOf(window);
    if (!list) return;
    const QSize size = window.size();
    if (size == list->lastSize) return;
    list->lastSize = size;
    if (list->designSize.width() <= 0 || list->designSize.height() <= 0) return;
    const std::int64_t fx = factor(size.width(), list->designSize.width());
    const std::int64_t fy = factor(size.height(), list->designSize.height());

    // Move them all before any is painted.
    const bool updates = window.updatesEnabled();
    window.setUpdatesEnabled(false);
    for (const ControlPlace &c : list->controls) {
        QWidget *w = window.control(c.id);
        QPoint at(scaled(c.design.x(), fx), scaled(c.design.y(), fy));
        const QSize size(scaled(c.design.width(), fx), scaled(c.design.height(), fy));
        if (c.keepsSize) {
            w->move(at);
        } else if (c.keepsHeight && size.height() > c.design.height()) {
            // Centred in the place it would have grown into.
            at.ry() += (size.height() - c.design.height()) / 2;
            w->setGeometry(QRect(at, QSize(size.width(), c.design.height())));
        } else {
            w->setGeometry(QRect(at, size));
        }
    }
    window.setUpdatesEnabled(updates);
}

void ReleaseWindowControls(BuiltWindow &window)
{
    delete listOf(window);
}

bool hasRegisteredControls(const BuiltWindow &window)
{
    return listOf(window) != nullptr;
}

} // namespace hk

#include "windowresize.moc"
