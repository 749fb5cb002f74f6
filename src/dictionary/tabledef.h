// How the dictionary describes a table: its fields in record order, its keys
// and its relations. Every other description (the SQL schema, indexes, record
// copy and compare, key positions) is derived from these.
#pragma once

#include "dictionary/types.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hk
{

enum class FieldType { Long, Short, Byte, String, Decimal };

// Width of a field in the packed record layout.
int packedWidth(FieldType type, int size);

struct FieldDef {
    std::string label;  // as the dictionary stores it, e.g. "BOK:BOOKTITLE"
    std::string column; // the C++ member and SQL column, e.g. "BookTitle"
    FieldType type;
    int size;           // characters for String, bytes for Decimal, else the width
    std::size_t member; // offset of the member in the record struct
    int offset = 0;     // offset in the packed record layout

    int width() const { return packedWidth(type, size); }
    bool isText() const { return type == FieldType::String; }
};

// The values a numeric field takes: its type's range, or for a decimal the
// hundredths within its digits. The one rule the schema's checks, the forms'
// entries, the import and the running totals all apply. A text field takes
// no number: {0, 0}.
struct ValueRange {
    std::int64_t least = 0;
    std::int64_t most = 0;
    bool holds(std::int64_t value) const { return value >= least && value <= most; }
};
ValueRange valueRange(const FieldDef &f);

enum class KeyKind { Primary, Unique, Dup };

struct KeyDef {
    std::string label; // e.g. "Bok:DisplayByTitle"
    KeyKind kind;
    std::vector<int> components; // field indexes, in key order
    bool ignoreCase = true;      // every key compares text without regard to case

    bool unique() const { return kind != KeyKind::Dup; }
};

enum class TableId : int {
    MagName,
    Books,
    MagCategory,
    MagArticle,
    MagYear,
    MagIssue,
    BookCategory,
    ItemsRooms,
    Items,
    Music,
    Video,
    SoftWare,
    HearthkpValue,
    MusicNumber,
    VideoNumber
};
constexpr int TableCount = 15;

// Names one key of one table; the record structs carry these as static
// members, so `Bok.DisplayByTitle` names the key `Bok:DisplayByTitle`.
struct KeyId {
    TableId table;
    int index;
    friend constexpr bool operator==(KeyId, KeyId) = default;
};

struct TableDef {
    TableId id;
    std::string label;  // "Books"
    std::string prefix; // "Bok"
    std::vector<FieldDef> fields;
    std::vector<KeyDef> keys;
    std::size_t recordSize; // sizeof the record struct
    void (*clear)(void *record);
    void (*copy)(void *to, const void *from);
    // Text fields searched for any part of their text: each has a substring
    // index kept in step with the table.
    std::vector<int> searched{};
    // The children of each parent counted, and one of their fields added up,
    // by the file itself: rows grouped by field `by` (-1: nothing kept),
    // field `summed` added up (-1: counted only).
    struct PerParent {
        int by = -1;
        int summed = -1;
    };
    PerParent perParent{};

    int recordLength() const;                     // packed bytes
    int fieldIndex(std::string_view label) const; // by label, case-insensitive; -1 if none
    int keyIndex(std::string_view label) const;   // -1 if none
    bool hasIdentifier() const { return !keys.empty() && keys[0].kind == KeyKind::Primary; }
    std::string storedName() const { return "Hearthkp\\!" + label; }
};

// One-to-many relation from a parent's identifier to a child's reference field.
struct RelationDef {
    TableId parent;
    int parentField; // the parent's identifier
    TableId child;
    int childField; // the child's reference field
    KeyId childKey; // the child's key that begins with the reference field
};

// Typed access to the fields of a record, whatever its struct.
namespace field
{
std::int64_t integer(const FieldDef &f, const void *record); // Long, Short, Byte, Decimal (cents)
void setInteger(const FieldDef &f, void *record, std::int64_t value);
std::string_view text(const FieldDef &f, const void *record);
void setText(const FieldDef &f, void *record, std::string_view value);
bool equal(const FieldDef &f, const void *a, const void *b);
} // namespace field

} // namespace hk
