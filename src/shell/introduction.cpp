#include "shell/introduction.h"

#include "dictionary/globals.h"
#include "platform/windows/visiblearea.h"
#include "platform/windows/windowlife.h"
#include "shell/owner.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace hk
{

namespace
{

// The greeting's content. Any left or right click, or a double-click,
// dismisses it; the labels let clicks through to it.
class GreetingPanel : public QWidget
{
    Q_OBJECT
  public:
    GreetingPanel()
    {
        auto *picture = new QLabel;
        picture->setPixmap(QIcon(QStringLiteral(":/pictures/HEARTHKP.svg")).pixmap(96, 96));
        picture->setAlignment(Qt::AlignCenter);

        auto *product = new QLabel(QStringLiteral("Hearthkeep"));
        QFont big = product->font();
        big.setPointSizeF(big.pointSizeF() * 2);
        big.setBold(true);
        product->setFont(big);
        auto *version = new QLabel(QStringLiteral("Version 3.0"));
        auto *owner = new QLabel(QStringLiteral("This copy belongs to:"));
        name = new QLabel;
        address = new QLabel;
        showOwner();
        name->setObjectName(QStringLiteral("ownerName"));
        address->setObjectName(QStringLiteral("ownerAddress"));
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);

        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(24, 16, 24, 16);
        layout->addWidget(picture);
        for (QLabel *label : {product, version, owner, name, address}) {
            label->setAlignment(Qt::AlignCenter);
            layout->addWidget(label);
        }
        layout->insertSpacing(3, 12);
    }

    void showOwner()
    {
        name->setText(QString::fromStdString(OwnerName.str()));
        address->setText(QString::fromStdString(OwnerAddress.str()));
    }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) emit clicked();
    }
    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton) emit clicked();
    }

  private:
    QLabel *name;
    QLabel *address;
};

} // namespace

Greeting::Greeting(QString name, QString title, std::chrono::milliseconds duration)
    : Procedure(std::move(name)), title_(std::move(title)), duration_(duration)
{
}

QCoro::Task<> Greeting::run()
{
    QPointer<GreetingPanel> panel = new GreetingPanel;
    panel->setWindowTitle(title_);
    QWidget *w = openDocument(panel);
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w); sub && sub->mdiArea()) sub->adjustSize();
    WindowLife::attach(w, {.section = name().toStdString()});
    // Close through the window so that a click and the timer end it exactly
    // as a close request does.
    QObject::connect(panel, &GreetingPanel::clicked, w, &QWidget::close);

    co_await beforeTimer();
    // The owner may have been read or given meanwhile: show it, whole.
    if (panel) {
        panel->showOwner();
        if (QWidget *w = window()) { // grown about its centre
            const QRect was = w->geometry();
            QRect now(was.topLeft(), was.size().expandedTo(w->sizeHint()));
            now.moveCenter(was.center());
            placeInside(w, now);
        }
    }
    if (window()) QTimer::singleShot(duration_, window(), &QWidget::close);

    co_await untilClosed();
    GlobalResponse = RequestCancelled;
}

QCoro::Task<> Greeting::beforeTimer()
{
    co_return;
}

Introduction::Introduction(std::chrono::milliseconds duration)
    : Greeting(QStringLiteral("Introduction"), QStringLiteral("Introduction"), duration)
{
}

QCoro::Task<> Introduction::beforeTimer()
{
    // At the first start there is no name yet: ask for it over this window.
    readOwnerDetails();
    if (OwnerName.empty()) co_await call(std::make_unique<OwnerDetails>());
}

AboutHearthkeep::AboutHearthkeep(std::chrono::milliseconds duration)
    : Greeting(QStringLiteral("AboutHearthkeep"), QStringLiteral("About Hearthkeep"), duration)
{
}

} // namespace hk

#include "introduction.moc"
