// Procedures: a call blocks only its caller, posted events reach their
// target, and a one-window claim admits one window at a time.
#include "platform/windows/procedure.h"
#include "testapp.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::waitFor;

// A procedure with a window holding a button and an entry. Pressing the
// button counts, and calls another such procedure when `callsOnPress`.
class Clicker : public Procedure
{
  public:
    explicit Clicker(bool callsOnPress = false)
        : Procedure(QStringLiteral("Clicker")), callsOnPress_(callsOnPress)
    {
    }

    static inline Long lastRun = 0; // the latest Clicker to run

    QPushButton *button = nullptr;
    QLineEdit *entry = nullptr;
    int presses = 0;
    bool calling = false; // a call of its own is under way
    int gainFocusSeen = 0;

  protected:
    QCoro::Task<> run() override
    {
        lastRun = id();
        auto *w = new QWidget;
        button = new QPushButton(QStringLiteral("Press"), w);
        entry = new QLineEdit(w);
        auto *layout = new QVBoxLayout(w);
        layout->addWidget(button);
        layout->addWidget(entry);
        QObject::connect(button, &QPushButton::clicked, this, [this] {
            ++presses;
            if (callsOnPress_) callOther();
        });
        openDocument(w);
        co_await untilClosed();
    }

    bool handlePosted(QEvent::Type type) override
    {
        if (type == Notice::gainFocus()) ++gainFocusSeen;
        return Procedure::handlePosted(type);
    }

  private:
    QCoro::Task<> callOther()
    {
        calling = true;
        co_await call(std::make_unique<Clicker>());
        ++resumed;
        calling = false;
    }

  public:
    static inline int resumed = 0; // calls that came back into their caller
  private:
    bool callsOnPress_;
};

template <class P> P *running(Long id)
{
    return dynamic_cast<P *>(findProcedure(id));
}

class ProcedureTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::app();
        setDocumentArea(nullptr);
    }
    void TearDown() override
    {
        for (Long id : started)
            post(id, Notice::closeRequest());
        waitFor([this] {
            return std::none_of(started.begin(), started.end(),
                                [](Long id) { return findProcedure(id) != nullptr; });
        });
    }
    Long startClicker(bool callsOnPress = false)
    {
        Long id = start(std::make_unique<Clicker>(callsOnPress));
        started.push_back(id);
        return id;
    }
    std::vector<Long> started;
};

TEST_F(ProcedureTest, CallBlocksOnlyTheCallerUntilTheCalledProcedureReturns)
{
    Clicker *a = running<Clicker>(startClicker(true));
    Clicker *b = running<Clicker>(startClicker());
    ASSERT_TRUE(a && b && a->button && b->button);

    QTest::mouseClick(a->button, Qt::LeftButton);
    ASSERT_TRUE(a->calling);
    const Long calleeId = Clicker::lastRun;
    Clicker *c = running<Clicker>(calleeId);
    ASSERT_TRUE(c && c != b);

    // The caller ignores clicks and typing while it waits.
    QTest::mouseClick(a->button, Qt::LeftButton);
    QTest::keyClicks(a->entry, QStringLiteral("abc"));
    EXPECT_EQ(a->presses, 1);
    EXPECT_EQ(a->entry->text(), QString());

    // The other window and the called one work as usual.
    QTest::mouseClick(b->button, Qt::LeftButton);
    QTest::keyClicks(b->entry, QStringLiteral("abc"));
    QTest::mouseClick(c->button, Qt::LeftButton);
    EXPECT_EQ(b->presses, 1);
    EXPECT_EQ(b->entry->text(), QStringLiteral("abc"));
    EXPECT_EQ(c->presses, 1);

    // Closing the called window lets the caller go on and take input again.
    ASSERT_TRUE(post(calleeId, Notice::closeRequest()));
    ASSERT_TRUE(waitFor([&] { return !a->calling; }));
    EXPECT_EQ(findProcedure(calleeId), nullptr);
    QTest::keyClicks(a->entry, QStringLiteral("x"));
    EXPECT_EQ(a->entry->text(), QStringLiteral("x"));
}

TEST_F(ProcedureTest, ClosingTheCallerWhileItWaitsEndsBothCleanly)
{
    const Long aId = startClicker(true);
    Clicker *a = running<Clicker>(aId);
    QTest::mouseClick(a->button, Qt::LeftButton);
    ASSERT_TRUE(a->calling);
    const Long cId = Clicker::lastRun;

    post(aId, Notice::closeRequest());
    post(cId, Notice::closeRequest());
    EXPECT_TRUE(waitFor([&] { return !findProcedure(aId) && !findProcedure(cId); }));
}

TEST_F(ProcedureTest, ACallerThatClosedMeanwhileIsNeverResumed)
{
    // As when the frame closes every window while a form awaits its pick list.
    const Long aId = startClicker(true);
    QPointer<Clicker> a = running<Clicker>(aId);
    QTest::mouseClick(a->button, Qt::LeftButton);
    ASSERT_TRUE(a->calling);
    const Long cId = Clicker::lastRun;
    Clicker::resumed = 0;

    post(aId, Notice::closeRequest());
    ASSERT_TRUE(waitFor([&] { return !a; })); // the caller is deleted
    ASSERT_NE(findProcedure(cId), nullptr);
    post(cId, Notice::closeRequest());
    ASSERT_TRUE(waitFor([&] { return !findProcedure(cId); }));
    QTest::qWait(50);
    EXPECT_EQ(Clicker::resumed, 0);

    // A caller still open is resumed as ever.
    const Long bId = startClicker(true);
    QTest::mouseClick(running<Clicker>(bId)->button, Qt::LeftButton);
    post(Clicker::lastRun, Notice::closeRequest());
    EXPECT_TRUE(waitFor([&] { return Clicker::resumed == 1; }));
}

TEST_F(ProcedureTest, PostedEventsReachOnlyRunningProcedures)
{
    const Long id = startClicker();
    Clicker *p = running<Clicker>(id);
    EXPECT_TRUE(post(id, Notice::gainFocus()));
    EXPECT_TRUE(waitFor([&] { return p->gainFocusSeen == 1; }));

    EXPECT_TRUE(post(id, Notice::closeRequest()));
    EXPECT_TRUE(waitFor([&] { return findProcedure(id) == nullptr; }));
    EXPECT_FALSE(post(id, Notice::closeRequest()));
    EXPECT_FALSE(post(0, Notice::gainFocus()));
}

// Holds a one-window claim for as long as its window is open.
class Claimer : public Procedure
{
  public:
    explicit Claimer(Long &claim) : Procedure(QStringLiteral("Claimer")), claim_(claim) {}
    bool opened = false;
    int gainFocusSeen = 0;

  protected:
    QCoro::Task<> run() override
    {
        if (!claimWindow(claim_, *this)) co_return;
        opened = true;
        openDocument(new QWidget);
        co_await untilClosed();
        releaseWindow(claim_, *this);
    }
    bool handlePosted(QEvent::Type type) override
    {
        if (type == Notice::gainFocus()) ++gainFocusSeen;
        return Procedure::handlePosted(type);
    }

  private:
    Long &claim_;
};

TEST_F(ProcedureTest, ASecondClaimantFocusesTheHolderAndEnds)
{
    Long claim = 0;
    const Long first = start(std::make_unique<Claimer>(claim));
    started.push_back(first);
    EXPECT_EQ(claim, first);

    const Long second = start(std::make_unique<Claimer>(claim));
    EXPECT_EQ(findProcedure(second), nullptr); // ended at once
    EXPECT_EQ(claim, first);
    EXPECT_TRUE(waitFor([&] { return running<Claimer>(first)->gainFocusSeen == 1; }));

    post(first, Notice::closeRequest());
    ASSERT_TRUE(waitFor([&] { return findProcedure(first) == nullptr; }));
    EXPECT_EQ(claim, 0);

    const Long third = start(std::make_unique<Claimer>(claim));
    started.push_back(third);
    EXPECT_TRUE(running<Claimer>(third)->opened);
    EXPECT_EQ(claim, third);
}

// A window built larger than its minimum, as resizable windows are.
class Sized : public Procedure
{
  public:
    Sized() : Procedure(QStringLiteral("Sized")) {}

  protected:
    QCoro::Task<> run() override
    {
        auto *w = new QWidget;
        w->setMinimumSize(100, 80);
        w->resize(400, 300);
        openDocument(w);
        co_await untilClosed();
    }
};

// A document window keeps the size it was built at rather than shrink to
// its minimum.
TEST_F(ProcedureTest, ADocumentWindowOpensAtItsBuiltSize)
{
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    setDocumentArea(&area);
    const Long sized = start(std::make_unique<Sized>());
    started.push_back(sized);
    auto *sub = qobject_cast<QMdiSubWindow *>(findProcedure(sized)->window());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->widget()->size(), QSize(400, 300));
    setDocumentArea(nullptr);
}

} // namespace
} // namespace hk
