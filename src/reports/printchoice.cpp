#include "reports/printchoice.h"

#include <QCoro/QCoroSignal>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace hk
{

namespace
{
PrintChoice *current = nullptr;
}

QCoro::Task<bool> QtPrintChoice::ask(QPrinter &printer, QString title)
{
    // Deleted here rather than on close: a dialog deleted as it closes would
    // take the awaited signal's delivery with it.
    QPointer<QPrintDialog> dialog = new QPrintDialog(&printer);
    dialog->setWindowTitle(title);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setMinMax(1, 9999); // the pages are not made yet
    dialog->open();
    const int result = co_await qCoro(dialog.data(), &QDialog::finished);
    if (dialog) dialog->deleteLater();
    co_return result == QDialog::Accepted;
}

PrintChoice &printChoice()
{
    static QtPrintChoice qt;
    return current ? *current : qt;
}

void setPrintChoice(PrintChoice *choice)
{
    current = choice;
}

} // namespace hk
