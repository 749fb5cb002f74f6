#include "collection/csvreader.h"

namespace hk
{

namespace
{
constexpr qint64 kChunk = 1 << 16;
// No record of a collection comes near these; a file beyond them is not one,
// and reading on would hold ever more of it.
constexpr std::size_t kMaxField = 1 << 16;
constexpr std::size_t kMaxFields = 1000;
} // namespace

CsvReader::CsvReader(QIODevice &in) : in_(in) {}

bool CsvReader::fill()
{
    if (atEnd_) return false;
    chunk_.resize(kChunk);
    const qint64 n = in_.read(chunk_.data(), kChunk);
    if (n < 0) error_ = in_.errorString().toStdString();
    if (n <= 0) {
        chunk_.clear();
        atEnd_ = true;
        return false;
    }
    chunk_.resize(std::size_t(n));
    pos_ = 0;
    if (!started_) {
        started_ = true;
        // A byte order mark is no part of the first field.
        if (chunk_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    }
    return pos_ < chunk_.size() || fill();
}

int CsvReader::peek()
{
    if (pos_ >= chunk_.size() && !fill()) return -1;
    return static_cast<unsigned char>(chunk_[pos_]);
}

int CsvReader::get()
{
    const int c = peek();
    if (c >= 0) ++pos_;
    return c;
}

void CsvReader::endOfLine(int c)
{
    if (c == '\r' && peek() == '\n') ++pos_;
    ++line_;
}

bool CsvReader::next(std::vector<std::string> &fields)
{
    fields.clear();
    if (!error_.empty()) return false;
    int c = get();
    while (c == '\r' || c == '\n') { // blank lines
        endOfLine(c);
        c = get();
    }
    if (c < 0) return false;
    recordLine_ = line_;
    for (;;) {
        if (fields.size() == kMaxFields) {
            error_ = "the record on line " + std::to_string(recordLine_) + " has too many fields";
            return false;
        }
        std::string &value = fields.emplace_back();
        if (c == '"') {
            for (;;) {
                c = get();
                if (c < 0) {
                    error_ = "a quoted field begun on line " + std::to_string(recordLine_) +
                             " is not closed";
                    return false;
                }
                if (c == '"') {
                    if (peek() != '"') break;
                    ++pos_;
                } else if (c == '\r' || c == '\n') {
                    // Kept as written; CR LF stays two characters of the value.
                    if (c == '\r' && peek() == '\n') {
                        value += '\r';
                        c = get();
                    }
                    ++line_;
                }
                value += char(c);
                if (value.size() > kMaxField) break;
            }
            if (value.size() > kMaxField) {
                error_ = "a field on line " + std::to_string(recordLine_) + " is too long";
                return false;
            }
            c = get();
            if (c >= 0 && c != ',' && c != '\r' && c != '\n') {
                error_ = "text follows a closing quote on line " + std::to_string(line_);
                return false;
            }
        } else {
            while (c >= 0 && c != ',' && c != '\r' && c != '\n') {
                value += char(c);
                c = get();
                if (value.size() > kMaxField) {
                    error_ = "a field on line " + std::to_string(recordLine_) + " is too long";
                    return false;
                }
            }
        }
        if (c == ',') {
            c = get();
            continue;
        }
        if (c == '\r' || c == '\n') endOfLine(c);
        return true;
    }
}

bool validUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int more = 0;
        char32_t cp = b;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            more = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + std::size_t(more) >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto n = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((n & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (n & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not text.
        static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += std::size_t(more) + 1;
    }
    return true;
}

} // namespace hk
