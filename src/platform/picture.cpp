#include "platform/picture.h"

#include "dictionary/types.h"
#include "dictionary/utf8.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>
#include <vector>

namespace hk
{

namespace
{

// ---------------------------------------------------------------- calendar

// Day numbers count from 28 December 1800 (day 0), so that 1 January 1801
// is day 4: the numbers the data file holds.
const qint64 kEpoch = QDate(1800, 12, 28).toJulianDay();

const std::array<const char *, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};

std::optional<SystemFormats> gSystemFormats;

std::string stripTimeZone(QString format)
{
    // Long time formats may carry the time zone ('t'); a field shows none.
    format.remove(QLatin1Char('t'));
    return format.trimmed().toStdString();
}

SystemFormats localeFormats()
{
    const QLocale locale = QLocale::system();
    SystemFormats f;
    f.shortDate = locale.dateFormat(QLocale::ShortFormat).toStdString();
    f.longDate = locale.dateFormat(QLocale::LongFormat).toStdString();
    f.shortTime = stripTimeZone(locale.timeFormat(QLocale::ShortFormat));
    f.longTime = stripTimeZone(locale.timeFormat(QLocale::LongFormat));
    f.pivotYear = QDate::currentDate().year();
    return f;
}

// ---------------------------------------------------------------- helpers

std::string_view trimBoth(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string twoDigits(int n)
{
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

std::string fourDigits(int n)
{
    std::string s = std::to_string(n);
    while (s.size() < 4)
        s.insert(s.begin(), '0');
    return s;
}

std::string overflow(int width)
{
    return std::string(static_cast<std::size_t>(width), '#');
}

// The value as a whole number (dates, times) or in hundredths (numbers).
std::int64_t wholeOf(const PictureValue &value)
{
    if (auto i = std::get_if<std::int64_t>(&value)) return *i;
    if (auto h = std::get_if<Hundredths>(&value)) return h->cents / 100;
    auto c = parseCents(std::get<std::string>(value));
    return c ? *c / 100 : 0;
}

std::optional<std::int64_t> centsOf(const PictureValue &value)
{
    constexpr std::int64_t limit = INT64_MAX / 100;
    if (auto i = std::get_if<std::int64_t>(&value)) {
        if (*i > limit || *i < -limit) return std::nullopt;
        return *i * 100;
    }
    if (auto h = std::get_if<Hundredths>(&value)) return h->cents;
    return parseCents(std::get<std::string>(value)).value_or(0);
}

// ---------------------------------------------------------------- numbers

std::string groupThousands(const std::string &digits)
{
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string formatNumber(const PictureValue &value, const Picture &p)
{
    auto maybeCents = centsOf(value);
    if (!maybeCents) return overflow(p.width);
    std::int64_t cents = *maybeCents;
    const bool negativeInput = cents < 0;
    std::int64_t magnitude = negativeInput ? -cents : cents;
    const std::int64_t step = pow10(2 - p.decimals);
    magnitude = (magnitude + step / 2) / step * step; // half away from zero
    if (magnitude == 0 && p.blankWhenZero) return {};
    const bool negative = negativeInput && magnitude != 0;

    const std::string digits = std::to_string(magnitude / 100);
    auto compose = [&](const std::string &whole) {
        std::string body = whole;
        if (p.decimals > 0) {
            std::string fraction = twoDigits(static_cast<int>(magnitude % 100));
            body += '.' + fraction.substr(0, static_cast<std::size_t>(p.decimals));
        }
        if (p.currency) body.insert(body.begin(), '$');
        if (negative) {
            if (p.sign == SignStyle::Trailing)
                body += '-';
            else
                body.insert(body.begin(), '-');
        }
        return body;
    };
    std::string body = compose(groupThousands(digits));
    // A narrow field (a year, a page count) keeps its four digits: its
    // separator is the one thing that would not fit.
    if (static_cast<int>(body.size()) > p.width && digits.size() <= 4) body = compose(digits);
    if (static_cast<int>(body.size()) > p.width) return overflow(p.width);
    return body;
}

std::optional<PictureValue> parseNumber(std::string_view text, const Picture &p)
{
    text = trimBoth(text);
    const bool blank = text.empty();
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = trimBoth(text.substr(1, text.size() - 2));
    }
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = negative || text.front() == '-';
        text = trimBoth(text.substr(1));
    }
    if (!text.empty() && text.front() == '$') text = trimBoth(text.substr(1));
    if (!negative && !text.empty() && text.back() == '-') {
        negative = true;
        text = trimBoth(text.substr(0, text.size() - 1));
    }

    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    int wholeDigits = 0;
    bool seenPoint = false;
    bool anyDigit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (!seenPoint) {
                if (++wholeDigits > 15) return std::nullopt;
                whole = whole * 10 + (c - '0');
            } else if (fractionDigits < 2) {
                fraction = fraction * 10 + (c - '0');
                ++fractionDigits;
            } else if (c != '0') {
                return std::nullopt; // more decimals than a value can hold
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c == ',' && !seenPoint && i > 0 && isDigit(text[i - 1]) && i + 1 < text.size() &&
                   isDigit(text[i + 1])) {
            // a thousands separator between digits
        } else {
            return std::nullopt;
        }
    }
    if (!blank && !anyDigit) return std::nullopt;
    while (fractionDigits < 2) {
        fraction *= 10;
        ++fractionDigits;
    }
    std::int64_t cents = whole * 100 + fraction;
    // The picture's decimals are all a value may carry.
    if (cents % pow10(2 - p.decimals) != 0) return std::nullopt;
    // Only a picture that shows a sign takes a value below zero: a value,
    // a count or a year typed with a minus is a mistake.
    if (negative && cents != 0 && !p.takesNegative) return std::nullopt;
    if (negative) cents = -cents;
    const PictureValue value =
        p.decimals == 0 ? PictureValue{cents / 100} : PictureValue{Hundredths{cents}};
    if (formatNumber(value, p) == overflow(p.width))
        return std::nullopt; // would not show in the picture's width
    return value;
}

// ---------------------------------------------------------------- dates

enum class Field { Day, Month, Year };

struct DateForm {
    std::vector<Field> order;
    bool twoDigitYear = false;
    bool monthName = false;
    bool compact = false;
};

DateForm dateForm(int form)
{
    using F = Field;
    switch (form) {
    case 1:
        return {{F::Month, F::Day, F::Year}, true};
    case 2:
        return {{F::Month, F::Day, F::Year}};
    case 3:
    case 4:
        return {{F::Month, F::Day, F::Year}, false, true};
    case 5:
        return {{F::Day, F::Month, F::Year}, true};
    case 6:
        return {{F::Day, F::Month, F::Year}};
    case 7:
        return {{F::Day, F::Month, F::Year}, true, true};
    case 8:
        return {{F::Day, F::Month, F::Year}, false, true};
    case 9:
        return {{F::Year, F::Month, F::Day}, true};
    case 10:
        return {{F::Year, F::Month, F::Day}};
    case 11:
        return {{F::Year, F::Month, F::Day}, true, false, true};
    case 12:
        return {{F::Year, F::Month, F::Day}, false, false, true};
    case 13:
        return {{F::Month, F::Year}, true};
    case 14:
        return {{F::Month, F::Year}};
    case 15:
        return {{F::Year, F::Month}, true};
    case 16:
        return {{F::Year, F::Month}};
    default:
        return {};
    }
}

// The field order of a Qt date format ("dd/MM/yyyy" -> day, month, year).
DateForm orderOfQtFormat(const std::string &format)
{
    DateForm f;
    bool quoted = false;
    char last = 0;
    for (char c : format) {
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || c == last) continue;
        last = c;
        if (c == 'd' && std::find(f.order.begin(), f.order.end(), Field::Day) == f.order.end())
            f.order.push_back(Field::Day);
        else if (c == 'M')
            f.order.push_back(Field::Month);
        else if (c == 'y')
            f.order.push_back(Field::Year);
        else if (!std::isalpha(static_cast<unsigned char>(c)))
            last = 0;
    }
    f.monthName = format.find("MMM") != std::string::npos;
    return f;
}

std::string formatDate(std::int64_t day, const Picture &p)
{
    if (day == 0) return {};
    const auto date = calendarDate(day);
    if (!date) return overflow(p.form == 4 || p.form == 18 ? 18 : 10);
    const std::string dd = twoDigits(date->day);
    const std::string mm = twoDigits(date->month);
    const std::string yy = twoDigits(date->year % 100);
    const std::string yyyy = fourDigits(date->year);
    const std::string month = kMonthNames[static_cast<std::size_t>(date->month - 1)];
    const std::string mon = month.substr(0, 3);
    switch (p.form) {
    case 1:
        return mm + "/" + dd + "/" + yy;
    case 2:
        return mm + "/" + dd + "/" + yyyy;
    case 3:
        return mon + " " + dd + ", " + yyyy;
    case 4:
        return month + " " + dd + ", " + yyyy;
    case 5:
        return dd + "/" + mm + "/" + yy;
    case 6:
        return dd + "/" + mm + "/" + yyyy;
    case 7:
        return dd + " " + mon + " " + yy;
    case 8:
        return dd + " " + mon + " " + yyyy;
    case 9:
        return yy + "/" + mm + "/" + dd;
    case 10:
        return yyyy + "/" + mm + "/" + dd;
    case 11:
        return yy + mm + dd;
    case 12:
        return yyyy + mm + dd;
    case 13:
        return mm + "/" + yy;
    case 14:
        return mm + "/" + yyyy;
    case 15:
        return yy + "/" + mm;
    case 16:
        return yyyy + "/" + mm;
    default: {
        const auto &fmt = p.form == 17 ? systemFormats().shortDate : systemFormats().longDate;
        return QDate(date->year, date->month, date->day)
            .toString(QString::fromStdString(fmt))
            .toStdString();
    }
    }
}

int expandYear(int yy)
{
    const int base = systemFormats().pivotYear - 80;
    return base + ((yy - base) % 100 + 100) % 100;
}

std::optional<int> monthFromName(std::string_view word)
{
    if (word.size() < 3) return std::nullopt;
    for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
        const std::string_view name = kMonthNames[m];
        if (word.size() > name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < word.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(word[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        if (same) return static_cast<int>(m) + 1;
    }
    return std::nullopt;
}

std::optional<std::int64_t> parseDateFields(std::string_view text, const DateForm &form)
{
    if (form.order.empty()) return std::nullopt;
    std::vector<std::string> numbers;
    std::optional<int> namedMonth;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (isDigit(c)) {
            std::size_t j = i;
            while (j < text.size() && isDigit(text[j]))
                ++j;
            numbers.emplace_back(text.substr(i, j - i));
            i = j;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            std::size_t j = i;
            while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j])))
                ++j;
            if (namedMonth) return std::nullopt;
            namedMonth = monthFromName(text.substr(i, j - i));
            if (!namedMonth) return std::nullopt;
            i = j;
        } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ' ') {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    // A run of digits alone (yymmdd, ddmmyyyy, ...) splits by the form's order.
    if (numbers.size() == 1 && !namedMonth && form.order.size() > 1) {
        const std::string digits = numbers.front();
        const std::size_t fields = form.order.size();
        const std::size_t yearLen = digits.size() - 2 * (fields - 1);
        if (yearLen != 2 && yearLen != 4) return std::nullopt;
        numbers.clear();
        std::size_t pos = 0;
        for (Field f : form.order) {
            const std::size_t len = f == Field::Year ? yearLen : 2;
            numbers.push_back(digits.substr(pos, len));
            pos += len;
        }
    }
    int day = 1, month = 0, year = 0;
    std::size_t next = 0;
    for (Field f : form.order) {
        if (f == Field::Month && namedMonth) {
            month = *namedMonth;
            continue;
        }
        if (next >= numbers.size()) return std::nullopt;
        const std::string &n = numbers[next++];
        if (n.size() > 4) return std::nullopt;
        const int v = std::stoi(n);
        if (f == Field::Day) {
            if (n.size() > 2) return std::nullopt;
            day = v;
        } else if (f == Field::Month) {
            if (n.size() > 2) return std::nullopt;
            month = v;
        } else if (n.size() <= 2) {
            year = expandYear(v);
        } else if (n.size() == 4) {
            year = v;
        } else {
            return std::nullopt;
        }
    }
    if (next != numbers.size()) return std::nullopt;
    return dateNumber(year, month, day);
}

std::optional<PictureValue> parseDate(std::string_view text, const Picture &p)
{
    text = trimBoth(text);
    if (text.empty()) return PictureValue{std::int64_t{0}};
    std::optional<std::int64_t> day;
    if (p.form <= 16) {
        day = parseDateFields(text, dateForm(p.form));
    } else {
        const auto &fmt = p.form == 17 ? systemFormats().shortDate : systemFormats().longDate;
        const bool fullYear = fmt.find("yyyy") != std::string::npos;
        const QDate qd =
            QDate::fromString(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                              QString::fromStdString(fmt));
        if (qd.isValid())
            day = dateNumber(fullYear ? qd.year() : expandYear(qd.year() % 100), qd.month(),
                             qd.day());
        else
            day = parseDateFields(text, orderOfQtFormat(fmt));
    }
    if (!day) return std::nullopt;
    return PictureValue{*day};
}

// ---------------------------------------------------------------- times

std::string formatTime(std::int64_t value, const Picture &p)
{
    if (value == 0 && p.blankWhenZero) return {};
    if (value < 0 || value > kLastTime) return overflow(8);
    const std::int64_t cs = value == 0 ? 0 : value - 1;
    const int h = static_cast<int>(cs / 360000);
    const int m = static_cast<int>(cs / 6000 % 60);
    const int s = static_cast<int>(cs / 100 % 60);
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    const std::string ampm = h < 12 ? "AM" : "PM";
    switch (p.form) {
    case 1:
        return twoDigits(h) + ":" + twoDigits(m);
    case 2:
        return twoDigits(h) + twoDigits(m);
    case 3:
        return std::to_string(h12) + ":" + twoDigits(m) + ampm;
    case 4:
        return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(s);
    case 5:
        return twoDigits(h) + twoDigits(m) + twoDigits(s);
    case 6:
        return std::to_string(h12) + ":" + twoDigits(m) + ":" + twoDigits(s) + ampm;
    default: {
        const auto &fmt = p.form == 7 ? systemFormats().shortTime : systemFormats().longTime;
        return QTime(h, m, s).toString(QString::fromStdString(fmt)).toStdString();
    }
    }
}

std::optional<PictureValue> parseTime(std::string_view text, const Picture &)
{
    text = trimBoth(text);
    if (text.empty()) return PictureValue{std::int64_t{0}};
    // An AM/PM suffix turns a 12-hour reading into the 24-hour one.
    int half = -1; // -1 none, 0 AM, 1 PM
    if (text.size() >= 2) {
        const char a =
            static_cast<char>(std::toupper(static_cast<unsigned char>(text[text.size() - 2])));
        const char b = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
        if ((a == 'A' || a == 'P') && b == 'M') {
            half = a == 'P';
            text = trimBoth(text.substr(0, text.size() - 2));
        }
    }
    std::vector<std::string> parts;
    if (text.find(':') != std::string_view::npos) {
        std::size_t start = 0;
        while (true) {
            const std::size_t colon = text.find(':', start);
            parts.emplace_back(trimBoth(text.substr(start, colon - start)));
            if (colon == std::string_view::npos) break;
            start = colon + 1;
        }
    } else if (text.size() == 4 || text.size() == 6) {
        for (std::size_t i = 0; i < text.size(); i += 2)
            parts.emplace_back(text.substr(i, 2));
    } else {
        parts.emplace_back(text);
    }
    if (parts.size() > 3) return std::nullopt;
    int fields[3] = {0, 0, 0};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string &part = parts[i];
        if (part.empty() || part.size() > 2) return std::nullopt;
        for (char c : part)
            if (!isDigit(c)) return std::nullopt;
        fields[i] = std::stoi(part);
    }
    int hours = fields[0];
    if (half >= 0) {
        if (hours < 1 || hours > 12) return std::nullopt;
        hours = hours % 12 + 12 * half;
    }
    const auto value = timeValue(hours, fields[1], fields[2]);
    if (!value) return std::nullopt;
    return PictureValue{*value};
}

} // namespace

// ---------------------------------------------------------------- public

std::optional<std::int64_t> dateNumber(int year, int month, int day)
{
    if (year < 1801 || year > 9999 || !QDate::isValid(year, month, day)) return std::nullopt;
    return QDate(year, month, day).toJulianDay() - kEpoch;
}

std::optional<CalendarDate> calendarDate(std::int64_t dayNumber)
{
    if (dayNumber < kFirstDate || dayNumber > kLastDate) return std::nullopt;
    const QDate date = QDate::fromJulianDay(dayNumber + kEpoch);
    return CalendarDate{date.year(), date.month(), date.day()};
}

std::optional<std::int64_t> timeValue(int hours, int minutes, int seconds, int hundredths)
{
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0 || hundredths > 99)
        return std::nullopt;
    return std::int64_t{hours} * 360000 + minutes * 6000 + seconds * 100 + hundredths + 1;
}

const SystemFormats &systemFormats()
{
    if (!gSystemFormats) gSystemFormats = localeFormats();
    return *gSystemFormats;
}

void setSystemFormats(const SystemFormats &formats)
{
    gSystemFormats = formats;
}

std::optional<Picture> Picture::fromString(std::string_view text)
{
    if (!text.empty() && text.front() == '@') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    Picture p;
    std::size_t i = 1;
    auto number = [&](int &out) {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]) && i - start < 4)
            out = out * 10 + (text[i++] - '0');
        return i > start;
    };
    auto optionalB = [&] {
        if (i < text.size() && (text[i] == 'B' || text[i] == 'b')) {
            p.blankWhenZero = true;
            ++i;
        }
    };
    switch (text.front()) {
    case 's':
    case 'S':
        p.kind = PictureKind::Text;
        if (!number(p.width) || p.width < 1) return std::nullopt;
        break;
    case 'n':
    case 'N':
        p.kind = PictureKind::Number;
        // Both spellings group thousands; the letter is kept for toString().
        p.grouping = text.front() == 'N';
        if (i < text.size() && text[i] == '$') {
            p.currency = true;
            ++i;
        }
        if (i < text.size() && text[i] == '-') { // a leading minus
            p.takesNegative = true;
            ++i;
        }
        if (!number(p.width) || p.width < 1) return std::nullopt;
        if (i < text.size() && text[i] == '.') {
            ++i;
            if (!number(p.decimals) || p.decimals > 2) return std::nullopt;
        }
        if (i < text.size() && text[i] == '-') {
            p.sign = SignStyle::Trailing;
            p.takesNegative = true;
            ++i;
        }
        optionalB();
        break;
    case 'd':
    case 'D':
        p.kind = PictureKind::Date;
        if (!number(p.form) || p.form < 1 || p.form > 18) return std::nullopt;
        optionalB();
        break;
    case 't':
    case 'T':
        p.kind = PictureKind::Time;
        if (!number(p.form) || p.form < 1 || p.form > 8) return std::nullopt;
        optionalB();
        break;
    default:
        return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return p;
}

Picture Picture::of(std::string_view text)
{
    auto p = fromString(text);
    if (!p) throw std::invalid_argument("unknown picture: " + std::string(text));
    return *p;
}

std::string Picture::toString() const
{
    const std::string b = blankWhenZero ? "B" : "";
    switch (kind) {
    case PictureKind::Text:
        return "s" + std::to_string(width);
    case PictureKind::Number: {
        std::string s = grouping ? "N" : "n";
        if (currency) s += '$';
        if (takesNegative && sign == SignStyle::Leading) s += '-';
        s += std::to_string(width);
        if (decimals > 0) s += "." + std::to_string(decimals);
        if (sign == SignStyle::Trailing) s += '-';
        return s + b;
    }
    case PictureKind::Date:
        return "D" + std::to_string(form) + b;
    case PictureKind::Time:
        return "T" + std::to_string(form) + b;
    }
    return {};
}

std::string format(const PictureValue &value, const Picture &picture)
{
    switch (picture.kind) {
    case PictureKind::Text: {
        std::string text;
        if (auto s = std::get_if<std::string>(&value))
            text = *s;
        else if (auto i = std::get_if<std::int64_t>(&value))
            text = std::to_string(*i);
        else
            text = formatCents(std::get<Hundredths>(value).cents);
        return std::string(trimRight(utf8Prefix(text, static_cast<std::size_t>(picture.width))));
    }
    case PictureKind::Number:
        return formatNumber(value, picture);
    case PictureKind::Date: {
        const std::int64_t day = wholeOf(value);
        return day == 0 && picture.blankWhenZero ? std::string() : formatDate(day, picture);
    }
    case PictureKind::Time:
        return formatTime(wholeOf(value), picture);
    }
    return {};
}

std::string format(const PictureValue &value, std::string_view picture)
{
    return format(value, Picture::of(picture));
}

std::optional<PictureValue> parse(std::string_view text, const Picture &picture)
{
    switch (picture.kind) {
    case PictureKind::Text: {
        const std::string_view kept = trimRight(text);
        if (utf8Length(kept) > static_cast<std::size_t>(picture.width)) return std::nullopt;
        return PictureValue{std::string(kept)};
    }
    case PictureKind::Number:
        return parseNumber(text, picture);
    case PictureKind::Date:
        return parseDate(text, picture);
    case PictureKind::Time:
        return parseTime(text, picture);
    }
    return std::nullopt;
}

std::optional<PictureValue> parse(std::string_view text, std::string_view picture)
{
    return parse(text, Picture::of(picture));
}

} // namespace hk
