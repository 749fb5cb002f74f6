#include "reports/reportlayout.h"

#include <utility>

namespace hk
{

double figuresWide(int characters, int points)
{
    return characters * points * 0.5 * 25.4 / 72.0;
}

ReportControl textAt(double x, double y, std::string text, ReportFont font, Align align)
{
    ReportControl c;
    c.type = ControlType::Text;
    c.x = x;
    c.y = y;
    c.font = font;
    c.align = align;
    // A right-aligned heading is as wide as its text in figures, so that it
    // ends near the column of numbers beneath it.
    if (align == Align::Right) c.width = figuresWide(int(text.size()), font.points);
    c.text = std::move(text);
    return c;
}

// Dates and times have no width of their own: they are as wide as their form.
static int pictureCharacters(const std::string &picture)
{
    const Picture p = Picture::of(picture);
    if (p.kind == PictureKind::Date)
        return int(format(PictureValue{*dateNumber(2000, 12, 28)}, p).size());
    if (p.kind == PictureKind::Time)
        return int(format(PictureValue{*timeValue(23, 59, 59)}, p).size());
    return p.width;
}

ReportControl fieldAt(double x, double y, std::string picture, std::function<PictureValue()> value,
                      ReportFont font, Align align, int id)
{
    ReportControl c;
    c.type = ControlType::Field;
    c.x = x;
    c.y = y;
    c.font = font;
    c.align = align;
    c.width = figuresWide(pictureCharacters(picture), font.points);
    c.picture = std::move(picture);
    c.value = std::move(value);
    c.id = id;
    return c;
}

ReportControl totalAt(double x, double y, std::string picture, int total, ReportFont font,
                      Align align)
{
    ReportControl c;
    c.type = ControlType::Total;
    c.x = x;
    c.y = y;
    c.font = font;
    c.align = align;
    c.width = figuresWide(pictureCharacters(picture), font.points);
    c.picture = std::move(picture);
    c.total = total;
    return c;
}

ReportControl pageNumberAt(double x, double y, std::string picture, ReportFont font)
{
    ReportControl c;
    c.type = ControlType::PageNumber;
    c.x = x;
    c.y = y;
    c.font = font;
    c.align = Align::Right;
    c.width = figuresWide(pictureCharacters(picture), font.points);
    c.picture = std::move(picture);
    return c;
}

ReportControl ruleAt(double y, double length)
{
    ReportControl c;
    c.type = ControlType::Rule;
    c.y = y;
    c.width = length;
    return c;
}

ReportControl imageAt(double x, double y, double width, double height,
                      std::function<StoredPicture()> picture)
{
    ReportControl c;
    c.type = ControlType::Image;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    c.image = std::move(picture);
    return c;
}

} // namespace hk
