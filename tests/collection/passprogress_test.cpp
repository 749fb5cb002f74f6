// The progress window of an export or import: it shows how far a long pass
// has come, with its title whole, and its Cancel stops the pass.
#include "collection/passprogress.h"
#include "platform/titlefit.h"
#include "testapp.h"

#include <QProgressDialog>
#include <QPushButton>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

TEST(PassProgress, ShowsHowFarAPassHasComeUnderItsWholeTitleUntilCancelled)
{
    test::app();
    using namespace std::chrono_literals;
    PassProgress progress(QStringLiteral("Import Collection"), QStringLiteral("Checking…"), 0ms);
    EXPECT_TRUE(progress.reached(0.25));
    QProgressDialog &window = progress.window();
    EXPECT_TRUE(test::waitFor([&window] { return window.isVisible(); }));
    EXPECT_EQ(window.value(), 250);
    EXPECT_GE(window.frameGeometry().width(), titleWidth(&window, window.windowTitle()));

    window.findChild<QPushButton *>()->click();
    EXPECT_FALSE(progress.reached(0.5));
}

} // namespace
} // namespace hk
