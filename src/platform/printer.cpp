#include "platform/printer.h"

#include <QPrinter>

namespace hk
{

QPrinter &programPrinter()
{
    // Created on first use, since it needs the application object, and never
    // destroyed: it must not outlive the print system it talks to.
    static auto *printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

} // namespace hk
