#include "shell/owner.h"

#include "dictionary/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/settingsfile.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowlife.h"

#include <QMdiArea>
#include <QPushButton>

namespace hk
{

namespace
{

enum : int {
    Installed = 1,
    PleaseEnter,
    NamePrompt,
    NameEntry,
    AddressPrompt,
    AddressEntry,
    OkButton,
    CancelButton,
    HelpButton,
    EditNote,
};

using K = ControlKind;

ControlLayout addressEntry(QRect design)
{
    return {.id = AddressEntry,
            .kind = K::Entry,
            .design = design,
            .tip = "Enter Your Address - Maximum 55 Characters",
            .message = "Enter Your Address",
            .picture = "s55"};
}

ControlLayout okButton(QRect design)
{
    return {.id = OkButton,
            .kind = K::Button,
            .design = design,
            .text = "Ok",
            .tip = "Click to Accept",
            .message = "Accept",
            .flags = FlagDefault};
}

const WindowLayout &ownerDetailsLayout()
{
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.title = "Owner Details - First Start";
        w.size = QSize(290, 102);
        w.kind = WindowKind::Dialog;
        w.resizable = false;
        w.controls = {
            {.id = Installed,
             .kind = K::Display,
             .design = {8, 8, 274, 10},
             .text = "Your version of the Hearthkeep has not previously been installed."},
            {.id = PleaseEnter,
             .kind = K::Display,
             .design = {8, 20, 274, 10},
             .text = "Please enter the information required below."},
            {.id = NamePrompt, .kind = K::Prompt, .design = {8, 40, 38, 10}, .text = "Name:"},
            {.id = NameEntry,
             .kind = K::Entry,
             .design = {48, 39, 112, 12},
             .tip = "Enter Your Name - Maximum 25 Characters",
             .message = "Enter Your Name",
             .picture = "s25"},
            {.id = AddressPrompt, .kind = K::Prompt, .design = {8, 56, 38, 10}, .text = "Address:"},
            addressEntry({48, 55, 234, 12}),
            okButton({176, 80, 50, 14}),
            {.id = HelpButton,
             .kind = K::Button,
             .design = {232, 80, 50, 14},
             .text = "Help",
             .tip = "Click to View Associated Help File",
             .message = "View Associated Help File"},
        };
        return w;
    }();
    return layout;
}

const WindowLayout &editAddressLayout()
{
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.title = "Edit Address Information";
        w.size = QSize(290, 78);
        w.kind = WindowKind::FrameChild;
        w.controls = {
            {.id = EditNote,
             .kind = K::Display,
             .design = {8, 8, 274, 10},
             .text = "Edit the Address field to reflect changes to your new address"},
            {.id = AddressPrompt, .kind = K::Prompt, .design = {8, 28, 38, 10}, .text = "Address:"},
            addressEntry({48, 27, 234, 12}),
            okButton({120, 56, 50, 14}),
            {.id = CancelButton,
             .kind = K::Button,
             .design = {176, 56, 50, 14},
             .text = "Cancel",
             .tip = "Click to Cancel Editing",
             .message = "Cancel Editing",
             .flags = FlagCancel},
            {.id = HelpButton,
             .kind = K::Button,
             .design = {232, 56, 50, 14},
             .text = "Help",
             .tip = "Click to View Associeated Help File",
             .message = "View Associated Help File"},
        };
        return w;
    }();
    return layout;
}

// The entry edits the global in place: each accepted value is stored in it.
template <std::size_t N> void bind(BuiltWindow &window, int id, String<N> &global)
{
    PictureEntry *entry = window.entry(id);
    entry->setValue(global.str());
    QObject::connect(entry, &PictureEntry::accepted, entry, [&global](const PictureValue &v) {
        if (auto text = std::get_if<std::string>(&v)) global = *text;
    });
}

// A blank field is refused with its message, and the focus goes back to it.
template <std::size_t N>
bool filledIn(BuiltWindow &window, int id, const String<N> &global, std::string_view text)
{
    if (!global.empty()) return true;
    message(text, "Error", MessageIcon::Question, ButtonOk);
    window.entry(id)->setFocus();
    return false;
}

void connectButton(BuiltWindow &window, int id, const std::function<void()> &action)
{
    QObject::connect(window.controlAs<QPushButton>(id), &QPushButton::clicked, &window, action);
}

} // namespace

void readOwnerDetails()
{
    SettingsService &settings = settingsService();
    OwnerName = settings.read(OwnerSettingsFile, OwnerSection, "OwnerName", {});
    OwnerAddress = settings.read(OwnerSettingsFile, OwnerSection, "OwnerAddress", {});
}

OwnerDetails::OwnerDetails() : Procedure(QStringLiteral("OwnerDetails")) {}

QCoro::Task<> OwnerDetails::run()
{
    GlobalRequest = RequestNone;
    GlobalResponse = 0;
    // A dialog of its own, kept above the frame it belongs to.
    QWidget *frame = documentArea() ? documentArea()->window() : nullptr;
    BuiltWindow *w = BuiltWindow::build(ownerDetailsLayout(), frame).release();
    w->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindow(w);
    bind(*w, NameEntry, OwnerName);
    bind(*w, AddressEntry, OwnerAddress);
    bool stored = false;
    connectButton(*w, OkButton, [w, &stored] {
        w->acceptAll();
        if (!filledIn(*w, NameEntry, OwnerName, "Name field must be completed") ||
            !filledIn(*w, AddressEntry, OwnerAddress, "Address field must be completed"))
            return;
        SettingsService &settings = settingsService();
        settings.write(OwnerSettingsFile, OwnerSection, "OwnerName", OwnerName.str());
        settings.write(OwnerSettingsFile, OwnerSection, "OwnerAddress", OwnerAddress.str());
        stored = true;
        w->close();
    });
    connectButton(*w, HelpButton, [this] { showHelp(helpContext()); });
    w->show();
    WindowLife::attach(w, {.section = "OwnerDetails"});
    w->entry(NameEntry)->setFocus();

    co_await untilClosed();
    GlobalResponse = stored ? RequestCompleted : RequestCancelled;
}

EditOwnerAddress::EditOwnerAddress() : Procedure(QStringLiteral("EditOwnerAddress")) {}

QCoro::Task<> EditOwnerAddress::run()
{
    GlobalRequest = RequestNone;
    GlobalResponse = 0;
    BuiltWindow *content = BuiltWindow::build(editAddressLayout()).release();
    QWidget *w = openDocument(content);
    WindowLife::begin(*this, {.section = "EditOwnerAddress", .notices = FrameNotices::OnceOpen})
        ->open(w, content);
    bind(*content, AddressEntry, OwnerAddress);
    bool stored = false;
    connectButton(*content, OkButton, [content, w, &stored] {
        content->acceptAll();
        if (!filledIn(*content, AddressEntry, OwnerAddress, "Address field must be completed"))
            return;
        settingsService().write(OwnerSettingsFile, OwnerSection, "OwnerAddress",
                                OwnerAddress.str());
        stored = true;
        w->close();
    });
    connectButton(*content, CancelButton, [w] { w->close(); });
    connectButton(*content, HelpButton, [this] { showHelp(helpContext()); });
    content->entry(AddressEntry)->setFocus();

    co_await untilClosed();
    // The edit was made on the shared address: whatever was not stored goes
    // back to what the file holds, however the window was left.
    if (!stored)
        OwnerAddress = settingsService().read(OwnerSettingsFile, OwnerSection, "OwnerAddress", {});
    GlobalResponse = stored ? RequestCompleted : RequestCancelled;
}

} // namespace hk
