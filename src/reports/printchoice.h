// The printer dialog a report asks its print range in, behind a small
// service so that tests can answer it. The real one is the platform's print
// dialog, opened window-modal without a nested event loop and awaited; its
// page range and "print to file" choice stay on the printer.
#pragma once

#include <QCoro/QCoroTask>
#include <QString>

class QPrinter;
class QWidget;

namespace hk
{

class PrintChoice
{
  public:
    virtual ~PrintChoice() = default;
    // Shows the dialog titled `title` for printer; true when confirmed.
    virtual QCoro::Task<bool> ask(QPrinter &printer, QString title) = 0;
};

class QtPrintChoice : public PrintChoice
{
  public:
    QCoro::Task<bool> ask(QPrinter &printer, QString title) override;
};

// The service in use: the Qt one until another is set; nullptr restores it.
PrintChoice &printChoice();
void setPrintChoice(PrintChoice *choice);

} // namespace hk
