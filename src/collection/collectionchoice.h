// The small window of File > Export Collection and File > Import Collection:
// a drop list of the collections and a button that acts on the one chosen.
// Each command is a CollectionChoice with its own texts and action.
#pragma once

#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

#include <string>

namespace hk
{

class BuiltWindow;
struct CsvCollection;

struct CollectionChoiceTexts {
    std::string title;     // "Export Collection"
    std::string listTip;   // the drop list's tip
    std::string button;    // "&Export..."
    std::string buttonTip; // the button's tip
    std::string cancelTip; // Cancel's tip
};

class CollectionChoice : public Procedure
{
    Q_OBJECT
  public:
    enum Control { CollectionPrompt = 1, CollectionList = 2, ActButton = 3, CancelButton = 4 };
    static WindowLayout layout(const CollectionChoiceTexts &texts);

  protected:
    CollectionChoice(QString name, CollectionChoiceTexts texts);
    QCoro::Task<> run() override;
    // What the button does with the chosen collection; the window may close
    // while it waits.
    virtual QCoro::Task<> act(BuiltWindow *w, const CsvCollection &collection) = 0;

  private:
    QCoro::Task<> chosen(BuiltWindow *w);
    CollectionChoiceTexts texts_;
};

} // namespace hk
