#include "shell/introduction.h"

#include "dictionary/globals.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

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
        auto *name = new QLabel(QString::fromStdString(OwnerName.str()));
        auto *address = new QLabel(QString::fromStdString(OwnerAddress.str()));
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
};

} // namespace

Greeting::Greeting(QString name, QString title, std::chrono::milliseconds duration)
    : Procedure(std::move(name)), title_(std::move(title)), duration_(duration)
{
}

QCoro::Task<> Greeting::run()
{
    auto *panel = new GreetingPanel;
    panel->setWindowTitle(title_);
    QWidget *w = openDocument(panel);
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w); sub && sub->mdiArea()) {
        sub->adjustSize();
        const QRect area = sub->mdiArea()->viewport()->rect();
        sub->move(area.center() - sub->rect().center());
    }
    // Close through the window so that a click and the timer end it exactly
    // as a close request does.
    QObject::connect(panel, &GreetingPanel::clicked, w, &QWidget::close);

    co_await beforeTimer();
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
    // OWNER DETAILS CALL POINT. The owner windows are not built yet. When they
    // are, read "OwnerName" and "OwnerAddress" from "HkOwner.Ini" here and, if
    // the name is blank, `co_await call(std::make_unique<OwnerDetails>());`,
    // then show the confirmed values. Until then the globals are shown as they
    // stand.
    co_return;
}

AboutHearthkeep::AboutHearthkeep(std::chrono::milliseconds duration)
    : Greeting(QStringLiteral("AboutHearthkeep"), QStringLiteral("About Hearthkeep"), duration)
{
}

} // namespace hk

#include "introduction.moc"
