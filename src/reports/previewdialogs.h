// The preview's two small dialogs, each a called procedure with a window
// built from its layout: "Jump to a Report Page" and "Change the Report
// Display". Their answers go into the variables the caller hands over.
#pragma once

#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

namespace hk
{

class JumpToPage : public Procedure
{
    Q_OBJECT
  public:
    // page: the current page in, the chosen one out (unchanged on Cancel).
    JumpToPage(int &page, int pageCount);
    static WindowLayout layout(int pageCount);
    enum Control { PagePrompt = 1, PageSpin = 2, OkButton = 3, CancelButton = 4 };

  protected:
    QCoro::Task<> run() override;

  private:
    int &page_;
    int pageCount_;
};

class SelectDisplay : public Procedure
{
    Q_OBJECT
  public:
    // across and down are changed in place when OK is pressed.
    SelectDisplay(int &across, int &down);
    static WindowLayout layout();
    enum Control {
        PagesGroup = 1,
        AcrossPrompt = 2,
        AcrossSpin = 3,
        DownPrompt = 4,
        DownSpin = 5,
        OkButton = 6
    };

  protected:
    QCoro::Task<> run() override;

  private:
    int &across_;
    int &down_;
};

} // namespace hk
