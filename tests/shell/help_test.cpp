// The help viewer: every menu procedure has its topic, topics and searches
// open the right pages.
#include "shell/commands.h"
#include "shell/helpwindow.h"
#include "testapp.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

TEST(HelpTest, EveryProcedureOfTheMenuHasAHelpTopic)
{
    test::app();
    for (const MenuEntry &e : frameMenuEntries()) {
        if (!e.procedure) continue;
        const QUrl page = HelpWindow::pageFor(QString::fromUtf8(e.procedure));
        EXPECT_FALSE(page.isEmpty()) << e.procedure;
        EXPECT_EQ(page.fragment(), QString::fromUtf8(e.procedure));
    }
}

TEST(HelpTest, ShowHelpOpensTheTopicOrElseTheContents)
{
    test::app();
    ProgramHelp help;
    setHelpViewer(&help);

    showHelp(QStringLiteral("BrowseBooks"));
    HelpWindow *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *h = qobject_cast<HelpWindow *>(w)) window = h;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto *page = window->findChild<QTextBrowser *>("page");
    EXPECT_EQ(page->source(), QUrl("qrc:/help/books.html#BrowseBooks"));
    EXPECT_TRUE(page->toPlainText().contains("Browse the Books File"));

    showHelp(QStringLiteral("NoSuchWindow"));
    EXPECT_EQ(page->source(), QUrl("qrc:/help/index.html"));

    help.quit();
    EXPECT_FALSE(window->isVisible());
    setHelpViewer(nullptr);
    showHelp(QStringLiteral("BrowseBooks")); // ignored: no viewer
    EXPECT_FALSE(window->isVisible());
}

TEST(HelpTest, SearchListsThePagesHoldingEveryWord)
{
    test::app();
    HelpWindow window;
    window.showSearch();
    auto *text = window.findChild<QLineEdit *>("searchText");
    auto *found = window.findChild<QListWidget *>("found");

    QTest::keyClicks(text, QStringLiteral("hearthkp.tps"));
    ASSERT_EQ(found->count(), 1);
    EXPECT_EQ(found->item(0)->text(), QStringLiteral("Backing Up Your Data"));

    text->setText(QStringLiteral("locate category"));
    QStringList titles;
    for (int i = 0; i < found->count(); ++i)
        titles << found->item(i)->text();
    EXPECT_TRUE(titles.contains("Working with Lists"));
    EXPECT_FALSE(titles.contains("Backing Up Your Data"));

    text->setText(QStringLiteral("xyzzy"));
    EXPECT_EQ(found->count(), 0);
}

} // namespace
} // namespace hk
