// The owner details: asked for at the first start over the introduction,
// refused while blank, stored whole; the address edited later, or not.
#include "dictionary/globals.h"
#include "platform/messages.h"
#include "platform/windows/layout.h"
#include "shell/introduction.h"
#include "shell/owner.h"
#include "testapp.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::waitFor;
using namespace std::chrono_literals;

const QString name25 = QStringLiteral("Wilhelmina Oakenshott-Bry");
const QString address55 = QStringLiteral("Flat 12, 147 Longmeadow Crescent, Upper Wickham, WX4 9Q");

class OwnerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_EQ(name25.size(), 25);
        ASSERT_EQ(address55.size(), 55);
        test::app();
        frame.setCentralWidget(area);
        frame.resize(900, 700);
        frame.show();
        setDocumentArea(area);
        setMessageService(&boxes);
    }
    void TearDown() override
    {
        for (Long p : {intro, editor})
            if (Procedure *proc = findProcedure(p); proc && proc->window()) proc->window()->close();
        if (QWidget *d = ownerDialog()) d->close();
        waitFor([this] { return !findProcedure(intro) && !findProcedure(editor); });
        setMessageService(nullptr);
        setDocumentArea(nullptr);
        OwnerName.clear();
        OwnerAddress.clear();
    }

    static QWidget *ownerDialog()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == "Owner Details - First Start") return w;
        return nullptr;
    }
    static QPushButton *button(QWidget *w, const QString &text)
    {
        for (auto *b : w->findChildren<QPushButton *>())
            if (b->text() == text) return b;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    static void type(PictureEntry *entry, const QString &text)
    {
        entry->selectAll();
        if (text.isEmpty())
            QTest::keyClick(entry, Qt::Key_Delete);
        else
            QTest::keyClicks(entry, text);
    }
    // The text a label shows, provided it shows all of it.
    static QString shownWhole(QWidget *w, const char *name)
    {
        auto *label = w->findChild<QLabel *>(name);
        if (!label) return "(no label)";
        if (label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
            return "(cut) " + label->text();
        return label->text();
    }
    QWidget *editorWindow()
    {
        editor = start(std::make_unique<EditOwnerAddress>());
        return findProcedure(editor)->window();
    }

    QApplication &app = test::app(); // before any widget member
    test::TempSettings settings;
    ScriptedMessageService boxes;
    QMainWindow frame;
    QMdiArea *area = new QMdiArea;
    Long intro = 0;
    Long editor = 0;
};

TEST_F(OwnerTest, FirstStartAsksBeforeTheTimerRefusesBlanksAndStoresBothWhole)
{
    intro = start(std::make_unique<Introduction>(50ms));
    QWidget *dialog = nullptr;
    ASSERT_TRUE(waitFor([&] { return (dialog = ownerDialog()) != nullptr; }));
    QTest::qWait(300); // well past the introduction's timer, had it started
    ASSERT_NE(findProcedure(intro), nullptr);
    QWidget *introWindow = findProcedure(intro)->window();
    EXPECT_FALSE(introWindow->isEnabled());

    const auto entries = dialog->findChildren<PictureEntry *>();
    ASSERT_EQ(entries.size(), 2);
    PictureEntry *name = entries[0], *address = entries[1];
    EXPECT_EQ(name->toolTip(), "Enter Your Name - Maximum 25 Characters");
    EXPECT_EQ(address->statusTip(), "Enter Your Address");
    QPushButton *ok = button(dialog, "Ok");

    type(address, "x");
    ok->click(); // the name is asked for first
    EXPECT_EQ(dialog->focusWidget(), name);
    type(address, "");
    type(name, name25);
    ok->click();
    const std::vector<MessageRequest> refusals = {
        {"Name field must be completed", "Error", MessageIcon::Question, ButtonOk},
        {"Address field must be completed", "Error", MessageIcon::Question, ButtonOk},
    };
    EXPECT_EQ(boxes.boxes(), refusals);
    EXPECT_EQ(dialog->focusWidget(), address);
    EXPECT_FALSE(settings.exists("HkOwner.Ini"));

    type(address, address55);
    ok->click();
    EXPECT_TRUE(waitFor([] { return ownerDialog() == nullptr; }));
    EXPECT_EQ(settings.text("HkOwner.Ini"),
              "[HkOwner]\nOwnerName=" + name25 + "\nOwnerAddress=" + address55 + "\n");
    EXPECT_TRUE(waitFor([&] { return shownWhole(introWindow, "ownerName") == name25; }));
    EXPECT_EQ(shownWhole(introWindow, "ownerAddress"), address55);
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("[OwnerDetails]"));

    // Now its timer runs.
    EXPECT_TRUE(waitFor([this] { return findProcedure(intro) == nullptr; }));
}

TEST_F(OwnerTest, AnOwnerOnFileIsShownWithoutAsking)
{
    test::giveOwner(name25.toStdString(), address55.toStdString());
    intro = start(std::make_unique<Introduction>(10min));
    QWidget *w = findProcedure(intro)->window();
    QTest::qWait(50);
    EXPECT_EQ(ownerDialog(), nullptr);
    EXPECT_EQ(shownWhole(w, "ownerName"), name25);
    EXPECT_EQ(shownWhole(w, "ownerAddress"), address55);
}

TEST_F(OwnerTest, EditingTheAddressIsStoredOnlyOnOk)
{
    test::giveOwner("A. Owner", "1 The Lane");
    readOwnerDetails();
    const QString stored = settings.text("HkOwner.Ini");

    // Cancel: the edit, made on the shared address, is undone from the file.
    QWidget *w = editorWindow();
    EXPECT_EQ(w->windowTitle(), "Edit Address Information");
    auto *entry = w->findChild<PictureEntry *>();
    EXPECT_EQ(entry->text(), "1 The Lane");
    type(entry, "2 New Road");
    entry->accept();
    EXPECT_EQ(OwnerAddress, "2 New Road");
    button(w, "Cancel")->click();
    ASSERT_TRUE(waitFor([this] { return findProcedure(editor) == nullptr; }));
    EXPECT_EQ(OwnerAddress, "1 The Lane");
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("[EditOwnerAddress]"));

    // Blank: refused, nothing written, the window stays.
    w = editorWindow();
    entry = w->findChild<PictureEntry *>();
    type(entry, "");
    button(w, "Ok")->click();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0], (MessageRequest{"Address field must be completed", "Error",
                                                MessageIcon::Question, ButtonOk}));
    EXPECT_NE(findProcedure(editor), nullptr);
    EXPECT_EQ(settings.text("HkOwner.Ini"), stored);

    // Left by its close box: nothing stored, the old address back.
    w->close();
    ASSERT_TRUE(waitFor([this] { return findProcedure(editor) == nullptr; }));
    EXPECT_EQ(OwnerAddress, "1 The Lane");

    // Ok: the address alone is rewritten.
    w = editorWindow();
    type(w->findChild<PictureEntry *>(), address55);
    button(w, "Ok")->click();
    ASSERT_TRUE(waitFor([this] { return findProcedure(editor) == nullptr; }));
    EXPECT_EQ(settings.text("HkOwner.Ini"),
              "[HkOwner]\nOwnerName=A. Owner\nOwnerAddress=" + address55 + "\n");
    EXPECT_EQ(QString::fromStdString(OwnerAddress.str()), address55);
}

TEST_F(OwnerTest, TheAddressWindowsControlsFollowItsSize)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(editorWindow());
    ASSERT_NE(sub, nullptr);
    QPushButton *ok = button(sub, "Ok");
    const QRect design = ok->geometry();
    const QSize content = sub->widget()->size();
    sub->resize(sub->size() + content); // content twice its size
    ASSERT_EQ(sub->widget()->size(), content * 2);
    // Twice as wide, as high as it was, in the middle of its doubled place.
    EXPECT_EQ(ok->geometry(), QRect(design.x() * 2, design.y() * 2 + design.height() / 2,
                                    design.width() * 2, design.height()));
    sub->resize(sub->size() - content);
    EXPECT_EQ(ok->geometry(), design);
}

TEST_F(OwnerTest, TheFocusedEntrysMessageShowsInTheFramesStatusBar)
{
    QWidget *w = editorWindow();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    button(w, "Cancel")->setFocus();
    w->findChild<PictureEntry *>()->setFocus();
    EXPECT_TRUE(
        waitFor([&] { return frame.statusBar()->currentMessage() == "Enter Your Address"; }));
    // The message leaves with the window that showed it.
    w->close();
    EXPECT_TRUE(waitFor([&] { return frame.statusBar()->currentMessage().isEmpty(); }));
}

} // namespace
} // namespace hk
