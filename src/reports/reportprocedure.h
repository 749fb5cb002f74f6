// A report run as a procedure: set-up, the printer dialog, generation behind
// the progress window (one batch of records per timer event, Cancel between
// batches), the preview and the output. At its end GlobalResponse holds 1
// when the report was generated to the end, 2 otherwise.
#pragma once

#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"
#include "reports/reportdef.h"

namespace hk
{

class ReportProcedure : public Procedure
{
    Q_OBJECT
  public:
    explicit ReportProcedure(const ReportDefinition &def);

    // The progress window as data.
    static WindowLayout progressLayout();
    enum ProgressControl { ProgressBar = 1, CaptionText = 2, PercentText = 3, CancelButton = 4 };

  signals:
    void generating();                               // the progress window is open
    void batchDone(long recordsRead, bool finished); // after each timer event's batch
    void printed(int pages);                         // pages sent to the printer

  protected:
    QCoro::Task<> run() override;

  private:
    const ReportDefinition &def_;
};

} // namespace hk
