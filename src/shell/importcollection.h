// File > Import Collection: asks which collection and which file, checks
// every row in a dry run and shows the rows that fail, asks before creating
// locations and categories the file names but the data lacks, then writes
// the whole file in one transaction behind a progress window with Cancel.
#pragma once

#include "platform/layout.h"
#include "platform/procedure.h"

namespace hk
{

class BuiltWindow;

class ImportCollection : public Procedure
{
    Q_OBJECT
  public:
    ImportCollection();
    static WindowLayout layout();
    enum Control { CollectionPrompt = 1, CollectionList = 2, ImportButton = 3, CancelButton = 4 };

  protected:
    QCoro::Task<> run() override;

  private:
    QCoro::Task<> importChosen(BuiltWindow *w);
};

} // namespace hk
