// Report layouts as data: bands of controls placed in millimetres, the
// totals the engine keeps, and the groups it breaks on. A layout reads the
// record buffers through the value functions of its controls; the paginator
// turns it and a stream of records into pages.
#pragma once

#include "platform/picture.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hk
{

// Every report prints in one family; fontconfig maps it to a metric-compatible
// serif where the original is not installed.
inline constexpr const char *kReportFamily = "Times New Roman";

struct ReportFont {
    std::uint8_t points = 9;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const ReportFont &, const ReportFont &) = default;
};

enum class Align : std::uint8_t { Left, Right };

// A picture kept in the data file, as a report prints it: the attachment's
// number and its encoded thumbnail.
struct StoredPicture {
    std::int64_t attachment = 0;
    std::string bytes;
};

enum class ControlType {
    Text,       // fixed text
    Field,      // a value through a picture
    PageNumber, // the number of the page being made
    Rule,       // a horizontal line `width` long
    Total,      // a count or sum kept by the engine
    Image,      // a stored picture (an attachment's thumbnail) fitted into width × height
};

struct ReportControl {
    ControlType type = ControlType::Text;
    double x = 0, y = 0; // mm from the band's top left corner
    double width = 0;    // mm: a right-aligned text ends at x + width; a rule's length
    ReportFont font{};
    Align align = Align::Left;
    std::string text{};                     // Text
    std::string picture{};                  // Field, PageNumber, Total
    std::function<PictureValue()> value{};  // Field
    int total = -1;                         // Total: index into ReportLayout::totals
    int id = 0;                             // non-zero for a control the report may hide
    double height = 0;                      // Image: mm
    std::function<StoredPicture()> image{}; // Image: the picture shown; attachment 0 for none
};

struct Band {
    double height = 0; // mm
    std::vector<ReportControl> controls{};
};

enum class TotalKind { Count, Sum };

struct TotalDef {
    TotalKind kind = TotalKind::Count;
    std::function<std::int64_t()> cents{}; // Sum: the summed field, in hundredths
    int resetGroup = -1;                   // index into groups: zeroed after its footer; -1 never
    // Sum: added once where this group's header prints (a parent's value
    // under its children), not at every detail; -1 at every detail.
    int atGroup = -1;
    // Sum: added at the first of a run of details with the same value of
    // this (a parent's identifier), so that the parent's value counts once
    // however many of its children print.
    std::function<std::int64_t()> once{};
};

struct GroupDef {
    std::function<std::string()> breakValue; // a change starts a new group
    Band header{};
    Band footer{}; // height 0: no footer
};

struct ReportLayout {
    std::string job; // names the print job
    Band title{};    // printed once, after the last detail
    Band pageHeader{};
    Band pageFooter{};
    std::vector<GroupDef> groups{}; // outermost first
    Band detail{};
    std::vector<TotalDef> totals{};
    // False for a record that only opens its groups (a parent without
    // children): no detail band, and it is neither counted nor summed.
    std::function<bool()> detailShown{};
};

// Page geometry shared by every report, in mm.
namespace PageArea
{
inline constexpr double width = 210, height = 297;
inline constexpr double bodyLeft = 5, bodyTop = 30, bodyHeight = 235;
inline constexpr double headerLeft = 5, headerTop = 15;
inline constexpr double footerLeft = 5, footerTop = 265;
} // namespace PageArea

// Builders that keep layouts short. A right-aligned value is as wide as its
// picture's characters in the font's figures (half an em each).
double figuresWide(int characters, int points);
ReportControl textAt(double x, double y, std::string text, ReportFont font,
                     Align align = Align::Left);
ReportControl fieldAt(double x, double y, std::string picture, std::function<PictureValue()> value,
                      ReportFont font, Align align = Align::Left, int id = 0);
ReportControl totalAt(double x, double y, std::string picture, int total, ReportFont font,
                      Align align = Align::Right);
ReportControl pageNumberAt(double x, double y, std::string picture, ReportFont font);
ReportControl ruleAt(double y, double length = 190);
ReportControl imageAt(double x, double y, double width, double height,
                      std::function<StoredPicture()> picture);

} // namespace hk
