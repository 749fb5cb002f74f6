#include "platform/data/collation.h"

#include "dictionary/utf8.h"
#include "platform/data/searchwriter.h"
#include "platform/data/sqliteapi.h"

#include <algorithm>
#include <cstdint>

namespace hk
{

char32_t foldCase(char32_t c)
{
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c <= 0x137 || (c >= 0x14A && c <= 0x177))
            return (c & 1) ? c - 1 : c; // upper case at even code points
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c & 1) ? c : c - 1; // upper case at odd code points
        return c;
    }
    if (c >= 0x3AC && c <= 0x3CE) { // Greek
        if (c == 0x3AC) return 0x386;
        if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
        if (c == 0x3C2) return 0x3A3;
        if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
        if (c == 0x3CC) return 0x38C;
        if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
        return c;
    }
    if (c >= 0x430 && c <= 0x44F) // Cyrillic
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

namespace
{

// Every letter of Latin-1 and Latin Extended-A, either case, with the base
// capitals it orders as in the first pass. Ð and ð go with D, Þ and þ as TH,
// ĸ with K, ŉ with N, the ordinal indicators ª and º with A and O.
struct BaseGroup {
    const char32_t *base;
    const char32_t *letters;
};
constexpr BaseGroup kBaseGroups[] = {
    {U"A", U"ÀÁÂÃÄÅàáâãäåĀāĂăĄąª"},
    {U"AE", U"Ææ"},
    {U"C", U"ÇçĆćĈĉĊċČč"},
    {U"D", U"ÐðĎďĐđ"},
    {U"E", U"ÈÉÊËèéêëĒēĔĕĖėĘęĚě"},
    {U"G", U"ĜĝĞğĠġĢģ"},
    {U"H", U"ĤĥĦħ"},
    {U"I", U"ÌÍÎÏìíîïĨĩĪīĬĭĮįİı"},
    {U"IJ", U"Ĳĳ"},
    {U"J", U"Ĵĵ"},
    {U"K", U"Ķķĸ"},
    {U"L", U"ĹĺĻļĽľĿŀŁł"},
    {U"N", U"ÑñŃńŅņŇňŉŊŋ"},
    {U"O", U"ÒÓÔÕÖØòóôõöøŌōŎŏŐőº"},
    {U"OE", U"Œœ"},
    {U"R", U"ŔŕŖŗŘř"},
    {U"S", U"ŚśŜŝŞşŠšſ"},
    {U"SS", U"ß"},
    {U"T", U"ŢţŤťŦŧ"},
    {U"TH", U"Þþ"},
    {U"U", U"ÙÚÛÜùúûüŨũŪūŬŭŮůŰűŲų"},
    {U"W", U"Ŵŵ"},
    {U"Y", U"ÝýÿŶŷŸ"},
    {U"Z", U"ŹźŻżŽž"},
};

// Below this code point the first pass is one table look-up: the base
// capitals packed as first | second << 8, 0 for a character that is its
// own (no letter, no case).
constexpr char32_t kTableEnd = 0x180;
constexpr auto kBaseTable = [] {
    std::array<std::uint16_t, kTableEnd> table{};
    for (char32_t c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<std::uint16_t>(c - 0x20);
        table[c - 0x20] = static_cast<std::uint16_t>(c - 0x20);
    }
    for (const BaseGroup &g : kBaseGroups) {
        const auto packed = static_cast<std::uint16_t>(g.base[0] | (g.base[1] << 8));
        for (const char32_t *l = g.letters; *l; ++l)
            table[*l] = packed;
    }
    return table;
}();

// The base capital of c, and in `second` the one that follows it (ß: S
// then S), left alone when there is none.
inline char32_t baseOf(char32_t c, char32_t &second)
{
    if (c < kTableEnd) {
        const std::uint16_t e = kBaseTable[c];
        if (e == 0) return c;
        if (e > 0xFF) second = e >> 8;
        return e & 0xFF;
    }
    c = foldCase(c);
    switch (c) { // Greek capitals with tonos or dialytika
    case 0x386:
        return 0x391;
    case 0x388:
        return 0x395;
    case 0x389:
        return 0x397;
    case 0x38A:
    case 0x390:
    case 0x3AA:
        return 0x399;
    case 0x38C:
        return 0x39F;
    case 0x38E:
    case 0x3AB:
    case 0x3B0:
        return 0x3A5;
    case 0x38F:
        return 0x3A9;
    default:
        return c;
    }
}

// The first pass, its units read one at a time: a letter that orders as
// two capitals gives the second on the next read.
struct BaseReader {
    const unsigned char *p, *end;
    char32_t pending = 0;
    bool done() const { return p >= end && !pending; }
    char32_t next()
    {
        if (pending) {
            const char32_t c = pending;
            pending = 0;
            return c;
        }
        return baseOf(nextCodePoint(p, end), pending);
    }
};

inline char32_t asciiUpper(char32_t c)
{
    return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
}

// The first pass from where the texts part at a character beyond ASCII.
int compareBaseFrom(const unsigned char *a, const unsigned char *aEnd, const unsigned char *b,
                    const unsigned char *bEnd)
{
    BaseReader x{a, aEnd}, y{b, bEnd};
    for (;;) {
        while (x.p < x.end && y.p < y.end && !x.pending && !y.pending && (*x.p | *y.p) < 0x80) {
            const char32_t ca = *x.p++, cb = *y.p++;
            if (ca == cb) continue;
            const char32_t ua = asciiUpper(ca), ub = asciiUpper(cb);
            if (ua != ub) return ua < ub ? -1 : 1;
        }
        if (x.done() || y.done()) return x.done() ? (y.done() ? 0 : -1) : 1;
        const char32_t ua = x.next(), ub = y.next();
        if (ua != ub) return ua < ub ? -1 : 1;
    }
}

// Case-blind code points, each weighed by `weight`, compared in turn.
template <char32_t (*weight)(char32_t)>
int compareFolded(const unsigned char *a, const unsigned char *aEnd, const unsigned char *b,
                  const unsigned char *bEnd)
{
    while (a < aEnd && b < bEnd) {
        char32_t ca, cb;
        if (*a < 0x80 && *b < 0x80) {
            ca = *a++;
            cb = *b++;
            if (ca == cb) continue;
            ca = asciiUpper(ca);
            cb = asciiUpper(cb);
        } else {
            ca = weight(nextCodePoint(a, aEnd));
            cb = weight(nextCodePoint(b, bEnd));
        }
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a < aEnd) return 1;
    if (b < bEnd) return -1;
    return 0;
}

// The rule HKCASE1: the folded code point.
char32_t folded(char32_t c)
{
    return foldCase(c);
}

// The second pass: a character that the first pass reads as itself keeps its
// folded code point; an accented letter (or one read as two) comes after
// every such character, so that the base form sorts first ("Strasse" before
// "Straße", "Α" before "Ά"). One weight per folded character: texts equal
// here are equal case-blind.
char32_t accentWeight(char32_t c)
{
    char32_t second = 0;
    const char32_t f = foldCase(c);
    return baseOf(c, second) == f && !second ? f : 0x110000 + f;
}

int compareBytes(const unsigned char *a, const unsigned char *aEnd, const unsigned char *b,
                 const unsigned char *bEnd)
{
    // Plain ASCII, the usual case, goes byte by byte, and so do bytes alike
    // (neighbours in an index often share their start): they decide nothing
    // in either pass.
    const unsigned char *start = a;
    while (a < aEnd && b < bEnd) {
        const char32_t ca = *a, cb = *b;
        if (ca == cb) {
            ++a;
            ++b;
            continue;
        }
        if ((ca | cb) >= 0x80) {
            // Both passes from the start of the character where they part.
            while (a > start && (*a & 0xC0) == 0x80) {
                --a;
                --b;
            }
            const int r = compareBaseFrom(a, aEnd, b, bEnd);
            return r != 0 ? r : compareFolded<accentWeight>(a, aEnd, b, bEnd);
        }
        ++a;
        ++b;
        const char32_t ua = asciiUpper(ca), ub = asciiUpper(cb);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    // Texts that differ in letter case alone are equal in both passes.
    return a < aEnd ? 1 : b < bEnd ? -1 : 0;
}

int collate(void *, int aLen, const void *a, int bLen, const void *b)
{
    auto *pa = static_cast<const unsigned char *>(a);
    auto *pb = static_cast<const unsigned char *>(b);
    return compareBytes(pa, pa + aLen, pb, pb + bLen);
}

int collateFolded(void *, int aLen, const void *a, int bLen, const void *b)
{
    auto *pa = static_cast<const unsigned char *>(a);
    auto *pb = static_cast<const unsigned char *>(b);
    return compareFolded<folded>(pa, pa + aLen, pb, pb + bLen);
}

void foldFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    std::string folded = foldText({text, static_cast<std::size_t>(sqlite3_value_bytes(argv[0]))});
    sqlite3_result_text(ctx, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

// Folds the text's code points into out (cleared first).
void foldInto(const unsigned char *p, const unsigned char *end, std::u32string &out)
{
    out.clear();
    while (p < end) {
        if (*p < 0x80) {
            const char32_t c = *p++;
            out += (c >= 'a' && c <= 'z') ? c - 0x20 : c;
        } else {
            out += foldCase(nextCodePoint(p, end));
        }
    }
}

// hk_has(text, needle): 1 when the text contains the needle with letter case
// ignored, the needle being given folded. Unlike instr(hk_fold(text), ?) it
// makes no text of its own for every record it tests: a search that walks
// the whole table costs the test alone.
void hasFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    // The needle decoded once for the statement, and a buffer for the texts.
    struct Search {
        std::u32string needle, text;
    };
    auto *search = static_cast<Search *>(sqlite3_get_auxdata(ctx, 1));
    if (!search) {
        search = new Search;
        auto *n = sqlite3_value_text(argv[1]);
        foldInto(n, n + sqlite3_value_bytes(argv[1]), search->needle);
        sqlite3_set_auxdata(ctx, 1, search, [](void *s) { delete static_cast<Search *>(s); });
        search = static_cast<Search *>(sqlite3_get_auxdata(ctx, 1));
        if (!search) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
    }
    auto *t = sqlite3_value_text(argv[0]);
    foldInto(t, t + sqlite3_value_bytes(argv[0]), search->text);
    sqlite3_result_int(ctx, search->text.find(search->needle) != std::u32string::npos);
}

} // namespace

int compareKeyText(std::string_view a, std::string_view b)
{
    auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    return compareBytes(pa, pa + a.size(), pb, pb + b.size());
}

int compareFoldedText(std::string_view a, std::string_view b)
{
    auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    return compareFolded<folded>(pa, pa + a.size(), pb, pb + b.size());
}

std::u32string baseLetters(std::string_view text)
{
    std::u32string out;
    auto *p = reinterpret_cast<const unsigned char *>(text.data());
    for (BaseReader r{p, p + text.size()}; !r.done();)
        out += r.next();
    return out;
}

std::string foldText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    auto *p = reinterpret_cast<const unsigned char *>(text.data());
    auto *end = p + text.size();
    while (p < end)
        appendUtf8(foldCase(nextCodePoint(p, end)), out);
    return out;
}

int registerKeyCollation(sqlite3 *db)
{
    int rc = sqlite3_create_collation(db, kCollationName, SQLITE_UTF8, nullptr, collate);
    for (const char *older : kOlderCollationNames)
        if (rc == SQLITE_OK)
            rc = sqlite3_create_collation(db, older, SQLITE_UTF8, nullptr, collateFolded);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "hk_fold", 1,
                                     SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                     foldFunction, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "hk_has", 2,
                                     SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                     hasFunction, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = registerSearchWriters(db);
    return rc;
}

} // namespace hk
