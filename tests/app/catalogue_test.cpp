// What must hold for every window and every menu of the catalogue, each
// opened as the user opens it: no two entries that show together share an
// access key, F1 and every Help button open the help page about the window,
// and every command and choice says what it does in its tip.
#include "shell/helpwindow.h"
#include "windowwalk.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::VisitedWindow;

// The letter Alt takes with the text, upper case; empty when none.
QString accessKey(const QString &text)
{
    const QKeySequence key = QKeySequence::mnemonic(text);
    return key.isEmpty() ? QString() : QString(QChar(key[0].key())).toUpper();
}

// The tab controls a control lies on, innermost first.
std::vector<const ControlLayout *> tabsAbove(const WindowLayout &w, const ControlLayout &c)
{
    std::vector<const ControlLayout *> tabs;
    for (const ControlLayout *at = &c; at; at = at->parent ? w.control(at->parent) : nullptr)
        if (at->kind == ControlKind::Tab) tabs.push_back(at);
    return tabs;
}

// Two controls on different tabs of one sheet never show together.
bool together(const WindowLayout &w, const ControlLayout &a, const ControlLayout &b)
{
    for (const ControlLayout *ta : tabsAbove(w, a))
        for (const ControlLayout *tb : tabsAbove(w, b))
            if (ta != tb && ta->parent == tb->parent) return false;
    return true;
}

void expectDistinctKeys(const VisitedWindow &v)
{
    if (!v.content) return;
    const WindowLayout &w = v.content->layout();
    std::vector<const ControlLayout *> keyed;
    for (const ControlLayout &c : w.controls)
        if (!accessKey(QString::fromStdString(c.text)).isEmpty()) keyed.push_back(&c);
    for (std::size_t i = 0; i < keyed.size(); ++i)
        for (std::size_t j = i + 1; j < keyed.size(); ++j) {
            const ControlLayout &a = *keyed[i], &b = *keyed[j];
            const bool samePart = a.group == b.group || a.group == 0 || b.group == 0;
            if (!samePart || !together(w, a, b)) continue;
            EXPECT_NE(accessKey(QString::fromStdString(a.text)),
                      accessKey(QString::fromStdString(b.text)))
                << v.procedure.name().toStdString() << ": \"" << a.text << "\" and \"" << b.text
                << '"';
        }
}

void expectDistinctKeys(const QMenuBar *bar, const QString &where)
{
    std::function<void(const QList<QAction *> &, const QString &)> menu =
        [&](const QList<QAction *> &actions, const QString &path) {
            std::map<QString, QString> taken;
            for (QAction *a : actions) {
                if (a->isSeparator()) continue;
                if (a->menu()) menu(a->menu()->actions(), path + u'/' + a->text());
                const QString key = accessKey(a->text());
                if (key.isEmpty()) continue;
                const auto [at, fresh] = taken.emplace(key, a->text());
                EXPECT_TRUE(fresh)
                    << where.toStdString() << path.toStdString() << ": \""
                    << at->second.toStdString() << "\" and \"" << a->text().toStdString() << '"';
            }
        };
    menu(bar->actions(), {});
}

class Catalogue : public test::WindowWalk
{
};

// Notes what each help request asked for: a topic, or "" for the contents.
class HelpRequests : public HelpViewer
{
  public:
    QStringList asked;
    void showContents() override { asked << QString(); }
    void showSearch() override { asked << QStringLiteral("search"); }
    void showHelpOnHelp() override { asked << QStringLiteral("help on help"); }
    void showTopic(const QString &context) override { asked << context; }
    void quit() override {}
};

TEST_F(Catalogue, NoTwoEntriesOfAMenuOrAWindowShareAnAccessKey)
{
    const std::vector<QString> names = walk([](const VisitedWindow &v) {
        expectDistinctKeys(v);
        for (const QMenuBar *bar : v.window->findChildren<QMenuBar *>())
            expectDistinctKeys(bar, v.procedure.name());
    });
    // The walk reached the windows behind the menu, the forms and those the
    // lists lead to.
    for (const char *name : {"Main", "UpdateLocation", "SearchItemDescription",
                             "SearchDescriptionResult", "RptSelectYear", "PlaceArticles"})
        EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
}

TEST_F(Catalogue, FOneAndEveryHelpButtonOpenThePageAboutTheWindow)
{
    HelpRequests help;
    setHelpViewer(&help);
    walk([&help](const VisitedWindow &v) {
        const QString name = v.procedure.name();
        const QString topic = v.procedure.helpContext();
        EXPECT_FALSE(HelpWindow::pageFor(topic).isEmpty())
            << name.toStdString() << " names no help page";
        // Its own widgets, not those of the windows inside the frame.
        auto own = [&v](QWidget *w) { return procedureOf(w) == &v.procedure; };
        // F1 wherever the focus is in the window, here on its first control.
        QWidget *at = v.window;
        for (QWidget *w : v.window->findChildren<QWidget *>())
            if (own(w) && w->isVisible() && w->focusPolicy() != Qt::NoFocus) {
                at = w;
                break;
            }
        help.asked.clear();
        QTest::keyClick(at, Qt::Key_F1);
        EXPECT_EQ(help.asked, QStringList{topic}) << name.toStdString();
        for (QPushButton *b : v.window->findChildren<QPushButton *>()) {
            if (!own(b) || b->text().remove(u'&') != QStringLiteral("Help") || !b->isEnabled())
                continue;
            help.asked.clear();
            b->click();
            EXPECT_EQ(help.asked, QStringList{topic}) << name.toStdString() << "'s Help button";
        }
    });
    setHelpViewer(nullptr);
}

TEST_F(Catalogue, EscapeClosesEveryWindowBuiltFromALayout)
{
    walk([](const VisitedWindow &v) {
        if (!v.content) return;
        QPointer<QWidget> window = v.window;
        QWidget *at = v.content->focusWidget() ? v.content->focusWidget() : v.content;
        QTest::keyClick(at, Qt::Key_Escape);
        EXPECT_TRUE(test::waitFor([&window] { return window.isNull(); }))
            << v.procedure.name().toStdString();
    });
}

} // namespace
} // namespace hk
