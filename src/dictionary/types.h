// Scalar field types of the record buffers.
//
// Long, Short and Byte are plain integers. String<N> holds at most N characters
// (UTF-8, a character being a code point), drops trailing blanks on assignment
// and so compares without them. Decimal<B> holds an exact amount in hundredths
// with the 2B-1 digits of a B-byte packed decimal and refuses anything larger.
// Both are standard-layout, so the dictionary reaches every field of a record
// generically by its offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hk
{

using Long = std::int32_t;
using Short = std::int16_t;
using Byte = std::uint8_t;

// text without trailing blanks.
std::string_view trimRight(std::string_view text);

namespace detail
{
// Stores text cut to `width` characters, without trailing blanks, into a
// buffer of 4*width bytes; `len` receives its byte length.
void assignText(char *data, std::uint16_t &len, std::size_t width, std::string_view text);
} // namespace detail

template <std::size_t N> class String
{
  public:
    static constexpr std::size_t width = N;

    String() = default;
    explicit String(std::string_view text) { assign(text); }
    explicit String(const char *text) { assign(text); }
    String &operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    String &operator=(const char *text)
    {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) { detail::assignText(data_, len_, N, text); }
    void clear() { len_ = 0; }
    std::string_view view() const { return {data_, len_}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return len_ == 0; }

    friend bool operator==(const String &a, const String &b) { return a.view() == b.view(); }
    friend bool operator==(const String &a, std::string_view b) { return a.view() == trimRight(b); }

  private:
    std::uint16_t len_ = 0; // bytes used in data_
    char data_[4 * N] = {};
};

constexpr std::int64_t pow10(int n)
{
    return n <= 0 ? 1 : 10 * pow10(n - 1);
}

// The largest amount, in hundredths, that a packed decimal of `bytes` holds:
// its 2*bytes-1 digits all nines.
constexpr std::int64_t decimalMostCents(int bytes)
{
    return pow10(2 * bytes - 1) - 1;
}

// Parses "-1234.5", "12", ".25" into hundredths, rounding a third decimal
// half away from zero. Empty or malformed text gives nothing.
std::optional<std::int64_t> parseCents(std::string_view text);
// "1234.50", "-0.05".
std::string formatCents(std::int64_t cents);

template <int B> class Decimal
{
  public:
    static constexpr int bytes = B;
    static constexpr int digits = 2 * B - 1;
    static constexpr std::int64_t maxCents = decimalMostCents(B);

    constexpr Decimal() = default;

    static constexpr bool fits(std::int64_t cents)
    {
        return cents >= -maxCents && cents <= maxCents;
    }
    static std::optional<Decimal> fromCents(std::int64_t cents)
    {
        if (!fits(cents)) return std::nullopt;
        Decimal d;
        d.cents_ = cents;
        return d;
    }
    static std::optional<Decimal> parse(std::string_view text)
    {
        auto c = parseCents(text);
        return c ? fromCents(*c) : std::nullopt;
    }

    // Each returns false, leaving the value as it was, when the result would
    // not fit.
    bool setCents(std::int64_t cents)
    {
        if (!fits(cents)) return false;
        cents_ = cents;
        return true;
    }
    template <int C> bool add(const Decimal<C> &other) { return setCents(cents_ + other.cents()); }
    template <int C> bool subtract(const Decimal<C> &other)
    {
        return setCents(cents_ - other.cents());
    }

    constexpr std::int64_t cents() const { return cents_; }
    std::string text() const { return formatCents(cents_); }
    void clear() { cents_ = 0; }

    friend constexpr bool operator==(const Decimal &, const Decimal &) = default;
    friend constexpr auto operator<=>(const Decimal &, const Decimal &) = default;

  private:
    std::int64_t cents_ = 0;
};

} // namespace hk
