// Setup > "Restore &Setting": deleting the window settings file, what the
// window then shows and allows, and a deletion that fails.
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

TEST_F(RestoreDefaultTest, DeletesTheFileOnceThenFindsItGone)
{
    settingsService().write(WindowSettingsFile, "BrowseBooks", "XPosit", "10");
    ASSERT_TRUE(settings.exists("HEARTHKP.INI"));
    open();
    EXPECT_EQ(window()->windowTitle(), "Restore Default Setting");
    EXPECT_EQ(status(), "");
    QPushButton *restore = button("&Restore");
    QPushButton *cancel = button("Cancel");
    EXPECT_EQ(restore->toolTip(), "Delete File");
    EXPECT_EQ(cancel->toolTip(), " Cancel Restore");
    ASSERT_TRUE(restore->isEnabled());

    restore->click();
    EXPECT_EQ(status(), "Initialisation File Succesfully Deleted");
    EXPECT_FALSE(settings.exists("HEARTHKP.INI"));
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_EQ(cancel->text(), "Ok");
    cancel->click();
    ASSERT_TRUE(waitFor([this] { return findProcedure(id) == nullptr; }));

    open();
    button("&Restore")->click();
    EXPECT_EQ(status(), "Initialisation File Already Deleted");
    EXPECT_FALSE(button("&Restore")->isEnabled());
    EXPECT_EQ(button("Ok")->text(), "Ok");
}

// The file found but not deleted: no success is claimed, and "&Restore"
// stays for another try.
TEST_F(RestoreDefaultTest, AFailedDeletionSaysSoAndCanBeTriedAgain)
{
    struct Undeletable : MemorySettings {
        bool removeFile(std::string_view) override { return false; }
    } stuck;
    stuck.write(WindowSettingsFile, "BrowseBooks", "XPosit", "10");
    setSettingsService(&stuck);
    open();
    button("&Restore")->click();
    EXPECT_EQ(status(), "Initialisation File Could Not Be Deleted");
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
