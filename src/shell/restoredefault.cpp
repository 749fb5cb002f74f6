#include "shell/restoredefault.h"

#include "dictionary/globals.h"
#include "platform/help.h"
#include "platform/settingsfile.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowlife.h"
#include "platform/windows/windowsettings.h"

#include <QPushButton>

namespace hk
{

namespace
{

enum : int {
    Heading = 1,
    AboutToDelete,
    AllWindows,
    Status,
    RestoreButton,
    CancelButton,
    HelpButton
};

const WindowLayout &restoreDefaultLayout()
{
    using K = ControlKind;
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.title = "Restore Default Setting";
        w.size = QSize(230, 100);
        w.kind = WindowKind::FrameChild;
        w.resizable = false;
        w.controls = {
            {.id = Heading,
             .kind = K::Display,
             .design = {8, 8, 214, 10},
             .text = "Restore Program Default Settings",
             .flags = FlagCenter},
            {.id = AboutToDelete,
             .kind = K::Display,
             .design = {8, 24, 214, 10},
             .text = "You are about to delete the window placements.",
             .flags = FlagCenter},
            {.id = AllWindows,
             .kind = K::Display,
             .design = {8, 36, 214, 10},
             .text = "All windows will be restored to default setting.",
             .flags = FlagCenter},
            // The status line: 40 characters, blank until "&Restore".
            {.id = Status, .kind = K::Display, .design = {8, 56, 214, 10}, .flags = FlagCenter},
            {.id = RestoreButton,
             .kind = K::Button,
             .design = {34, 78, 50, 14},
             .text = "&Restore",
             .tip = "Delete Window Placements",
             .flags = FlagDefault | FlagDisabled},
            {.id = CancelButton,
             .kind = K::Button,
             .design = {90, 78, 50, 14},
             .text = "Cancel",
             .tip = " Cancel Restore",
             .flags = FlagCancel},
            {.id = HelpButton, .kind = K::Button, .design = {146, 78, 50, 14}, .text = "Help"},
        };
        return w;
    }();
    return layout;
}

} // namespace

RestoreDefault::RestoreDefault() : Procedure(QStringLiteral("RestoreDefault")) {}

QCoro::Task<> RestoreDefault::run()
{
    GlobalRequest = RequestNone;
    GlobalResponse = 0;
    BuiltWindow *content = BuiltWindow::build(restoreDefaultLayout()).release();
    QWidget *w = openDocument(content);
    // No placement is kept: the window is there to delete the placements.
    WindowLife::begin(*this, {.notices = FrameNotices::OnceOpen})->open(w);

    // For the user's information only: the placements are found and removed
    // through the settings service, so a path too long for the field cannot
    // send the change elsewhere.
    Glo.IniFile = (IniSettings::defaultFolder() + QStringLiteral("/Hearthkp.Ini")).toStdString();
    content->setControlEnabled(RestoreButton, true);

    auto *cancel = content->controlAs<QPushButton>(CancelButton);
    QObject::connect(
        content->controlAs<QPushButton>(RestoreButton), &QPushButton::clicked, content,
        [content, cancel] {
            // The placements only: the file also names the backup drive,
            // which must stay where the user put it.
            const std::optional<int> removed = ResetWindowSettings();
            if (!removed) {
                // Still there: say so, and leave "&Restore" for another try.
                content->setValue(Status, std::string("Window Placements Could Not Be Deleted"));
                return;
            }
            content->setValue(Status, std::string(*removed ? "Window Placements Deleted"
                                                           : "Window Placements Already Deleted"));
            content->setControlEnabled(RestoreButton, false);
            cancel->setText(QStringLiteral("Ok"));
        });
    QObject::connect(cancel, &QPushButton::clicked, w, &QWidget::close);
    QObject::connect(content->controlAs<QPushButton>(HelpButton), &QPushButton::clicked, content,
                     [this] { showHelp(helpContext()); });

    co_await untilClosed();
    GlobalResponse = RequestCancelled;
}

} // namespace hk
