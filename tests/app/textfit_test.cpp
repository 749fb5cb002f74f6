// Every window of the catalogue at its design size shows its texts whole:
// button captions, prompts, check and radio captions, option and group
// titles, the widest number a display can show, tabs, column headings (on
// every tab, none cut at the list's edge) and the window's title; and no
// control lies outside its window.
// CTest runs this at 96 and at 144 dots per inch.
#include "platform/picture.h"
#include "platform/titlefit.h"
#include "windowwalk.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionTitleBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::VisitedWindow;

// The text as shown: without the '&' that marks the access key.
QString shown(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

class TextFit
{
  public:
    explicit TextFit(const VisitedWindow &v) : v_(v), name_(v.procedure.name().toStdString()) {}

    void check()
    {
        checkTitle();
        if (!v_.content) return;
        BuiltWindow &w = *v_.content;
        for (const ControlLayout &c : w.layout().controls) {
            QWidget *widget = w.control(c.id);
            if (c.kind != ControlKind::Tab) {
                EXPECT_TRUE(w.rect().contains(widget->geometry()))
                    << where(c) << " lies outside its window";
            }
            switch (c.kind) {
            case ControlKind::Button:
                checkButton(c, static_cast<QPushButton *>(widget));
                break;
            case ControlKind::Check:
            case ControlKind::Radio:
                expectFits(c, widget->sizeHint().width(), widget->width());
                break;
            case ControlKind::Prompt:
                expectFits(c, widget->sizeHint().width(), widget->width());
                break;
            case ControlKind::Display:
                checkDisplay(c, static_cast<QLabel *>(widget));
                break;
            case ControlKind::Option:
            case ControlKind::Group:
                checkGroupTitle(c, static_cast<QGroupBox *>(widget));
                break;
            case ControlKind::Sheet:
                checkSheet(c, static_cast<QTabWidget *>(widget));
                break;
            default:
                break;
            }
        }
    }

  private:
    std::string where(const ControlLayout &c) const
    {
        return name_ + ": control " + std::to_string(c.id) + " \"" + c.text + '"';
    }

    void expectFits(const ControlLayout &c, int needed, int has)
    {
        EXPECT_LE(needed, has) << where(c);
    }

    // A caption is drawn inside the button's contents, its frame and margins
    // around it.
    void checkButton(const ControlLayout &c, QPushButton *b)
    {
        if (b->text().isEmpty()) return;
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const QRect inside = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        expectFits(c, b->fontMetrics().horizontalAdvance(shown(b->text())), inside.width());
        expectFits(c, b->fontMetrics().height(), inside.height());
    }

    // Fixed text whole; a number as wide as its picture allows.
    void checkDisplay(const ControlLayout &c, QLabel *label)
    {
        if (c.picture.empty()) {
            expectFits(c, label->sizeHint().width(), label->width());
            return;
        }
        const Picture p = Picture::of(c.picture);
        if (p.kind != PictureKind::Number) return;
        const int margins = label->contentsMargins().left() + label->contentsMargins().right() +
                            2 * label->margin();
        expectFits(c, label->fontMetrics().horizontalAdvance(QString(p.width, u'0')) + margins,
                   label->width());
    }

    void checkGroupTitle(const ControlLayout &c, QGroupBox *box)
    {
        if (box->title().isEmpty()) return;
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        opt.lineWidth = 1;
        opt.textAlignment = box->alignment();
        const QRect label =
            box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        expectFits(c, box->fontMetrics().horizontalAdvance(shown(box->title())), label.width());
        expectFits(c, label.right(), box->width() - 1);
    }

    // Every tab whole, without scroll buttons; on every tab, every column
    // heading whole.
    void checkSheet(const ControlLayout &c, QTabWidget *sheet)
    {
        QTabBar *bar = sheet->tabBar();
        if (bar->isVisible()) expectFits(c, bar->sizeHint().width(), sheet->width());
        for (int i = 0; i < sheet->count(); ++i) {
            sheet->setCurrentIndex(i);
            QCoreApplication::processEvents();
            for (QTreeView *list : v_.content->findChildren<QTreeView *>()) {
                if (!list->isVisible()) continue;
                QHeaderView *h = list->header();
                for (int s = 0; s < h->count(); ++s) {
                    const std::string heading =
                        h->model()->headerData(s, Qt::Horizontal).toString().toStdString();
                    EXPECT_LE(h->sectionSizeHint(s), h->sectionSize(s))
                        << name_ << ": tab " << i << ", the heading \"" << heading << '"';
                    // Whole or, in a list wider than its view, wholly past
                    // its edge: never cut there ("Sic" for "Side").
                    const int at = h->sectionViewportPosition(s), edge = h->viewport()->width();
                    EXPECT_FALSE(at < edge && at + h->sectionSize(s) > edge)
                        << name_ << ": tab " << i << ", the heading \"" << heading
                        << "\" at the edge";
                }
            }
        }
        sheet->setCurrentIndex(0);
    }

    // A document window's title within its title bar's label; a window of
    // its own as wide as its title needs.
    void checkTitle()
    {
        QWidget *w = v_.window;
        const QString title = w->windowTitle();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w)) {
            QStyleOptionTitleBar opt;
            opt.initFrom(sub);
            opt.text = title;
            opt.titleBarFlags = sub->windowFlags();
            opt.titleBarState = sub->windowState();
            opt.subControls = QStyle::SC_All;
            opt.rect = QRect(0, 0, sub->width(),
                             sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, sub));
            const QRect label = sub->style()->subControlRect(QStyle::CC_TitleBar, &opt,
                                                             QStyle::SC_TitleBarLabel, sub);
            QFont font = sub->font();
            font.setBold(true);
            EXPECT_LE(QFontMetrics(font).horizontalAdvance(title), label.width())
                << name_ << ": the title \"" << title.toStdString() << '"';
        } else if (w->isWindow()) {
            EXPECT_LE(titleWidth(w, title), w->frameGeometry().width())
                << name_ << ": the title \"" << title.toStdString() << '"';
        }
    }

    const VisitedWindow &v_;
    std::string name_;
};

class TextsFit : public test::WindowWalk
{
};

TEST_F(TextsFit, EveryWindowShowsItsTextsWholeAtItsDesignSize)
{
    // The resolution CTest asked for is the one the windows are built at.
    const QByteArray dpi = qgetenv("HK_TEST_DPI");
    if (!dpi.isEmpty()) {
        ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), dpi.toDouble());
    }
    const std::vector<QString> names = walk([](const VisitedWindow &v) { TextFit(v).check(); });
    EXPECT_GT(names.size(), 50u);
}

} // namespace
} // namespace hk
