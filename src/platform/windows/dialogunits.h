// Dialog units: window and control sizes are given in units of the
// application font, so a layout keeps its proportions whatever the font.
// A horizontal unit is a quarter of the font's average character width (the
// mean advance of the 52 Latin letters), a vertical unit an eighth of its
// line height. Conversions round to the nearest pixel or unit.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace hk
{

class DialogUnits
{
  public:
    // charWidth and charHeight in pixels (both above zero).
    DialogUnits(double charWidth, double charHeight);
    static DialogUnits forFont(const QFont &font);
    // The application font's units (QApplication::font()).
    static DialogUnits application();

    double charWidth() const { return charWidth_; }
    double charHeight() const { return charHeight_; }

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QPoint toPixels(QPoint units) const;
    QSize toPixels(QSize units) const;
    QRect toPixels(QRect units) const;

    int toUnitsX(int pixels) const;
    int toUnitsY(int pixels) const;
    QPoint toUnits(QPoint pixels) const;
    QSize toUnits(QSize pixels) const;
    QRect toUnits(QRect pixels) const;

  private:
    double charWidth_;
    double charHeight_;
};

} // namespace hk
