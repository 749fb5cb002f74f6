// The list control of a browse: one page of rows in the columns of a list
// format, and beside it a scroll bar whose thumb runs 0 to 100 over the key
// range rather than over the rows. It holds no records: it shows what the
// engine gives it and reports the user's scrolling, keys and clicks.
#pragma once

#include "browse/engine.h"
#include "platform/listformat.h"
#include "platform/windows/dialogunits.h"

#include <QWidget>

class QScrollBar;
class QStandardItemModel;
class QTreeView;

namespace hk
{

enum class ListCommand {
    Insert,      // the Insert key
    Delete,      // the Delete key
    Change,      // Ctrl+Enter
    Enter,       // Enter: the window's default button
    DoubleClick, // on a row
};

class PagedList : public QWidget
{
    Q_OBJECT
  public:
    PagedList(const DialogUnits &units, QWidget *parent = nullptr);

    void setFormat(const ListFormat &format);
    // Shows rows with `current` (from 1; 0 none) highlighted.
    void showRows(const std::vector<BrowseRow> &rows, int current);
    void setThumb(int position); // 0 to 100
    void setScrollBarShown(bool shown);
    bool scrollBarShown() const;
    int thumb() const;
    // How many rows the list shows at its present height.
    int pageSize() const;

    // Lets the user choose several rows (Ctrl/Shift+click); the highlight
    // stays one of them.
    void setSeveral();
    std::vector<int> selectedRows() const; // from 1, in list order
    // Chooses exactly these rows (from 1), without a notice.
    void selectRows(const std::vector<int> &rows);

    QTreeView *view() const { return view_; }
    QScrollBar *scrollBar() const { return bar_; }

  signals:
    void scrollRequested(hk::ListScroll how);
    void thumbDragged(int position);
    void rowHighlighted(int row); // from 1
    void command(hk::ListCommand command);
    void typed(const QString &text); // a character for the locator
    void popupRequested(const QPoint &globalPosition);
    void selectionEdited(); // the user chose other rows

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void scrollAction(int action);
    int rowHeight() const;

    DialogUnits units_;
    ListFormat format_;
    QTreeView *view_;
    QScrollBar *bar_;
    QStandardItemModel *model_;
    bool showing_ = false; // rows being replaced: no highlight notices
};

} // namespace hk
