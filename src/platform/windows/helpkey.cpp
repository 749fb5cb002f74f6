#include "platform/windows/helpkey.h"

#include "platform/help.h"
#include "platform/windows/procedure.h"

#include <QApplication>
#include <QKeyEvent>

namespace hk
{

namespace
{

class HelpKey : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, e);
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != 0)
            return QObject::eventFilter(watched, e);
        // Taken where it first arrives, before a menu bar or a shortcut sees it.
        e->accept();
        if (e->type() == QEvent::KeyPress) {
            // The key comes to the widget with the focus.
            auto *at = qobject_cast<QWidget *>(watched);
            if (!at) at = QApplication::focusWidget();
            if (!at) at = QApplication::activeWindow();
            showHelp(helpContextAt(at));
        }
        return true;
    }
};

} // namespace

void installHelpKey()
{
    static HelpKey *installed = nullptr;
    if (installed) return;
    installed = new HelpKey(qApp);
    qApp->installEventFilter(installed);
}

QString helpContextAt(const QWidget *widget)
{
    const Procedure *p = procedureOf(widget);
    return p ? p->helpContext() : QString();
}

} // namespace hk
