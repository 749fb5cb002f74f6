// FileSummary: how many records each table of the inventory holds and what
// each collection is worth, with a subtotal and a total. It reads and shows;
// it writes nothing. One summary window at a time, except for selecting.
#pragma once

#include "dictionary/types.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

#include <QPointer>

namespace hk
{

// The one-instance claim: the number of the open summary window, 0 if none.
extern Long FileSummaryThread;

// Fills the entry-count globals from the tables, which must be open.
void takeInventoryCounts();
// The subtotals and totals of the counts and of the values in the
// HearthkpValue buffer. The values are added in an amount wide enough for
// six of the largest running totals, so a sum is never cut or wrapped.
void addInventoryTotals();

class FileSummary : public Procedure
{
  public:
    FileSummary();

  protected:
    QCoro::Task<> run() override;
    bool handlePosted(QEvent::Type type) override;

  private:
    void display();
    QPointer<BuiltWindow> content_;
};

} // namespace hk
