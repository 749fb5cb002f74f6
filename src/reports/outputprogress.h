// A report's pages going out to the printer or a PDF file behind a progress
// window: the pages written of all of them, and Cancel, which stops the
// output and leaves no file behind. Called by the preview (Save as PDF) and
// by the report procedure (Print); the windows stay live meanwhile.
#pragma once

#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"
#include "reports/reportprocedure.h"

#include <QPointer>

namespace hk
{

class PageOutput;

class OutputProgress : public Procedure
{
    Q_OBJECT
  public:
    // `output` stays the caller's; when it is deleted meanwhile the window
    // closes. The caption names what is written.
    OutputProgress(PageOutput &output, QString title, std::string caption);

    // The report's own progress window, its percentage line counting pages.
    enum Control {
        CaptionText = ReportProcedure::CaptionText,
        ProgressBar = ReportProcedure::ProgressBar,
        PagesText = ReportProcedure::PercentText,
        CancelButton = ReportProcedure::CancelButton
    };
    // "12 of 400 pages written"
    static std::string pagesText(int written, int total);

  signals:
    void stepped(int written); // after each step, for tests

  protected:
    QCoro::Task<> run() override;

  private:
    QPointer<PageOutput> output_;
    QString title_;
    std::string caption_;
};

} // namespace hk
