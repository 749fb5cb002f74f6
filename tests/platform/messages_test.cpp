#include "platform/messages.h"
#include "platform/titlefit.h"
#include "qtapp.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace hk;

namespace
{

// Runs `act` on the message box once it is up.
void whenBoxShows(std::function<void(QMessageBox *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

} // namespace

TEST(ScriptedMessages, RecordEveryBoxAndAnswerFromTheScript)
{
    ScriptedMessageService script;
    setMessageService(&script);
    script.answer(ButtonNo);
    EXPECT_EQ(message("Please insert a floppy disk in A-drive", "Insert disk",
                      MessageIcon::Exclamation, ButtonYes + ButtonNo, ButtonYes),
              ButtonNo);
    // With the script used up, the box gives its default button.
    EXPECT_EQ(message("t", "Retry?", MessageIcon::Stop, ButtonRetry + ButtonCancel, ButtonCancel),
              ButtonCancel);
    EXPECT_EQ(message("t", "Default not on the box", MessageIcon::Question,
                      ButtonYes + ButtonNo + ButtonCancel, ButtonOk),
              ButtonYes);
    ASSERT_EQ(script.boxes().size(), 3u);
    EXPECT_EQ(script.boxes()[0],
              (MessageRequest{"Please insert a floppy disk in A-drive", "Insert disk",
                              MessageIcon::Exclamation, ButtonYes + ButtonNo, ButtonYes}));
    script.answer(ButtonRetry);
    EXPECT_THROW(message("t", "OK only", MessageIcon::Information), std::logic_error);

    beep(150, 16);
    ASSERT_EQ(script.beeps().size(), 1u);
    EXPECT_EQ(script.beeps()[0].frequency, 150);
    {
        BusyCursor outer;
        BusyCursor inner;
        EXPECT_EQ(script.busyDepth(), 2);
    }
    EXPECT_EQ(script.busyDepth(), 0);
    setMessageService(nullptr);
}

TEST(Halt, ShowsItsTextThenEndsThroughTheHook)
{
    ScriptedMessageService script;
    setMessageService(&script);
    std::vector<int> exits;
    setHaltHook([&](int code) { exits.push_back(code); });
    halt("Disk Error", 3);
    EXPECT_EQ(script.halts(), std::vector<std::string>{"Disk Error"});
    EXPECT_EQ(exits, std::vector<int>{3});
    EXPECT_TRUE(setHaltHook({}));
    setMessageService(nullptr);
}

TEST(QtMessages, ShowTheBoxAndGiveTheButtonClicked)
{
    test::qtApp();
    QtMessageService qt;
    whenBoxShows([](QMessageBox *box) {
        EXPECT_EQ(box->windowTitle(), "Backup Reminder");
        EXPECT_EQ(box->text(), "Make sure you do a backup of the data file as soon as possible !");
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(static_cast<QAbstractButton *>(box->defaultButton()),
                  box->button(QMessageBox::No));
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(
        qt.message({"Make sure you do a backup of the data file as soon as possible !",
                    "Backup Reminder", MessageIcon::Information, ButtonYes + ButtonNo, ButtonNo}),
        ButtonYes);

    // A short text under a long title: the box is as wide as its title needs.
    whenBoxShows([](QMessageBox *box) {
        EXPECT_GE(box->frameGeometry().width(), titleWidth(box, box->windowTitle()));
        box->button(QMessageBox::Ok)->click();
    });
    qt.message({"The Cassette Number: 7 already exists", "Please enter another Cassette Number",
                MessageIcon::Exclamation, ButtonOk, ButtonOk});

    whenBoxShows([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(qt.message({"t", "Enter takes the default", MessageIcon::Stop,
                          ButtonRetry + ButtonCancel, ButtonRetry}),
              ButtonRetry);

    whenBoxShows([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(qt.message({"t", "Escape cancels", MessageIcon::Question,
                          ButtonYes + ButtonNo + ButtonCancel, ButtonYes}),
              ButtonCancel);

    qt.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    qt.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
