// File > Import Collection: asks which collection and which file, checks
// every row in a dry run and shows the rows that fail, asks before creating
// locations and categories the file names but the data lacks, then writes
// the whole file in one transaction behind a progress window with Cancel.
#pragma once

#include "collection/collectionchoice.h"

namespace hk
{

class ImportCollection : public CollectionChoice
{
    Q_OBJECT
  public:
    ImportCollection();
    static constexpr int ImportButton = ActButton;

  protected:
    QCoro::Task<> act(BuiltWindow *w, const CsvCollection &collection) override;
};

} // namespace hk
