#include "reports/catalogue/insuranceselect.h"

#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/help.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowlife.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>

#include <vector>

namespace hk
{

namespace
{

using K = ControlKind;
using S = InsuranceSelect;

const WindowLayout &selectLayout()
{
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.title = "Insurance Inventory";
        w.size = QSize(220, 96);
        w.kind = WindowKind::FrameChild;
        w.resizable = false;
        w.controls = {
            {.id = S::Choice, .kind = K::Option, .design = {8, 6, 204, 60}, .text = "Print"},
            {.id = S::AllChoice,
             .kind = K::Radio,
             .design = {16, 18, 120, 10},
             .parent = S::Choice,
             .text = "&All Locations",
             .tip = "Every location with its items"},
            {.id = S::OneChoice,
             .kind = K::Radio,
             .design = {16, 32, 120, 10},
             .parent = S::Choice,
             .text = "&One Location:",
             .tip = "Only the location chosen below"},
            {.id = S::Locations,
             .kind = K::DropList,
             .design = {28, 45, 176, 12},
             .parent = S::Choice,
             .tip = "The location to print",
             .message = "Choose the location to print"},
            {.id = S::PrintButton,
             .kind = K::Button,
             .design = {16, 74, 56, 14},
             .text = "&Print",
             .tip = "Print the inventory",
             .flags = FlagDefault},
            {.id = S::CancelButton,
             .kind = K::Button,
             .design = {82, 74, 56, 14},
             .text = "Cancel",
             .tip = "Close without printing",
             .flags = FlagCancel},
            {.id = S::HelpButton, .kind = K::Button, .design = {148, 74, 56, 14}, .text = "Help"},
        };
        return w;
    }();
    return layout;
}

struct Location {
    Long id;
    std::string name;
};

// The locations by name, read through the table the report holds open.
std::vector<Location> locations()
{
    std::vector<Location> all;
    const ItemsRoomsRecord kept = ItmRom;
    ItemsRooms.set(ItmRom.DisplayByRooms);
    while (ItemsRooms.next() == NoError)
        all.push_back({ItmRom.RoomsId, ItmRom.Rooms.str()});
    ItmRom = kept;
    return all;
}

} // namespace

InsuranceSelect::InsuranceSelect() : Procedure(QStringLiteral("RptSelectInsurance")) {}

QCoro::Task<> InsuranceSelect::run()
{
    GlobalRequest = RequestNone;
    GlobalResponse = RequestCancelled;
    BuiltWindow *content = BuiltWindow::build(selectLayout()).release();
    QWidget *w = openDocument(content);
    WindowLife::begin(*this, {.section = "RptSelectInsurance", .notices = FrameNotices::OnceOpen})
        ->open(w, content);

    const std::vector<Location> places = locations();
    auto *list = content->controlAs<QComboBox>(Locations);
    for (const Location &l : places)
        list->addItem(QString::fromStdString(l.name));
    content->setValue(Choice, std::int64_t{1});
    content->setControlEnabled(Locations, false);
    content->setControlEnabled(OneChoice, !places.empty());
    auto *group = content->control(Choice)->findChild<QButtonGroup *>();
    QObject::connect(group, &QButtonGroup::idClicked, content,
                     [content](int chosen) { content->setControlEnabled(Locations, chosen == 2); });
    Long answer = RequestCancelled;
    QObject::connect(content->controlAs<QPushButton>(PrintButton), &QPushButton::clicked, w,
                     [&answer, content, list, places, w] {
                         ItmRom = ItemsRoomsRecord{};
                         const bool one = std::get<std::int64_t>(content->value(Choice)) == 2;
                         if (one && list->currentIndex() >= 0) {
                             const Location &l = places[std::size_t(list->currentIndex())];
                             ItmRom.RoomsId = l.id;
                             ItmRom.Rooms = l.name;
                         }
                         answer = RequestCompleted;
                         w->close();
                     });
    QObject::connect(content->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, w,
                     &QWidget::close);
    QObject::connect(content->controlAs<QPushButton>(HelpButton), &QPushButton::clicked, content,
                     [this] { showHelp(helpContext()); });
    content->controlAs<QPushButton>(PrintButton)->setFocus();
    co_await untilClosed();
    GlobalResponse = answer;
}

std::unique_ptr<Procedure> rptSelectInsurance()
{
    return std::make_unique<InsuranceSelect>();
}

} // namespace hk
