// The print preview's state without its window: which pages show, in a grid
// or zoomed, what the status zones read and which actions are enabled. The
// window shows this state and forwards its events here.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace hk
{

enum class Zoom { None, PageWidth, Percent50, Percent75, Percent100, Percent200, Percent300 };

class PreviewModel
{
  public:
    static constexpr int maxGrid = 10;

    explicit PreviewModel(int pageCount);

    int pageCount() const { return pageCount_; }
    int current() const { return current_; }
    int across() const { return across_; }
    int down() const { return down_; }
    Zoom zoom() const { return zoom_; }
    bool zoomed() const { return zoom_ != Zoom::None; }
    // Grid slots on show: across x down, 0 while zoomed.
    int slotCount() const { return zoomed() ? 0 : across_ * down_; }
    // The page slot k (from 1) shows, 0 when the slot is past the last page.
    int slotPage(int k) const;

    // The View menu and the spins serve only reports of more than one page.
    bool viewEnabled() const { return pageCount_ > 1; }
    bool nextEnabled() const;
    bool previousEnabled() const;
    QString pageText() const; // status zone 2
    QString zoomText() const; // status zone 3
    // Factor of the page's natural size; Page Width fits the window's width.
    double zoomFactor(double windowWidth, double pageWidth) const;

    void next();
    void previous();
    void jump(int page);                // clamped to the pages there are
    void setGrid(int across, int down); // also leaves a zoom
    // The grid values after "Change Display": they show once No Zoom is next chosen.
    void changeDisplay(int across, int down);
    void setZoom(Zoom zoom) { zoom_ = zoom; }
    void clickSlot(int k); // zooms that slot's page to the page width
    void clickZoomed();    // back to the grid, starting at that page

    // The grid: slot size and places in the area (w, h) for a page of ratio
    // height / width. Slots are 3 units apart, the first at (1, 1).
    static std::vector<QRect> gridSlots(QSize area, int across, int down, double pageRatio);

    // The zoom popup's text with the current mode checked, and the modes in
    // the order of its items.
    QString popupText() const;
    static QString zoomName(Zoom zoom);

  private:
    int pageCount_;
    int current_ = 1;
    int across_ = 1, down_ = 1;
    Zoom zoom_ = Zoom::None;
};

} // namespace hk
