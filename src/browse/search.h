// The text searches: a small window that takes the text and the case rule
// into Glo:SearchString and Glo:Ignorecase, and a view-only result list of
// the records whose searched field contains the text. One engine serves
// every search; a SearchKind says what is searched and how it is shown.
#pragma once

#include "browse/browsedef.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

#include <QPointer>

namespace hk
{

struct SearchKind {
    const char *window;           // the search window's procedure, "SearchItemDescription"
    const char *noMatch;          // the result's title when nothing matches, before the text
    FieldRef searched;            // the field looked into; its table is the result's main table
    const BrowseDef &(*result)(); // the result list
};

// A search's result list: `list` (its table, columns and window) with the
// filter, the rows' own search and the titles that follow the two globals.
BrowseDef searchResultDef(const SearchKind &kind, BrowseDef list);

class SearchWindow : public Procedure
{
    Q_OBJECT
  public:
    explicit SearchWindow(const SearchKind &kind);

    static WindowLayout layout();
    enum Control { IgnoreCase = 1, FindPrompt, Find, Ok, Cancel, Help };
    BuiltWindow *content() const { return content_; }
    const SearchKind &kind() const { return kind_; }

  protected:
    QCoro::Task<> run() override;

  private:
    void pressOk();

    const SearchKind &kind_;
    QPointer<BuiltWindow> content_;
};

// The item search started from BrowseItems.
const SearchKind &itemSearch();
const BrowseDef &searchDescriptionResultDef();
extern Long SearchDescriptionResultThread;

} // namespace hk
