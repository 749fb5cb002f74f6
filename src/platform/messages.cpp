#include "platform/messages.h"

#include "platform/titlefit.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>
#include <stdexcept>

namespace hk
{

namespace
{

MessageService *gService = nullptr;
HaltHook gHaltHook;

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kAllButtons[] = {ButtonOk,    ButtonYes,    ButtonNo,     ButtonAbort,
                               ButtonRetry, ButtonIgnore, ButtonCancel, ButtonHelp};

QMessageBox::StandardButton standardOf(int button)
{
    switch (button) {
    case ButtonOk:
        return QMessageBox::Ok;
    case ButtonYes:
        return QMessageBox::Yes;
    case ButtonNo:
        return QMessageBox::No;
    case ButtonAbort:
        return QMessageBox::Abort;
    case ButtonRetry:
        return QMessageBox::Retry;
    case ButtonIgnore:
        return QMessageBox::Ignore;
    case ButtonCancel:
        return QMessageBox::Cancel;
    case ButtonHelp:
        return QMessageBox::Help;
    default:
        return QMessageBox::NoButton;
    }
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int defaultButtonOf(const MessageRequest &request)
{
    const int buttons = request.buttons ? request.buttons : ButtonOk;
    if (request.defaultButton && (buttons & request.defaultButton) == request.defaultButton)
        return request.defaultButton;
    for (int b : kAllButtons)
        if (buttons & b) return b;
    return ButtonOk;
}

MessageService &messageService()
{
    static QtMessageService standard;
    return gService ? *gService : standard;
}

void setMessageService(MessageService *service)
{
    gService = service;
}

int message(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
            int defaultButton)
{
    return messageService().message(
        {std::string(text), std::string(title), icon, buttons, defaultButton});
}

void beep(int frequency, int duration)
{
    messageService().beep(frequency, duration);
}

void halt(std::string_view text, int exitCode)
{
    messageService().showHalt(text);
    if (gHaltHook)
        gHaltHook(exitCode);
    else
        std::exit(exitCode);
}

HaltHook setHaltHook(HaltHook hook)
{
    HaltHook old = std::move(gHaltHook);
    gHaltHook = std::move(hook);
    return old;
}

// ---------------------------------------------------------------- Qt

int QtMessageService::message(const MessageRequest &request)
{
    QMessageBox box(qtIcon(request.icon), qs(request.title), qs(request.text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    const int buttons = request.buttons ? request.buttons : ButtonOk;
    for (int b : kAllButtons)
        if (buttons & b) box.addButton(standardOf(b));
    box.setDefaultButton(standardOf(defaultButtonOf(request)));
    // The box grows with its text, not its title: a short text under a long
    // title ("Please enter another Cassette Number") would cut the title.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth(&box, box.windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    // Escape answers Cancel, else No, else the only button there is.
    for (int b : {ButtonCancel, ButtonNo, ButtonOk})
        if (buttons & b) {
            box.setEscapeButton(standardOf(b));
            break;
        }
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    const auto chosen = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    for (int b : kAllButtons)
        if ((buttons & b) && standardOf(b) == chosen) return b;
    return defaultButtonOf(request);
}

void QtMessageService::showHalt(std::string_view text)
{
    if (text.empty()) return;
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Hearthkeep"), qs(text));
}

void QtMessageService::beep(int, int)
{
    QApplication::beep();
}

void QtMessageService::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------- scripted

int ScriptedMessageService::message(const MessageRequest &request)
{
    boxes_.push_back(request);
    if (script_.empty()) return defaultButtonOf(request);
    const int button = script_.front();
    script_.pop_front();
    if ((defaultButtonOf({{}, {}, {}, request.buttons, button}) != button))
        throw std::logic_error("scripted answer " + std::to_string(button) +
                               " is not a button of the box \"" + request.title + "\"");
    return button;
}

void ScriptedMessageService::showHalt(std::string_view text)
{
    halts_.emplace_back(text);
}

void ScriptedMessageService::beep(int frequency, int duration)
{
    beeps_.push_back({frequency, duration});
}

void ScriptedMessageService::setBusy(bool busy)
{
    if (busy)
        ++busyDepth_;
    else if (busyDepth_ > 0)
        --busyDepth_;
}

} // namespace hk
