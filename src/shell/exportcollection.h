// File > Export Collection: asks which collection and which file, then writes
// the collection there as CSV. The file is replaced only once it is complete.
#pragma once

#include "platform/layout.h"
#include "platform/procedure.h"

namespace hk
{

class BuiltWindow;

class ExportCollection : public Procedure
{
    Q_OBJECT
  public:
    ExportCollection();
    static WindowLayout layout();
    enum Control { CollectionPrompt = 1, CollectionList = 2, ExportButton = 3, CancelButton = 4 };

  protected:
    QCoro::Task<> run() override;

  private:
    QCoro::Task<> exportChosen(BuiltWindow *w);
};

} // namespace hk
