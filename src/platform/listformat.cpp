#include "platform/listformat.h"

#include <stdexcept>

namespace hk
{

namespace
{

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<ColumnAlign> alignOf(char c)
{
    switch (c) {
    case 'L':
        return ColumnAlign::Left;
    case 'R':
        return ColumnAlign::Right;
    case 'C':
        return ColumnAlign::Center;
    case 'D':
        return ColumnAlign::Decimal;
    default:
        return std::nullopt;
    }
}

char letterOf(ColumnAlign a)
{
    switch (a) {
    case ColumnAlign::Left:
        return 'L';
    case ColumnAlign::Right:
        return 'R';
    case ColumnAlign::Center:
        return 'C';
    case ColumnAlign::Decimal:
        return 'D';
    }
    return 'L';
}

class Reader
{
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<ListFormat> read()
    {
        ListFormat format;
        int nextField = 1;
        if (text_.empty()) return fail("a list format needs at least one column");
        while (pos_ < text_.size()) {
            ListColumn column;
            if (!readColumn(column)) return std::nullopt;
            if (!column.explicitField) column.field = nextField;
            nextField = column.field + 1 + column.styleField + 4 * column.colourFields +
                        column.iconField + column.treeField + column.tipField;
            format.columns.push_back(std::move(column));
        }
        return format;
    }

    const std::string &error() const { return error_; }

  private:
    std::nullopt_t fail(const std::string &what)
    {
        error_ = "list format, position " + std::to_string(pos_) + ": " + what;
        return std::nullopt;
    }

    bool number(int &out)
    {
        const std::size_t start = pos_;
        out = 0;
        while (pos_ < text_.size() && isDigit(text_[pos_]) && pos_ - start < 6)
            out = out * 10 + (text_[pos_++] - '0');
        return pos_ > start;
    }

    // "(n)" after an alignment letter.
    bool indent(int &out)
    {
        if (pos_ >= text_.size() || text_[pos_] != '(') return true;
        ++pos_;
        if (!number(out) || pos_ >= text_.size() || text_[pos_] != ')') {
            fail("an indent is a number in brackets");
            return false;
        }
        ++pos_;
        return true;
    }

    // The text up to the closing delimiter.
    bool delimited(char delimiter, std::string &out, const char *what)
    {
        const std::size_t end = text_.find(delimiter, pos_ + 1);
        if (end == std::string_view::npos) {
            fail(std::string("unclosed ") + what);
            return false;
        }
        out = std::string(text_.substr(pos_ + 1, end - pos_ - 1));
        pos_ = end + 1;
        return true;
    }

    bool readColumn(ListColumn &c)
    {
        if (!number(c.width)) {
            fail("a column starts with its width");
            return false;
        }
        bool aligned = false;
        bool headerAligned = false;
        bool hasHeader = false;
        bool hasPicture = false;
        while (pos_ < text_.size() && !isDigit(text_[pos_])) {
            const char ch = text_[pos_];
            if (auto a = alignOf(ch)) {
                ++pos_;
                if (hasHeader && !headerAligned && !hasPicture && !c.explicitField) {
                    headerAligned = true;
                    c.headerAlign = *a;
                    if (!indent(c.headerIndent)) return false;
                } else if (!aligned && !hasHeader) {
                    aligned = true;
                    c.align = *a;
                    if (!indent(c.indent)) return false;
                } else {
                    --pos_;
                    fail(std::string("alignment '") + ch + "' out of place");
                    return false;
                }
                continue;
            }
            switch (ch) {
            case '~':
                if (hasHeader) {
                    fail("a second header");
                    return false;
                }
                hasHeader = true;
                if (!delimited('~', c.header, "header")) return false;
                continue;
            case '@': {
                std::string pic;
                const std::size_t at = pos_;
                if (hasPicture || !delimited('@', pic, "picture"))
                    return hasPicture ? (fail("a second picture"), false) : false;
                hasPicture = true;
                c.picture = Picture::fromString(pic);
                if (!c.picture) {
                    pos_ = at;
                    fail("unknown picture '" + pic + "'");
                    return false;
                }
                continue;
            }
            case '#': {
                std::string field;
                const std::size_t at = pos_;
                if (c.explicitField || !delimited('#', field, "field number"))
                    return c.explicitField ? (fail("a second field number"), false) : false;
                int n = 0;
                bool digits = !field.empty() && field.size() < 6;
                for (char d : field)
                    digits = digits && isDigit(d);
                if (digits)
                    for (char d : field)
                        n = n * 10 + (d - '0');
                if (!digits || n < 1) {
                    pos_ = at;
                    fail("a field number is a whole number from 1");
                    return false;
                }
                c.field = n;
                c.explicitField = true;
                continue;
            }
            case '|':
                c.rightBorder = true;
                break;
            case 'M':
                c.resizable = true;
                break;
            case '_':
                c.underline = true;
                break;
            case 'F':
                c.fixed = true;
                break;
            case '/':
                c.lastOnLine = true;
                break;
            case '?':
                c.locator = true;
                break;
            case 'Y':
                c.styleField = true;
                break;
            case '*':
                c.colourFields = true;
                break;
            case 'I':
                c.iconField = true;
                break;
            case 'T':
                c.treeField = true;
                break;
            case 'P':
                c.tipField = true;
                break;
            default:
                fail(std::string("unknown modifier '") + ch + "'");
                return false;
            }
            ++pos_;
        }
        if (!headerAligned) {
            c.headerAlign = c.align;
            c.headerIndent = c.indent;
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

} // namespace

std::optional<ListFormat> ListFormat::parse(std::string_view text, std::string *error)
{
    Reader reader(text);
    auto format = reader.read();
    if (!format && error) *error = reader.error();
    return format;
}

ListFormat ListFormat::of(std::string_view text)
{
    std::string error;
    auto format = parse(text, &error);
    if (!format) throw std::invalid_argument(error);
    return *format;
}

std::string ListFormat::toString() const
{
    std::string out;
    for (const auto &c : columns) {
        out += std::to_string(c.width);
        out += letterOf(c.align);
        out += "(" + std::to_string(c.indent) + ")";
        if (c.rightBorder) out += '|';
        if (c.resizable) out += 'M';
        if (c.underline) out += '_';
        if (c.fixed) out += 'F';
        if (c.lastOnLine) out += '/';
        if (c.locator) out += '?';
        if (c.styleField) out += 'Y';
        if (c.colourFields) out += '*';
        if (c.iconField) out += 'I';
        if (c.treeField) out += 'T';
        if (c.tipField) out += 'P';
        out += "~" + c.header + "~";
        out += letterOf(c.headerAlign);
        out += "(" + std::to_string(c.headerIndent) + ")";
        if (c.picture) out += "@" + c.picture->toString() + "@";
        if (c.explicitField) out += "#" + std::to_string(c.field) + "#";
    }
    return out;
}

int ListFormat::columnOfField(int field) const
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].field == field) return static_cast<int>(i);
    return -1;
}

} // namespace hk
