#include "platform/windows/dialogunits.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>

namespace hk
{

namespace
{
int rounded(double v)
{
    return static_cast<int>(std::lround(v));
}
} // namespace

DialogUnits::DialogUnits(double charWidth, double charHeight)
    : charWidth_(charWidth > 0 ? charWidth : 1), charHeight_(charHeight > 0 ? charHeight : 1)
{
}

DialogUnits DialogUnits::forFont(const QFont &font)
{
    const QFontMetricsF metrics(font);
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return DialogUnits(metrics.horizontalAdvance(letters) / letters.size(), metrics.height());
}

DialogUnits DialogUnits::application()
{
    return forFont(QGuiApplication::font());
}

int DialogUnits::toPixelsX(int units) const
{
    return rounded(units * charWidth_ / 4);
}
int DialogUnits::toPixelsY(int units) const
{
    return rounded(units * charHeight_ / 8);
}
QPoint DialogUnits::toPixels(QPoint u) const
{
    return {toPixelsX(u.x()), toPixelsY(u.y())};
}
QSize DialogUnits::toPixels(QSize u) const
{
    return {toPixelsX(u.width()), toPixelsY(u.height())};
}
QRect DialogUnits::toPixels(QRect u) const
{
    return {toPixels(u.topLeft()), toPixels(u.size())};
}

int DialogUnits::toUnitsX(int pixels) const
{
    return rounded(pixels * 4 / charWidth_);
}
int DialogUnits::toUnitsY(int pixels) const
{
    return rounded(pixels * 8 / charHeight_);
}
QPoint DialogUnits::toUnits(QPoint p) const
{
    return {toUnitsX(p.x()), toUnitsY(p.y())};
}
QSize DialogUnits::toUnits(QSize p) const
{
    return {toUnitsX(p.width()), toUnitsY(p.height())};
}
QRect DialogUnits::toUnits(QRect p) const
{
    return {toUnits(p.topLeft()), toUnits(p.size())};
}

} // namespace hk
