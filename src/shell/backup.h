// CopyFile: File > "&Data Backup". Asks for the disk, shows where the data
// file lives and how large the disk and the file are, and copies the file to
// drive A: when it fits into the free space. The frame calls it and waits.
#pragma once

#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"
#include "platform/windows/windowlife.h"

#include <QPointer>

namespace hk
{

class CopyFile : public Procedure
{
  public:
    CopyFile();

  protected:
    QCoro::Task<> run() override;

  private:
    void backup();
    void showFigures();
    QPointer<BuiltWindow> content_;
    QPointer<WindowLife> life_;
    bool keepPlacement_ = true; // false once a backup was tried: the window goes as it is
};

} // namespace hk
