#include "browse/listcontrol.h"

#include "platform/picture.h"
#include "platform/windows/layout.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>
#include <QWheelEvent>

#include <algorithm>

namespace hk
{

namespace
{

// The mark of a record that holds photos or papers: a small camera, drawn
// here so that the list needs no resource of the program's.
const QIcon &attachmentMark()
{
    static const QIcon icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(110, 120, 135));
        p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 2, 2);
        p.drawRect(QRectF(5.5, 2.5, 5, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 9), 2.6, 2.6);
        return QIcon(pixmap);
    }();
    return icon;
}

QString attachmentWords(int n)
{
    return n == 1 ? QStringLiteral("1 photo or document")
                  : QStringLiteral("%1 photos or documents").arg(n);
}

} // namespace

PagedList::PagedList(const DialogUnits &units, QWidget *parent)
    : QWidget(parent), units_(units), view_(new QTreeView(this)),
      bar_(new QScrollBar(Qt::Vertical, this)), model_(new QStandardItemModel(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(bar_);

    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setItemsExpandable(false);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The rows on show are the page: the view itself never scrolls up or down.
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    setFocusProxy(view_);

    bar_->setRange(0, 100);
    bar_->setSingleStep(1);
    bar_->setPageStep(10);
    bar_->setTracking(false);
    bar_->setContextMenuPolicy(Qt::PreventContextMenu);
    bar_->hide();
    connect(bar_, &QAbstractSlider::actionTriggered, this, &PagedList::scrollAction);
    connect(bar_, &QAbstractSlider::sliderReleased, this,
            [this] { emit thumbDragged(bar_->sliderPosition()); });

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &now) {
                if (!showing_ && now.isValid()) emit rowHighlighted(now.row() + 1);
            });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!showing_) emit selectionEdited();
    });
    connect(view_, &QAbstractItemView::doubleClicked, this,
            [this] { emit command(ListCommand::DoubleClick); });
}

void PagedList::setFormat(const ListFormat &format)
{
    format_ = format;
    model_->clear();
    model_->setColumnCount(static_cast<int>(format.columns.size()));
    applyListFormat(view_, format_, units_);
}

void PagedList::showRows(const std::vector<BrowseRow> &rows, int current)
{
    showing_ = true;
    const int columns = static_cast<int>(format_.columns.size());
    model_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const BrowseRow &row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columns; ++c) {
            const ListColumn &col = format_.columns[static_cast<std::size_t>(c)];
            const auto f = static_cast<std::size_t>(col.field - 1);
            QString text;
            if (f < row.values.size())
                text = QString::fromStdString(col.picture ? format(row.values[f], *col.picture)
                                                          : format(row.values[f], "s255"));
            auto *item = model_->item(r, c);
            if (!item) {
                item = new QStandardItem;
                model_->setItem(r, c, item);
            }
            item->setText(text);
            Qt::Alignment align = Qt::AlignVCenter;
            align |= col.align == ColumnAlign::Right || col.align == ColumnAlign::Decimal
                         ? Qt::AlignRight
                     : col.align == ColumnAlign::Center ? Qt::AlignHCenter
                                                        : Qt::AlignLeft;
            item->setTextAlignment(align);
            if (c == 0) {
                const bool marked = row.attachments > 0;
                item->setIcon(marked ? attachmentMark() : QIcon());
                item->setToolTip(marked ? attachmentWords(row.attachments) : QString());
                item->setData(marked ? attachmentWords(row.attachments) : QVariant(),
                              Qt::AccessibleDescriptionRole);
            }
        }
    }
    // The highlight alone is chosen, whatever keys are held meanwhile.
    const auto only = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    if (current >= 1 && current <= static_cast<int>(rows.size()))
        view_->selectionModel()->setCurrentIndex(model_->index(current - 1, 0), only);
    else
        view_->selectionModel()->setCurrentIndex(QModelIndex(), only);
    showing_ = false;
}

void PagedList::setSeveral()
{
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

std::vector<int> PagedList::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &i : view_->selectionModel()->selectedRows())
        rows.push_back(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PagedList::selectRows(const std::vector<int> &rows)
{
    showing_ = true;
    QItemSelection chosen;
    for (int r : rows)
        if (r >= 1 && r <= model_->rowCount())
            chosen.select(model_->index(r - 1, 0), model_->index(r - 1, 0));
    view_->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    showing_ = false;
}

void PagedList::setThumb(int position)
{
    bar_->setValue(std::clamp(position, 0, 100));
}

int PagedList::thumb() const
{
    return bar_->value();
}

void PagedList::setScrollBarShown(bool shown)
{
    bar_->setVisible(shown);
}

bool PagedList::scrollBarShown() const
{
    return !bar_->isHidden();
}

int PagedList::rowHeight() const
{
    if (model_->rowCount() > 0) {
        const int h = view_->visualRect(model_->index(0, 0)).height();
        if (h > 0) return h;
    }
    QStyleOptionViewItem option;
    option.initFrom(view_);
    option.text = QStringLiteral("Xg");
    option.features = QStyleOptionViewItem::HasDisplay;
    const QSize size =
        view_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view_);
    return std::max(size.height(), view_->fontMetrics().height());
}

int PagedList::pageSize() const
{
    return std::max(1, view_->viewport()->height() / std::max(1, rowHeight()));
}

void PagedList::scrollAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        emit scrollRequested(ListScroll::RowDown);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        emit scrollRequested(ListScroll::RowUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        emit scrollRequested(ListScroll::PageDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        emit scrollRequested(ListScroll::PageUp);
        break;
    case QAbstractSlider::SliderToMinimum:
        emit scrollRequested(ListScroll::Top);
        break;
    case QAbstractSlider::SliderToMaximum:
        emit scrollRequested(ListScroll::Bottom);
        break;
    default:
        break;
    }
}

bool PagedList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        switch (key->key()) {
        case Qt::Key_Up:
            emit scrollRequested(ListScroll::RowUp);
            return true;
        case Qt::Key_Down:
            emit scrollRequested(ListScroll::RowDown);
            return true;
        case Qt::Key_PageUp:
            emit scrollRequested(ListScroll::PageUp);
            return true;
        case Qt::Key_PageDown:
            emit scrollRequested(ListScroll::PageDown);
            return true;
        case Qt::Key_Home:
            emit scrollRequested(ListScroll::Top);
            return true;
        case Qt::Key_End:
            emit scrollRequested(ListScroll::Bottom);
            return true;
        case Qt::Key_Insert:
            emit command(ListCommand::Insert);
            return true;
        case Qt::Key_Delete:
            emit command(ListCommand::Delete);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit command(ctrl ? ListCommand::Change : ListCommand::Enter);
            return true;
        case Qt::Key_F10:
            if (!(key->modifiers() & Qt::ShiftModifier)) break;
            [[fallthrough]];
        case Qt::Key_Menu: {
            // The popup opens on the highlighted row, as a right click would.
            const QModelIndex current = view_->currentIndex();
            const QPoint at = current.isValid() ? view_->visualRect(current).center() : QPoint();
            emit popupRequested(view_->viewport()->mapToGlobal(at));
            return true;
        }
        default:
            break;
        }
        const QString text = key->text();
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && !text.isEmpty() && text.at(0).isPrint() && !text.trimmed().isEmpty()) {
            emit typed(text);
            return true;
        }
        return false;
    }
    if (watched == view_->viewport()) {
        // A click below the last row leaves the highlight where it is.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonRelease ||
            event->type() == QEvent::MouseButtonDblClick) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton &&
                !view_->indexAt(mouse->position().toPoint()).isValid()) {
                view_->setFocus(Qt::MouseFocusReason);
                return true;
            }
        }
        if (event->type() == QEvent::Wheel) {
            const int dy = static_cast<QWheelEvent *>(event)->angleDelta().y();
            if (dy != 0) emit scrollRequested(dy > 0 ? ListScroll::RowUp : ListScroll::RowDown);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QModelIndex at = view_->indexAt(mouse->position().toPoint());
            // A click on one of several chosen rows keeps them all chosen.
            if (at.isValid() && !view_->selectionModel()->isRowSelected(at.row()))
                view_->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
            emit popupRequested(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace hk
