// Window placements through a real window of the program (the About window in
// a document area, the owner dialog on its own): what the file holds after
// each way of closing, and where the window reopens.
#include "dictionary/globals.h"
#include "platform/windows/visiblearea.h"
#include "platform/windows/windowsettings.h"
#include "shell/helpwindow.h"
#include "shell/introduction.h"
#include "shell/owner.h"
#include "testapp.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::waitFor;
using namespace std::chrono_literals;

class WindowSettingsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::app();
        area.resize(900, 700);
        area.show();
        setDocumentArea(&area);
    }
    void TearDown() override
    {
        closeWindow();
        setDocumentArea(nullptr);
    }

    QWidget *open()
    {
        id = start(std::make_unique<AboutHearthkeep>(10min));
        return findProcedure(id)->window();
    }
    void closeWindow()
    {
        if (!findProcedure(id)) return;
        findProcedure(id)->window()->close();
        EXPECT_TRUE(waitFor([this] { return findProcedure(id) == nullptr; }));
    }
    QString ini() const { return settings.text("HEARTHKP.INI"); }

    QApplication &app = test::app(); // before any widget member
    test::TempSettings settings;
    QMdiArea area;
    Long id = 0;
};

TEST_F(WindowSettingsTest, NormalAndMaximizedClosesAreWrittenAndRestored)
{
    QWidget *w = open();
    w->setGeometry(30, 40, 400, 300);
    closeWindow();
    EXPECT_EQ(ini(),
              "[AboutHearthkeep]\nMaximize=No\nXPosit=30\nYPosit=40\nWidth=400\nHeight=300\n");
    w = open();
    EXPECT_EQ(w->geometry(), QRect(30, 40, 400, 300));
    EXPECT_FALSE(w->isMaximized());

    // Maximized: the place it had before is written, and comes back when the
    // reopened window is restored.
    w->setGeometry(50, 60, 420, 320);
    w->showMaximized();
    closeWindow();
    EXPECT_EQ(ini(),
              "[AboutHearthkeep]\nMaximize=Yes\nXPosit=50\nYPosit=60\nWidth=420\nHeight=320\n");
    w = open();
    EXPECT_TRUE(w->isMaximized());
    w->showNormal();
    EXPECT_EQ(w->geometry(), QRect(50, 60, 420, 320));
}

TEST_F(WindowSettingsTest, AMinimizedCloseLeavesTheSectionAsItWas)
{
    QWidget *w = open();
    w->setGeometry(30, 40, 400, 300);
    closeWindow();
    const QString before = ini();
    w = open();
    w->setGeometry(70, 80, 500, 350);
    w->showMinimized();
    closeWindow();
    EXPECT_EQ(ini(), before);
}

TEST_F(WindowSettingsTest, PositionZeroCountsAsAbsent)
{
    const QRect designed = open()->geometry();
    ASSERT_NE(designed.x(), 0);
    ASSERT_NE(designed.y(), 0);
    closeWindow();

    // Saved at the very left edge: it reopens at its designed place and size.
    QWidget *w = open();
    w->setGeometry(0, 40, 400, 300);
    closeWindow();
    EXPECT_TRUE(ini().contains("XPosit=0\n"));
    EXPECT_EQ(open()->geometry(), designed);
    closeWindow();

    // At the top edge it keeps its designed place too, but a saved
    // maximized state still applies.
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "XPosit", "30");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "YPosit", "0");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "Maximize", "Yes");
    w = open();
    EXPECT_TRUE(w->isMaximized());
    w->showNormal();
    EXPECT_EQ(w->geometry(), designed);
}

// Moved past the left edge and maximized: brought back inside, it is kept
// one pixel from the edge, so that its next opening still knows its place
// and that it was maximized.
TEST_F(WindowSettingsTest, AWindowBroughtBackFromBeyondTheEdgeKeepsItsPlaceAndState)
{
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "XPosit", "-50");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "YPosit", "-20");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "Width", "400");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "Height", "300");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "Maximize", "Yes");
    for (int opening = 0; opening < 2; ++opening) {
        QWidget *w = open();
        EXPECT_TRUE(w->isMaximized()) << opening;
        closeWindow();
        EXPECT_FALSE(ini().contains("XPosit=0\n")) << ini().toStdString();
        EXPECT_FALSE(ini().contains("YPosit=0\n")) << ini().toStdString();
    }
    QWidget *w = open();
    w->showNormal();
    EXPECT_EQ(w->geometry(), QRect(1, 1, 400, 300));
}

TEST_F(WindowSettingsTest, ASizeOfZeroLeavesAResizableWindowWhereItWasDesigned)
{
    const QRect designed = open()->geometry();
    closeWindow();
    settingsService().removeFile("HEARTHKP.INI");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "XPosit", "25");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "YPosit", "35");
    settingsService().write("HEARTHKP.INI", "AboutHearthkeep", "Width", "300");
    EXPECT_EQ(open()->geometry(), designed);
}

// Placements saved on a larger screen, or damaged: the window still opens
// wholly where it can be seen, a document window in the document area and the
// help viewer on the screen.
TEST_F(WindowSettingsTest, ASavedPlaceBeyondTheVisibleAreaIsFittedIntoIt)
{
    for (const char *section : {"AboutHearthkeep", "HelpViewer"}) {
        settingsService().write("HEARTHKP.INI", section, "XPosit", "5000");
        settingsService().write("HEARTHKP.INI", section, "YPosit", "-4000");
        settingsService().write("HEARTHKP.INI", section, "Width", "200000");
        settingsService().write("HEARTHKP.INI", section, "Height", "300");
    }
    QWidget *w = open();
    EXPECT_EQ(w->geometry(), QRect(area.viewport()->width() - w->width(), 1, w->width(), 300));
    EXPECT_EQ(w->width(), area.viewport()->width() - 1); // clear of position 0

    ProgramHelp help;
    help.showContents();
    QWidget *viewer = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (qobject_cast<HelpWindow *>(top)) viewer = top;
    ASSERT_NE(viewer, nullptr);
    const QRect screen = viewer->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(viewer->geometry().marginsAdded(frameMargins(viewer))));
    EXPECT_GE(viewer->frameGeometry().width(), screen.width() - 8);
}

// A window manager frames a window only once it shows, after it has been
// placed: a window made as large as the screen leaves room for a title bar
// and borders, or its title would end up above the screen.
TEST(VisibleArea, AWindowNotFramedYetLeavesRoomForItsTitleBar)
{
    test::app();
    QWidget w;
    const QRect screen = w.screen()->availableGeometry();
    placeInside(&w, screen.adjusted(-100, -100, 100, 100));
    EXPECT_GE(w.geometry().top() - screen.top(), w.fontMetrics().height());
    EXPECT_TRUE(screen.contains(w.geometry().marginsAdded(frameMargins(&w))));
}

// The owner dialog is a window of its own, of a fixed size: it takes the
// saved position and keeps its size.
TEST_F(WindowSettingsTest, AFixedSizeTopLevelWindowOnlyMoves)
{
    setDocumentArea(nullptr);
    OwnerName.clear();
    settingsService().write("HEARTHKP.INI", "OwnerDetails", "XPosit", "120");
    settingsService().write("HEARTHKP.INI", "OwnerDetails", "YPosit", "90");
    settingsService().write("HEARTHKP.INI", "OwnerDetails", "Width", "999");
    settingsService().write("HEARTHKP.INI", "OwnerDetails", "Height", "999");
    id = start(std::make_unique<OwnerDetails>());
    QWidget *w = findProcedure(id)->window();
    EXPECT_TRUE(waitFor([w] { return w->geometry().topLeft() == QPoint(120, 90); }));
    EXPECT_NE(w->width(), 999);
    EXPECT_EQ(w->minimumSize(), w->maximumSize());

    w->setGeometry(QRect(QPoint(140, 100), w->size()));
    ASSERT_TRUE(waitFor([w] { return w->geometry().topLeft() == QPoint(140, 100); }));
    const QSize size = w->size();
    closeWindow();
    EXPECT_EQ(settings.text("HEARTHKP.INI"),
              QStringLiteral("[OwnerDetails]\nXPosit=140\nYPosit=100\nWidth=%1\nHeight=%2\n"
                             "Maximize=No\n")
                  .arg(size.width())
                  .arg(size.height()));
    EXPECT_FALSE(settings.exists("HkOwner.Ini")); // closed without "Ok"
}

} // namespace
} // namespace hk
