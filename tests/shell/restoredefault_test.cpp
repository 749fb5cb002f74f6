// Setup > "Restore &Setting": deleting the window placements (and nothing
// else) from the settings file, what the window then shows and allows, and a
// deletion that fails.
#include "app/catalogue.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowsettings.h"
#include "shell/frame.h"
#include "shell/restoredefault.h"
#include "testapp.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::waitFor;

class RestoreDefaultTest : public ::testing::Test
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
        if (QWidget *w = window()) w->close();
        waitFor([this] { return findProcedure(id) == nullptr; });
        setDocumentArea(nullptr);
    }

    void open()
    {
        id = start(std::make_unique<RestoreDefault>());
        ASSERT_NE(window(), nullptr);
    }
    QWidget *window() const
    {
        Procedure *p = findProcedure(id);
        return p ? p->window() : nullptr;
    }
    QPushButton *button(const QString &text) const
    {
        for (auto *b : window()->findChildren<QPushButton *>())
            if (b->text() == text) return b;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    QString status() const
    {
        auto *content =
            qobject_cast<BuiltWindow *>(qobject_cast<QMdiSubWindow *>(window())->widget());
        return content->controlAs<QLabel>(4)->text();
    }

    QApplication &app = test::app(); // before any widget member
    test::TempSettings settings;
    QMdiArea area;
    Long id = 0;
};

// The placements go, every one of them; what else the file holds stays, so
// that the next backup still goes to the drive the user chose.
TEST_F(RestoreDefaultTest, ForgetsThePlacementsOnceAndKeepsTheBackupDrive)
{
    for (const char *section : {"BrowseBooks", "CopyFile"})
        for (const char *key : {"Maximize", "XPosit", "YPosit", "Width", "Height"})
            settingsService().write(WindowSettingsFile, section, key, "10");
    settingsService().write(WindowSettingsFile, "Drives", "A", "/media/backup");
    settingsService().write(WindowSettingsFile, "CopyFile", "Note", "kept");
    open();
    EXPECT_EQ(window()->windowTitle(), "Restore Default Setting");
    EXPECT_EQ(status(), "");
    QPushButton *restore = button("&Restore");
    QPushButton *cancel = button("Cancel");
    EXPECT_EQ(restore->toolTip(), "Delete Window Placements");
    EXPECT_EQ(cancel->toolTip(), " Cancel Restore");
    ASSERT_TRUE(restore->isEnabled());

    restore->click();
    EXPECT_EQ(status(), "Window Placements Deleted");
    const QString kept = settings.text("HEARTHKP.INI");
    EXPECT_FALSE(kept.contains("[BrowseBooks]")) << kept.toStdString();
    for (const char *key : {"Maximize", "XPosit", "YPosit", "Width", "Height"})
        EXPECT_FALSE(kept.contains(key)) << kept.toStdString();
    EXPECT_EQ(settingsService().read(WindowSettingsFile, "Drives", "A", {}), "/media/backup");
    EXPECT_EQ(settingsService().read(WindowSettingsFile, "CopyFile", "Note", {}), "kept");
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_EQ(cancel->text(), "Ok");
    cancel->click();
    ASSERT_TRUE(waitFor([this] { return findProcedure(id) == nullptr; }));

    open();
    button("&Restore")->click();
    EXPECT_EQ(status(), "Window Placements Already Deleted");
    EXPECT_FALSE(button("&Restore")->isEnabled());
    EXPECT_EQ(button("Ok")->text(), "Ok");
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("A=/media/backup"));
}

// The file found but not written: no success is claimed, and "&Restore"
// stays for another try.
TEST_F(RestoreDefaultTest, AFailedDeletionSaysSoAndCanBeTriedAgain)
{
    struct Unwritable : MemorySettings {
        std::optional<int> removeKeysEverywhere(std::string_view,
                                                const std::vector<std::string> &) override
        {
            return std::nullopt;
        }
    } stuck;
    stuck.write(WindowSettingsFile, "BrowseBooks", "XPosit", "10");
    setSettingsService(&stuck);
    open();
    button("&Restore")->click();
    EXPECT_EQ(status(), "Window Placements Could Not Be Deleted");
    EXPECT_TRUE(button("&Restore")->isEnabled());
    EXPECT_EQ(button("Cancel")->text(), "Cancel");
    window()->close();
    waitFor([this] { return findProcedure(id) == nullptr; });
    setSettingsService(nullptr);
}

TEST_F(RestoreDefaultTest, TheSetupEntryOpensItAndTheSummaryWaitsForItToClose)
{
    test::giveOwner();
    setDocumentArea(nullptr);
    ProcedureCatalogue procedures = programProcedures();
    procedures[QStringLiteral("FileSummary")] = procedures.at(QStringLiteral("RestoreDefault"));
    const Long mainId = start(std::make_unique<Main>(procedures));
    auto *frame = qobject_cast<QMainWindow *>(findProcedure(mainId)->window());
    QAction *summary = nullptr, *restore = nullptr;
    for (QAction *top : frame->menuBar()->actions())
        for (QAction *a : top->menu()->actions()) {
            if (a->text() == "&Summary") summary = a;
            if (a->text() == "Restore &Setting") restore = a;
        }
    ASSERT_TRUE(summary && restore);
    ASSERT_TRUE(restore->isEnabled());
    ASSERT_TRUE(summary->isEnabled());

    restore->trigger();
    auto *documents = frame->findChild<QMdiArea *>();
    QMdiSubWindow *sub = nullptr;
    ASSERT_TRUE(waitFor([&] {
        for (QMdiSubWindow *s : documents->subWindowList())
            if (s->windowTitle() == "Restore Default Setting") sub = s;
        return sub != nullptr;
    }));
    EXPECT_TRUE(waitFor([&] { return !summary->isEnabled(); }));
    sub->close();
    EXPECT_TRUE(waitFor([&] { return summary->isEnabled(); }));
    frame->close();
    EXPECT_TRUE(waitFor([&] { return findProcedure(mainId) == nullptr; }));
}

} // namespace
} // namespace hk
