// The greeting windows: what they show and each way they close.
#include "dictionary/globals.h"
#include "shell/introduction.h"
#include "testapp.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

using test::waitFor;
using namespace std::chrono_literals;

class GreetingTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::app();
        setDocumentArea(nullptr);
        test::giveOwner();
    }
    void TearDown() override
    {
        post(id, Notice::closeRequest());
        waitFor([this] { return findProcedure(id) == nullptr; });
    }
    QWidget *windowOf() { return findProcedure(id)->window(); }
    bool ended() { return findProcedure(id) == nullptr; }

    test::TempSettings settings;
    Long id = 0;
};

TEST_F(GreetingTest, ShowsTheOwnersNameAndAddressWhole)
{
    OwnerName = "Abcdefghij Klmnopqrst Uvw";
    OwnerAddress = "12 Long Street, Some Town, Some County, AB1 2CD, Countr";
    id = start(std::make_unique<AboutHearthkeep>(10min));
    QWidget *w = windowOf();
    EXPECT_EQ(w->findChild<QLabel *>("ownerName")->text(),
              QStringLiteral("Abcdefghij Klmnopqrst Uvw"));
    EXPECT_EQ(w->findChild<QLabel *>("ownerAddress")->text(),
              QStringLiteral("12 Long Street, Some Town, Some County, AB1 2CD, Countr"));
    OwnerName.clear();
    OwnerAddress.clear();
}

TEST_F(GreetingTest, IntroductionClosesOnItsTimerAndAnswersCancelled)
{
    GlobalResponse = 0;
    id = start(std::make_unique<Introduction>(20ms));
    ASSERT_NE(windowOf(), nullptr);
    EXPECT_TRUE(waitFor([&] { return ended(); }));
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

TEST_F(GreetingTest, AClickOfEitherButtonOrADoubleClickClosesIt)
{
    using Click = std::function<void(QWidget *)>;
    const std::vector<std::pair<const char *, Click>> clicks = {
        {"left", [](QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }},
        {"right", [](QWidget *w) { QTest::mouseClick(w, Qt::RightButton); }},
        {"double", [](QWidget *w) { QTest::mouseDClick(w, Qt::LeftButton); }},
    };
    for (const auto &[name, click] : clicks) {
        id = start(std::make_unique<Introduction>(10min));
        QWidget *w = windowOf();
        click(w);
        EXPECT_TRUE(waitFor([&] { return ended(); })) << name;
    }
}

TEST_F(GreetingTest, ACloseRequestClosesIt)
{
    id = start(std::make_unique<AboutHearthkeep>(10min));
    EXPECT_TRUE(post(id, Notice::closeRequest()));
    EXPECT_TRUE(waitFor([&] { return ended(); }));
}

} // namespace
} // namespace hk
