// The printer the whole program prints on. Print setup changes it; reports
// print on it with whatever page and printer the user chose last.
#pragma once

class QPrinter;

namespace hk
{

QPrinter &programPrinter();

} // namespace hk
