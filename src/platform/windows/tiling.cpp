#include "platform/windows/tiling.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace hk
{

namespace
{

struct Grid {
    int rows = 0;
    int columns = 0;
};

// Columns in row `row` of a grid holding `n` windows: full rows, then the rest.
int columnsIn(const Grid &g, int row, int n)
{
    return row < g.rows - 1 ? g.columns : n - g.columns * (g.rows - 1);
}

std::vector<QRect> place(const QRect &area, const std::vector<QSize> &least, const Grid &g)
{
    const int n = static_cast<int>(least.size());
    std::vector<QRect> out;
    out.reserve(least.size());
    const int cellHeight = area.height() / g.rows;
    for (int i = 0; i < n; ++i) {
        const int row = i / g.columns;
        const int column = i % g.columns;
        const int cellWidth = area.width() / columnsIn(g, row, n);
        const QSize size(std::max(cellWidth, least[static_cast<std::size_t>(i)].width()),
                         std::max(cellHeight, least[static_cast<std::size_t>(i)].height()));
        // Back inside the area where the window is larger than its cell; a
        // window larger than the whole area keeps its top left corner.
        const int x = std::max(area.left(), std::min(area.left() + column * cellWidth,
                                                     area.left() + area.width() - size.width()));
        const int y = std::max(area.top(), std::min(area.top() + row * cellHeight,
                                                    area.top() + area.height() - size.height()));
        out.emplace_back(QPoint(x, y), size);
    }
    return out;
}

// How much the windows cover beyond their own cells.
long long excess(const QRect &area, const std::vector<QSize> &least, const Grid &g)
{
    const int n = static_cast<int>(least.size());
    const int cellHeight = area.height() / g.rows;
    long long total = 0;
    for (int i = 0; i < n; ++i) {
        const int cellWidth = area.width() / columnsIn(g, i / g.columns, n);
        const QSize &s = least[static_cast<std::size_t>(i)];
        const long long w = std::max(cellWidth, s.width());
        const long long h = std::max(cellHeight, s.height());
        total += w * h - static_cast<long long>(cellWidth) * cellHeight;
    }
    return total;
}

// Moves each window down, as little as needed, until it covers no title bar
// of a window before it; the windows are stacked in this order, so no title
// is hidden under another window.
void clearTitles(std::vector<QRect> &places, int titleHeight)
{
    for (std::size_t i = 1; i < places.size(); ++i)
        for (bool moved = true; moved;) {
            moved = false;
            for (std::size_t k = 0; k < i; ++k) {
                const QRect bar(places[k].topLeft(), QSize(places[k].width(), titleHeight));
                if (places[i].intersects(bar)) {
                    places[i].moveTop(bar.bottom() + 1);
                    moved = true;
                }
            }
        }
}

} // namespace

std::vector<QRect> tileGrid(const QRect &area, const std::vector<QSize> &least, int titleHeight)
{
    const int n = static_cast<int>(least.size());
    if (n == 0 || area.isEmpty()) return {};
    // Among grids that cover equally, the squarest with more columns than
    // rows, as tiling usually looks.
    const int square = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    Grid best;
    long long bestExcess = std::numeric_limits<long long>::max();
    int bestDistance = std::numeric_limits<int>::max();
    for (int columns = 1; columns <= n; ++columns) {
        const Grid g{(n + columns - 1) / columns, columns};
        const long long e = excess(area, least, g);
        const int distance = std::abs(columns - square);
        if (e < bestExcess || (e == bestExcess && distance < bestDistance)) {
            best = g;
            bestExcess = e;
            bestDistance = distance;
        }
    }
    std::vector<QRect> places = place(area, least, best);
    if (titleHeight > 0) clearTitles(places, titleHeight);
    return places;
}

void tileWindows(QMdiArea *area)
{
    QMdiSubWindow *active = area->activeSubWindow();
    std::vector<QMdiSubWindow *> windows;
    std::vector<QSize> least;
    for (QMdiSubWindow *w : area->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isHidden() || w->isMinimized()) continue;
        if (w->isMaximized()) w->showNormal();
        windows.push_back(w);
    }
    // The active window goes last: it stays on top of the others.
    if (auto it = std::find(windows.begin(), windows.end(), active); it != windows.end())
        std::rotate(it, it + 1, windows.end());
    int titleHeight = 0;
    for (QMdiSubWindow *w : windows) {
        least.push_back(w->minimumSize().expandedTo(w->minimumSizeHint()));
        QStyleOptionTitleBar opt;
        opt.initFrom(w);
        titleHeight =
            std::max(titleHeight,
                     w->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, w) +
                         w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, w));
    }
    const std::vector<QRect> places = tileGrid(area->viewport()->rect(), least, titleHeight);
    for (std::size_t i = 0; i < places.size(); ++i) {
        windows[i]->setGeometry(places[i]);
        windows[i]->raise(); // stacked in the order the places assume
    }
}

} // namespace hk
