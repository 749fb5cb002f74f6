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

} // namespace hk
