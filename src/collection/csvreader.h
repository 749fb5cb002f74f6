// Reads CSV (RFC 4180) record by record from a device: fields separated by
// commas, quoted fields holding commas, doubled quotes and line breaks (CR,
// LF or CR LF), UTF-8 text with or without a byte order mark. Only the
// record being read is held, so memory does not grow with the file.
#pragma once

#include <QIODevice>

#include <string>
#include <vector>

namespace hk
{

class CsvReader
{
  public:
    explicit CsvReader(QIODevice &in);

    // The next record's fields; false at the end of the input or when the
    // input cannot be read as CSV (error() then says why). Lines without
    // anything on them are passed over.
    bool next(std::vector<std::string> &fields);
    // The line the record last read begins on, counted from 1.
    long long line() const { return recordLine_; }
    const std::string &error() const { return error_; }

  private:
    int get();  // the next byte, or -1 at the end
    int peek(); // the same without taking it
    bool fill();
    void endOfLine(int c); // counts a line break begun by c (CR LF is one)

    QIODevice &in_;
    std::string chunk_;
    std::size_t pos_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    long long line_ = 1;
    long long recordLine_ = 0;
    std::string error_;
};

} // namespace hk
