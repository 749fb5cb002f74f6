// The life of a window: a refused claim takes nothing; what a window holds,
// its claim and the frame's notices go with the window; a window waiting for
// a called one neither acts nor closes; the placement is saved on closing
// unless the window was told to go as it is.
#include "dictionary/globals.h"
#include "framestandin.h"
#include "platform/windows/procedure.h"
#include "platform/windows/windowlife.h"
#include "testapp.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::waitFor;

// What a window holds, counted while it lives.
struct Held : WindowHold {
    static inline int alive = 0, taken = 0;
    Held() { ++alive, ++taken; }
    ~Held() override { --alive; }
};

class Lived : public Procedure
{
  public:
    explicit Lived(WindowPlan plan) : Procedure(QStringLiteral("Lived")), plan_(std::move(plan)) {}
    QPointer<WindowLife> life;

  protected:
    QCoro::Task<> run() override
    {
        life = WindowLife::begin(*this, plan_);
        if (!life) co_return;
        auto *w = new QWidget;
        w->resize(240, 120);
        life->open(openDocument(w));
        co_await untilClosed();
    }

  private:
    WindowPlan plan_;
};

class WindowLifeTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::app();
        setDocumentArea(nullptr);
        auto f = std::make_unique<test::FrameStandIn>();
        frame = f.get();
        Glo.MainThreadNo = start(std::move(f));
        Held::alive = Held::taken = 0;
    }
    void TearDown() override
    {
        frame->stop();
        QCoreApplication::processEvents();
        Glo.MainThreadNo = 0;
    }
    static Lived *open(WindowPlan plan)
    {
        return dynamic_cast<Lived *>(findProcedure(start(std::make_unique<Lived>(plan))));
    }
    static void close(Lived *p)
    {
        const Long id = p->id();
        p->window()->close();
        ASSERT_TRUE(waitFor([id] { return findProcedure(id) == nullptr; }));
    }

    test::TempSettings settings;
    test::FrameStandIn *frame = nullptr;
    Long claim = 0;
};

TEST_F(WindowLifeTest, WhatAWindowTookGoesWithItAndARefusedOneTakesNothing)
{
    const WindowPlan plan{.section = "Lived",
                          .claim = &claim,
                          .hold = [] { return std::make_unique<Held>(); },
                          .notices = FrameNotices::OnceOpen};
    Lived *first = open(plan);
    ASSERT_TRUE(first && first->life);
    EXPECT_TRUE(first->life->mayAct());
    EXPECT_EQ(claim, first->id());
    EXPECT_EQ(Held::alive, 1);

    // A second of the kind is refused before it holds anything.
    EXPECT_EQ(open(plan), nullptr);
    EXPECT_EQ(Held::taken, 1);
    EXPECT_EQ(claim, first->id());

    close(first);
    EXPECT_EQ(Held::alive, 0);
    EXPECT_EQ(claim, 0);
    EXPECT_TRUE(waitFor([this] { return frame->closed == 1; }));
    EXPECT_EQ(frame->opened, 1);
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("[Lived]"));

    // Announced from the start, a refused window comes and goes for the frame.
    Lived *again = open(plan);
    EXPECT_EQ(open({.claim = &claim, .notices = FrameNotices::FromStart}), nullptr);
    EXPECT_TRUE(waitFor([this] { return frame->opened == 3 && frame->closed == 2; }));
    close(again);
}

TEST_F(WindowLifeTest, AWindowWaitingForACalledOneNeitherActsNorCloses)
{
    Lived *p = open({.section = "Waiting"});
    ASSERT_TRUE(p && p->life);
    {
        WindowLife::Calling held(p->life);
        EXPECT_FALSE(p->life->mayAct());
        p->window()->close();
        QCoreApplication::processEvents();
        ASSERT_TRUE(p->window() && p->window()->isVisible());
        EXPECT_EQ(p->life->phase(), WindowPhase::Calling);
    }
    EXPECT_TRUE(p->life->mayAct());
    // Told to go as it is, it leaves no placement behind.
    p->life->forgetPlacement();
    close(p);
    EXPECT_FALSE(settings.text("HEARTHKP.INI").contains("[Waiting]"));
}

// A window of no procedure that only hides when closed, as the help viewer
// does: its placement is kept each time, and it is live again once shown.
TEST_F(WindowLifeTest, AWindowThatOnlyHidesLivesAgainWhenShown)
{
    QWidget viewer;
    viewer.resize(300, 200);
    WindowLife *life = WindowLife::attach(&viewer, {.section = "Viewer", .designPlace = false});
    viewer.show();
    viewer.close();
    EXPECT_EQ(life->phase(), WindowPhase::Closing);
    EXPECT_TRUE(settings.text("HEARTHKP.INI").contains("[Viewer]"));
    viewer.show();
    EXPECT_TRUE(life->mayAct());
}

} // namespace
} // namespace hk
