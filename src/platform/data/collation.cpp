#include "platform/data/collation.h"

#include "dictionary/utf8.h"
#include "platform/data/searchwriter.h"
#include "platform/data/sqliteapi.h"

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

int compareBytes(const unsigned char *a, const unsigned char *aEnd, const unsigned char *b,
                 const unsigned char *bEnd)
{
    while (a < aEnd && b < bEnd) {
        char32_t ca, cb;
        if (*a < 0x80 && *b < 0x80) {
            ca = *a++;
            cb = *b++;
            if (ca == cb) continue;
            ca = foldCase(ca);
            cb = foldCase(cb);
        } else {
            ca = foldCase(nextCodePoint(a, aEnd));
            cb = foldCase(nextCodePoint(b, bEnd));
        }
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a < aEnd) return 1;
    if (b < bEnd) return -1;
    return 0;
}

int collate(void *, int aLen, const void *a, int bLen, const void *b)
{
    auto *pa = static_cast<const unsigned char *>(a);
    auto *pb = static_cast<const unsigned char *>(b);
    return compareBytes(pa, pa + aLen, pb, pb + bLen);
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
