#include "dictionary/tabledef.h"

#include <cassert>
#include <cstring>
#include <limits>
#include <strings.h>

namespace hk
{

int packedWidth(FieldType type, int size)
{
    switch (type) {
    case FieldType::Long:
        return 4;
    case FieldType::Short:
        return 2;
    case FieldType::Byte:
        return 1;
    case FieldType::String:
    case FieldType::Decimal:
        return size;
    }
    return 0;
}

ValueRange valueRange(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::Long:
        return {std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()};
    case FieldType::Short:
        return {std::numeric_limits<Short>::min(), std::numeric_limits<Short>::max()};
    case FieldType::Byte:
        return {std::numeric_limits<Byte>::min(), std::numeric_limits<Byte>::max()};
    case FieldType::Decimal:
        return {-decimalMostCents(f.size), decimalMostCents(f.size)};
    case FieldType::String:
        break;
    }
    return {};
}

int TableDef::recordLength() const
{
    int n = 0;
    for (const auto &f : fields)
        n += f.width();
    return n;
}

static bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

int TableDef::fieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (sameName(fields[i].label, name)) return static_cast<int>(i);
    return -1;
}

int TableDef::keyIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (sameName(keys[i].label, name)) return static_cast<int>(i);
    return -1;
}

namespace field
{

// String<N> is laid out as a 16-bit byte length followed by its bytes.
static const char *textBytes(const FieldDef &f, const void *record, std::uint16_t &len)
{
    const char *p = static_cast<const char *>(record) + f.member;
    std::memcpy(&len, p, sizeof len);
    return p + sizeof len;
}

std::int64_t integer(const FieldDef &f, const void *record)
{
    const char *p = static_cast<const char *>(record) + f.member;
    switch (f.type) {
    case FieldType::Long: {
        Long v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case FieldType::Short: {
        Short v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case FieldType::Byte:
        return static_cast<Byte>(*p);
    case FieldType::Decimal: {
        std::int64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case FieldType::String:
        break;
    }
    assert(false && "not a numeric field");
    return 0;
}

void setInteger(const FieldDef &f, void *record, std::int64_t value)
{
    char *p = static_cast<char *>(record) + f.member;
    switch (f.type) {
    case FieldType::Long: {
        Long v = static_cast<Long>(value);
        std::memcpy(p, &v, sizeof v);
        return;
    }
    case FieldType::Short: {
        Short v = static_cast<Short>(value);
        std::memcpy(p, &v, sizeof v);
        return;
    }
    case FieldType::Byte:
        *p = static_cast<char>(static_cast<Byte>(value));
        return;
    case FieldType::Decimal: {
        // Values come from the data file, whose schema already holds them to
        // the field's digits.
        assert(valueRange(f).holds(value));
        std::memcpy(p, &value, sizeof value);
        return;
    }
    case FieldType::String:
        break;
    }
    assert(false && "not a numeric field");
}

std::string_view text(const FieldDef &f, const void *record)
{
    assert(f.isText());
    std::uint16_t len;
    const char *bytes = textBytes(f, record, len);
    return {bytes, len};
}

void setText(const FieldDef &f, void *record, std::string_view value)
{
    assert(f.isText());
    char *p = static_cast<char *>(record) + f.member;
    std::uint16_t len;
    detail::assignText(p + sizeof len, len, static_cast<std::size_t>(f.size), value);
    std::memcpy(p, &len, sizeof len);
}

bool equal(const FieldDef &f, const void *a, const void *b)
{
    return f.isText() ? text(f, a) == text(f, b) : integer(f, a) == integer(f, b);
}

} // namespace field
} // namespace hk
