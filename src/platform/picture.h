// The picture language shared by entries, list columns, display fields and
// reports: one formatter (value -> display text) and one parser (typed text ->
// value, or nothing when the text does not fit its picture).
//
// Pictures (an optional leading '@' is accepted and ignored):
//   sN          text of at most N characters; shown without trailing blanks.
//   nW[.D]      number W characters wide with D decimals (D is 0, 1 or 2),
//               with thousands separators ("1,234.50"); rounded half away
//               from zero to D decimals; zero shows as "0" or "0.00". A whole
//               part of up to four digits that fits only without its
//               separator is shown without it ("2024" in n4).
//   NW[.D]      the same.
//     flags:    a leading '$' shows a currency sign ("$1,234.50"); a '-' before
//               the width asks for a leading minus (the default anyway); a '-'
//               after the width (and decimals) puts the minus at the end
//               ("12.50-"); a trailing 'B' shows zero as blank.
//               W counts every character shown: sign, currency, separators,
//               point. A value too wide for W shows as W '#' signs, and typed
//               text whose value would not show in W characters is refused.
//   Dk / dk     a date in form k (letter case is not significant):
//               1 mm/dd/yy  2 mm/dd/yyyy  3 Mon dd, yyyy  4 Month dd, yyyy
//               5 dd/mm/yy  6 dd/mm/yyyy  7 dd Mon yy     8 dd Mon yyyy
//               9 yy/mm/dd 10 yyyy/mm/dd 11 yymmdd       12 yyyymmdd
//              13 mm/yy    14 mm/yyyy    15 yy/mm        16 yyyy/mm
//              17 the system's short date   18 the system's long date.
//   Tk / tk     a time in form k: 1 hh:mm  2 hhmm  3 hh:mmAM  4 hh:mm:ss
//               5 hhmmss  6 hh:mm:ssAM  7 the system's short time
//               8 the system's time with seconds.
//   A trailing 'B' on a date or time picture shows 0 as blank. A date 0 ("no
//   date") always shows blank; a time 0 without B shows as midnight.
//
// Day numbers: a date is the number of days since 28 December 1800, so day 4
// is 1 January 1801 and 0 means no date (valid dates run from 1 Jan 1801 to
// 31 Dec 9999). A time is hundredths of a second since midnight plus one, so
// 1 is 00:00:00 and 0 means no time (the last valid time is 8640000).
//
// Values: whole numbers (LONG, SHORT, BYTE, dates, times) are std::int64_t,
// exact decimals are Hundredths, text is UTF-8 std::string (widths count
// characters, not bytes). parse() gives an int64 for pictures without
// decimals, Hundredths for pictures with decimals, std::string for sN.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace hk
{

struct Hundredths {
    std::int64_t cents = 0;
    friend bool operator==(const Hundredths &, const Hundredths &) = default;
};

using PictureValue = std::variant<std::int64_t, Hundredths, std::string>;

enum class PictureKind { Text, Number, Date, Time };
enum class SignStyle { Leading, Trailing };

struct Picture {
    PictureKind kind = PictureKind::Text;
    int width = 0;    // sN: characters; nW: display width
    int decimals = 0; // numbers only
    int form = 0;     // dates and times: the form number
    bool blankWhenZero = false;
    bool grouping = false; // spelled N (both spellings group thousands)
    bool currency = false; // '$'
    SignStyle sign = SignStyle::Leading;
    // A '-' in the picture (before the width or after the decimals): a
    // negative number may be typed. Without it one may only be shown.
    bool takesNegative = false;

    // Reads a picture; nothing when the text is not a picture this language
    // knows.
    static std::optional<Picture> fromString(std::string_view text);
    // For pictures written into the program's own layouts: an unknown
    // picture is a programming error and throws std::invalid_argument.
    static Picture of(std::string_view text);
    // The picture written back in its plain form ("n10.2B", "s45", "D5").
    std::string toString() const;

    friend bool operator==(const Picture &, const Picture &) = default;
};

// The display text of value under picture. Text is never padded to the
// picture's width; the control that shows it aligns it.
std::string format(const PictureValue &value, const Picture &picture);
std::string format(const PictureValue &value, std::string_view picture);

// The value of typed text, or nothing when the text does not fit the picture.
// Surrounding blanks are ignored for numbers, dates and times; blank input is
// zero (or blank text).
std::optional<PictureValue> parse(std::string_view text, const Picture &picture);
std::optional<PictureValue> parse(std::string_view text, std::string_view picture);

// Day numbers and time values.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate &, const CalendarDate &) = default;
};
constexpr std::int64_t kFirstDate = 4;      // 1 January 1801
constexpr std::int64_t kLastDate = 2994626; // 31 December 9999
constexpr std::int64_t kLastTime = 8640000; // 23:59:59.99
// Nothing when y/m/d is not a real date between 1801 and 9999.
std::optional<std::int64_t> dateNumber(int year, int month, int day);
std::optional<CalendarDate> calendarDate(std::int64_t dayNumber);
std::optional<std::int64_t> timeValue(int hours, int minutes, int seconds, int hundredths = 0);

// How the system forms (D17, D18, T7, T8) and two-digit years are read. The
// defaults come from the system locale when first used; tests set fixed ones.
struct SystemFormats {
    std::string shortDate; // Qt date format, e.g. "dd/MM/yyyy"
    std::string longDate;  // e.g. "dddd, d MMMM yyyy"
    std::string shortTime; // Qt time format, e.g. "HH:mm"
    std::string longTime;  // e.g. "HH:mm:ss"
    // A two-digit year yy is read as the year ending in yy within
    // [pivotYear - 80, pivotYear + 19].
    int pivotYear = 2000;
};
const SystemFormats &systemFormats();
void setSystemFormats(const SystemFormats &formats);

} // namespace hk
