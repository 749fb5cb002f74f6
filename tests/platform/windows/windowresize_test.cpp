// Controls following their window's size: exact scaling from the design
// layout, one-line controls keeping their height, the way back to it, the
// fixed-width text, and release.
#include "platform/windows/layout.h"
#include "platform/windows/windowresize.h"
#include "testapp.h"

#include <map>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

enum : int { Heading = 1, Marker, NamePrompt, NameEntry, Notes, Rows, Ok, Cancel };

WindowLayout sample()
{
    using K = ControlKind;
    WindowLayout w;
    w.title = "Sample";
    w.size = QSize(200, 120);
    w.minimumSize = QSize(40, 30);
    w.controls = {
        {.id = Heading, .kind = K::Display, .design = {7, 5, 120, 9}, .text = "Heading"},
        {.id = Marker, .kind = K::Display, .design = {131, 5, 1, 9}, .text = "*"},
        {.id = NamePrompt, .kind = K::Prompt, .design = {7, 19, 30, 9}, .text = "&Name:"},
        {.id = NameEntry, .kind = K::Entry, .design = {41, 18, 93, 11}, .picture = "s25"},
        {.id = Notes, .kind = K::Text, .design = {7, 33, 127, 41}},
        {.id = Rows, .kind = K::List, .design = {139, 18, 55, 77}},
        {.id = Ok, .kind = K::Button, .design = {83, 99, 50, 14}, .text = "Ok"},
        {.id = Cancel, .kind = K::Button, .design = {139, 99, 50, 14}, .text = "Cancel"},
    };
    return w;
}

class WindowResizeTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::app();
        // Odd character sizes, so that scaled places rarely come out whole.
        window = BuiltWindow::build(sample(), DialogUnits(7.3, 15.1), &host).release();
        host.resize(2000, 1500);
        host.show();
        RegisterWindowControls(*window);
        design = window->size();
        for (int id : window->controlIds())
            places[id] = window->control(id)->geometry();
    }

    QApplication &app = test::app(); // before any widget member
    QWidget host;
    BuiltWindow *window = nullptr;
    QSize design;
    std::map<int, QRect> places;
};

TEST_F(WindowResizeTest, ControlsScaleWithTheWindowAndComeBackExactly)
{
    window->resize(design * 2);
    for (int id : window->controlIds()) {
        const QRect d = places[id];
        const QRect now = window->control(id)->geometry();
        if (id == Marker) { // one unit wide: only moves
            EXPECT_EQ(now, QRect(d.x() * 2, d.y() * 2, d.width(), d.height()));
            continue;
        }
        if (id == Notes || id == Rows) { // lists and texts grow both ways
            EXPECT_EQ(now, QRect(d.x() * 2, d.y() * 2, d.width() * 2, d.height() * 2)) << id;
            continue;
        }
        // Buttons, entries and one-line texts widen and keep their height,
        // centred where they would have grown.
        EXPECT_EQ(now, QRect(d.x() * 2, d.y() * 2 + d.height() / 2, d.width() * 2, d.height()))
            << id;
    }

    for (QSize size : {QSize(311, 187), QSize(97, 61), QSize(1203, 222), QSize(80, 700)}) {
        window->resize(size);
        ASSERT_EQ(window->size(), size);
        EXPECT_EQ(window->control(Marker)->width(), places[Marker].width());
    }
    window->resize(design);
    for (int id : window->controlIds())
        EXPECT_EQ(window->control(id)->geometry(), places[id]) << id;
}

TEST_F(WindowResizeTest, AReleasedWindowNoLongerMovesItsControls)
{
    ReleaseWindowControls(*window);
    EXPECT_FALSE(hasRegisteredControls(*window));
    window->resize(design * 2);
    for (int id : window->controlIds())
        EXPECT_EQ(window->control(id)->geometry(), places[id]) << id;
}

} // namespace
} // namespace hk
