// The bands every report shares: the title band and the page header and
// footer frames, filled in with each report's texts, headings and totals.
#pragma once

#include "reports/reportdef.h"
#include "reports/reportlayout.h"

namespace hk
{

namespace Fonts
{
inline constexpr ReportFont titleLine{12, true, true};
inline constexpr ReportFont product{18, true, true};
inline constexpr ReportFont subtitle{14, true, true};
inline constexpr ReportFont heading{10, true, true};
inline constexpr ReportFont pageNumber{10, true, false};
inline constexpr ReportFont groupField{10, true, false};
inline constexpr ReportFont detail{9, false, false};
} // namespace Fonts

// Date, product name, subtitle and the owner; `height` 0 takes the band's
// natural height.
Band titleBand(const ReportTexts &texts, double height = 0);
// The heading, the page number, the column headings at 6 mm and a rule.
Band pageHeaderBand(const ReportTexts &texts, std::vector<ReportControl> columnHeadings);
// A rule at 2 mm, the controls at 4 mm, a rule at 10 mm.
Band totalsBand(std::vector<ReportControl> totals, double height);

// A text field of a record buffer, a whole number, and an amount.
template <std::size_t N> std::function<PictureValue()> textOf(const String<N> &field)
{
    return [&field] { return PictureValue{field.str()}; };
}
template <class T> std::function<PictureValue()> numberOf(const T &field)
{
    return [&field] { return PictureValue{std::int64_t(field)}; };
}
template <int B> std::function<PictureValue()> amountOf(const Decimal<B> &field)
{
    return [&field] { return PictureValue{Hundredths{field.cents()}}; };
}

} // namespace hk
