#include "reports/previewmodel.h"

#include <algorithm>

namespace hk
{

PreviewModel::PreviewModel(int pageCount) : pageCount_(std::max(pageCount, 1)) {}

int PreviewModel::slotPage(int k) const
{
    const int page = current_ + k - 1;
    return k >= 1 && k <= slotCount() && page <= pageCount_ ? page : 0;
}

bool PreviewModel::nextEnabled() const
{
    if (!viewEnabled()) return false;
    return zoomed() ? current_ < pageCount_ : current_ + slotCount() <= pageCount_;
}

bool PreviewModel::previousEnabled() const
{
    return viewEnabled() && current_ > 1;
}

QString PreviewModel::pageText() const
{
    const int last = std::min(current_ + std::max(slotCount(), 1) - 1, pageCount_);
    if (zoomed() || slotCount() == 1 || current_ == pageCount_ || last == current_)
        return QStringLiteral("Page %1 of %2").arg(current_).arg(pageCount_);
    return QStringLiteral("Pages %1-%2 of %3").arg(current_).arg(last).arg(pageCount_);
}

QString PreviewModel::zoomName(Zoom zoom)
{
    switch (zoom) {
    case Zoom::None:
        return QStringLiteral("No Zoom");
    case Zoom::PageWidth:
        return QStringLiteral("Zoom (Page Width)");
    case Zoom::Percent50:
        return QStringLiteral("Zoom (50%)");
    case Zoom::Percent75:
        return QStringLiteral("Zoom (75%)");
    case Zoom::Percent100:
        return QStringLiteral("Zoom (100%)");
    case Zoom::Percent200:
        return QStringLiteral("Zoom (200%)");
    case Zoom::Percent300:
        return QStringLiteral("Zoom (300%)");
    }
    return {};
}

QString PreviewModel::zoomText() const
{
    return zoomName(zoom_);
}

double PreviewModel::zoomFactor(double windowWidth, double pageWidth) const
{
    switch (zoom_) {
    case Zoom::None:
        return 0;
    case Zoom::PageWidth:
        return pageWidth > 0 ? windowWidth / pageWidth : 1;
    case Zoom::Percent50:
        return 0.5;
    case Zoom::Percent75:
        return 0.75;
    case Zoom::Percent100:
        return 1.0;
    case Zoom::Percent200:
        return 2.0;
    case Zoom::Percent300:
        return 3.0;
    }
    return 1.0;
}

void PreviewModel::next()
{
    if (zoomed()) {
        if (current_ < pageCount_) ++current_;
    } else if (current_ + slotCount() <= pageCount_) {
        current_ += slotCount();
    }
}

void PreviewModel::previous()
{
    if (zoomed()) {
        if (current_ > 1) --current_;
    } else {
        current_ = std::max(1, current_ - slotCount());
    }
}

void PreviewModel::jump(int page)
{
    current_ = std::clamp(page, 1, pageCount_);
}

void PreviewModel::changeDisplay(int across, int down)
{
    across_ = std::clamp(across, 1, maxGrid);
    down_ = std::clamp(down, 1, maxGrid);
}

void PreviewModel::setGrid(int across, int down)
{
    changeDisplay(across, down);
    zoom_ = Zoom::None;
}

void PreviewModel::clickSlot(int k)
{
    if (slotPage(k) == 0) return;
    current_ += k - 1;
    zoom_ = Zoom::PageWidth;
}

void PreviewModel::clickZoomed()
{
    zoom_ = Zoom::None;
}

std::vector<QRect> PreviewModel::gridSlots(QSize area, int across, int down, double pageRatio)
{
    int w = (area.width() - (3 * across - 1)) / across;
    int h = (area.height() - (3 * down - 1)) / down;
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (pageRatio > double(h) / w)
        w = int(h / pageRatio);
    else
        h = int(w * pageRatio);
    std::vector<QRect> places;
    for (int r = 0; r < down; ++r)
        for (int c = 0; c < across; ++c)
            places.emplace_back(1 + c * (w + 3), 1 + r * (h + 3), w, h);
    return places;
}

QString PreviewModel::popupText() const
{
    static const Zoom order[] = {Zoom::None,      Zoom::PageWidth,  Zoom::Percent50,
                                 Zoom::Percent75, Zoom::Percent100, Zoom::Percent200,
                                 Zoom::Percent300};
    static const char *names[] = {"No Zoom", "Page Width", "50%", "75%", "100%", "200%", "300%"};
    QString text;
    for (int i = 0; i < 7; ++i) {
        if (i > 0) text += '|';
        if (i == 1) text += QStringLiteral("-|");
        text += (order[i] == zoom_ ? '+' : '-') + QString::fromLatin1(names[i]);
    }
    return text;
}

} // namespace hk
