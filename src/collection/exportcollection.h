// File > Export Collection: asks which collection and which file, then writes
// the collection there as CSV. The file is replaced only once it is complete.
#pragma once

#include "collection/collectionchoice.h"

namespace hk
{

class ExportCollection : public CollectionChoice
{
    Q_OBJECT
  public:
    ExportCollection();
    static constexpr int ExportButton = ActButton;

  protected:
    QCoro::Task<> act(BuiltWindow *w, const CsvCollection &collection) override;
};

} // namespace hk
