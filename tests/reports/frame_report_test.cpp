// The reports as the frame offers them: the built ones enabled on the
// Reports menu, and a run started there opening its progress window and
// preview as document windows of the frame.
#include "app/catalogue.h"
#include "reports/reportdata.h"

#include "platform/filedialogs.h"
#include "reports/printchoice.h"
#include "reports/reportpreview.h"
#include "shell/frame.h"
#include "testapp.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest/QTest>

namespace hk
{
namespace
{

using test::waitFor;
using namespace std::chrono_literals;

class AcceptAll : public PrintChoice
{
  public:
    QCoro::Task<bool> ask(QPrinter &, QString) override { co_return true; }
};

class FrameReportTest : public ProgramTest
{
  protected:
    AcceptAll choice;
    ScriptedFileDialogService dialogs;
    Long mainId = 0;
    QMainWindow *frame = nullptr;

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        setPrintChoice(&choice);
        mainId = start(std::make_unique<Main>(programProcedures(), 10min));
        frame = qobject_cast<QMainWindow *>(findProcedure(mainId)->window());
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        if (frame) frame->close();
        waitFor([this] { return findProcedure(mainId) == nullptr; });
        setPrintChoice(nullptr);
        setFileDialogService(nullptr);
        setReportToday({});
        ProgramTest::TearDown();
    }

    QAction *reportEntry(const QString &group, const QString &text)
    {
        for (QAction *top : frame->menuBar()->actions())
            if (top->text() == "&Reports")
                for (QAction *sub : top->menu()->actions())
                    if (sub->text() == group && sub->menu())
                        for (QAction *a : sub->menu()->actions())
                            if (a->text() == text) return a;
        ADD_FAILURE() << "no entry " << text.toStdString();
        return nullptr;
    }
};

TEST_F(FrameReportTest, BuiltReportsAreEnabledAndRunInsideTheFrame)
{
    for (auto [group, text] : {std::pair{"&Books", "Books by &Author"},
                               {"&Books", "Books by &Title"},
                               {"&Books", "Books by &Category"},
                               {"&Books", "Books by &Selected Category"},
                               {"&Items", "Complete &Items"},
                               {"&Items", "Items by &Location"},
                               {"&Items", "Items by &Selected Location"},
                               {"&Items", "Items with Serial &Numbers"},
                               {"&Software", "&Software"},
                               {"&Video", "Video Cassette &w/Titles"},
                               {"&Video", "Video by &Selected Cassette"},
                               {"&Music", "Music A&rtists"}})
        EXPECT_TRUE(reportEntry(group, text)->isEnabled()) << text;

    test::fillBooks();
    GlobalResponse = 0;
    reportEntry("&Books", "Books by &Title")->trigger();
    auto *documents = frame->findChild<QMdiArea *>();
    PreviewWindow *preview = nullptr;
    ASSERT_TRUE(waitFor([&] {
        for (QMdiSubWindow *sub : documents->subWindowList())
            if ((preview = qobject_cast<PreviewWindow *>(sub->widget()))) return true;
        return false;
    }));
    EXPECT_EQ(preview->zoneText(2), "Page 1 of 2"); // the title band follows the books
    // Alt+F in the preview opens its own File menu, not the frame's.
    QMenu *ownFile = preview->menuBar()->actions().at(0)->menu();
    QMenu *frameFile = frame->menuBar()->actions().at(0)->menu();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    preview->pageSpin()->setFocus();
    QTest::keyClick(frame->windowHandle(), Qt::Key_F, Qt::AltModifier); // as the system delivers it
    EXPECT_TRUE(waitFor([&] { return ownFile->isVisible(); }));
    EXPECT_FALSE(frameFile->isVisible());
    ownFile->close();
    preview->action(3)->trigger(); // Exit closes its document window
    ASSERT_TRUE(waitFor([&] { return documents->subWindowList().isEmpty(); }));
    EXPECT_TRUE(waitFor([] { return GlobalResponse == RequestCompleted; }));
    EXPECT_EQ(Books.Used, 0);
}

// A one-page preview has no control to take the focus, yet Alt and a letter
// of its menus still open its own menu, not the frame's behind it.
TEST_F(FrameReportTest, AOnePagePreviewAnswersItsOwnMenuKeys)
{
    setFileDialogService(&dialogs); // no answer: the save is cancelled
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    std::vector<Page> one(1);
    one[0].texts.push_back({5, 5, 0, {}, Align::Left, "page 1"});
    start(std::make_unique<ReportPreview>(std::move(one), QStringLiteral("job")));
    auto *documents = frame->findChild<QMdiArea *>();
    PreviewWindow *preview = nullptr;
    ASSERT_TRUE(waitFor([&] {
        for (QMdiSubWindow *sub : documents->subWindowList())
            if ((preview = qobject_cast<PreviewWindow *>(sub->widget()))) return true;
        return false;
    }));
    ASSERT_FALSE(preview->pageSpin()->isEnabled());
    QMenu *ownFile = preview->menuBar()->actions().at(0)->menu();
    QMenu *frameFile = frame->menuBar()->actions().at(0)->menu();
    // Its disabled View menu keeps its letter: the frame's Video stays shut.
    QTest::keyClick(frame->windowHandle(), Qt::Key_V, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(frame->windowHandle(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_TRUE(ownFile->isVisible());
    EXPECT_FALSE(frameFile->isVisible());
    // D on the open menu: the preview's Save as PDF, not the frame's backup.
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_D);
    EXPECT_TRUE(waitFor([&] { return dialogs.requests().size() == 1; }));
    for (QMdiSubWindow *sub : documents->subWindowList())
        EXPECT_NE(sub->windowTitle(), "Data Backup");
    QPointer<PreviewWindow> open(preview);
    preview->action(3)->trigger();
    EXPECT_TRUE(waitFor([&] { return open.isNull(); }));
}

// A report of one cassette asks for it in its selection window first: closed,
// it prints nothing; the cassette chosen there is the one printed.
TEST_F(FrameReportTest, TheChosenCassettesTitlesArePrinted)
{
    test::fillVideo();
    auto *documents = frame->findChild<QMdiArea *>();

    GlobalResponse = 0;
    reportEntry("&Video", "Video by &Selected Cassette")->trigger();
    QMdiSubWindow *window = nullptr;
    auto opened = [&] {
        for (QMdiSubWindow *sub : documents->subWindowList())
            if (sub->windowTitle() == "Select Video Cassette to Print") window = sub;
        return window != nullptr;
    };
    ASSERT_TRUE(waitFor(opened));
    auto button = [&](const char *text) {
        for (auto *b : window->findChildren<QPushButton *>())
            if (b->text() == text) return b;
        return static_cast<QPushButton *>(nullptr);
    };
    ASSERT_NE(button("&Close"), nullptr);
    button("&Close")->click();
    ASSERT_TRUE(waitFor([] { return GlobalResponse == RequestCancelled; }));
    EXPECT_TRUE(documents->subWindowList().isEmpty()); // no preview

    window = nullptr;
    VidNum = {}; // the list opens on the cassette in the buffer: here the first
    reportEntry("&Video", "Video by &Selected Cassette")->trigger();
    ASSERT_TRUE(waitFor(opened));
    ASSERT_TRUE(waitFor([&] { return button("&Select") && button("&Select")->isEnabled(); }));
    button("&Select")->click(); // number 10 heads the list: Comedies
    PreviewWindow *preview = nullptr;
    const bool shown = waitFor([&] {
        for (QMdiSubWindow *sub : documents->subWindowList())
            if ((preview = qobject_cast<PreviewWindow *>(sub->widget()))) return true;
        return false;
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(VidNum.VideoTitle.str(), "Comedies");
    preview->action(3)->trigger();
    ASSERT_TRUE(waitFor([&] { return documents->subWindowList().isEmpty(); }));
    EXPECT_TRUE(waitFor([] { return GlobalResponse == RequestCompleted; }));
}

} // namespace
} // namespace hk
