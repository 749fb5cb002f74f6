// The key rule: accented letters with their base, the base form first, case
// never counting; a total order; ASCII ordered as the earlier rule ordered
// it; both names registered on a connection.
#include "dictionary/utf8.h"
#include "platform/data/collation.h"
#include "platform/data/connection.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace hk
{
namespace
{

using Texts = std::vector<std::string>;

int sign(int r)
{
    return (r > 0) - (r < 0);
}

std::string utf8(char32_t c)
{
    std::string s;
    appendUtf8(c, s);
    return s;
}

// In key order, each base form before its accented ones.
const Texts kOrdered = {"Adler",  "Aesop",    "Æsop",    "Apfel",   "Äpfel",  "eee",   "Ééé",
                        "Eef",    "Lodz",     "Łódź",    "Øre",     "Ørsted", "Oslo",  "Strasse",
                        "Straße", "Strasser", "Ünïcode", "Unicorn", "Zephyr", "Zürich"};

TEST(Collation, AccentedNamesSortWithTheirBaseLetterAndAfterIt)
{
    Texts shuffled = kOrdered;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    std::sort(shuffled.begin(), shuffled.end(),
              [](const std::string &a, const std::string &b) { return compareKeyText(a, b) < 0; });
    EXPECT_EQ(shuffled, kOrdered);
    // Case still does not count, accented or not; the accent does.
    EXPECT_EQ(compareKeyText("Küche", "KÜCHE"), 0);
    EXPECT_EQ(compareKeyText("ÆSOP", "æsop"), 0);
    EXPECT_LT(compareKeyText("Kuche", "Küche"), 0);
    EXPECT_LT(compareKeyText("ΑΘΗΝΑ", "Άθηνα"), 0); // Greek tonos too
    EXPECT_LT(compareKeyText("Άθηνα", "ΑΘΗΝΑΙ"), 0);
}

// Every letter of Latin-1 and Latin Extended-A orders as one or two Latin
// capitals: after them, and before anything that goes on from them.
TEST(Collation, EveryLatinLetterHasABaseItSortsJustAfter)
{
    int letters = 0;
    for (char32_t c = 0xC0; c < 0x180; ++c) {
        if (c == 0xD7 || c == 0xF7) continue; // × and ÷ are not letters
        const std::string letter = utf8(c);
        const std::u32string base = baseLetters(letter);
        ASSERT_TRUE(base.size() == 1 || base.size() == 2) << std::hex << unsigned(c);
        for (char32_t b : base)
            EXPECT_TRUE(b >= U'A' && b <= U'Z') << std::hex << unsigned(c);
        const std::string plain = encodeUtf8(base);
        EXPECT_GT(compareKeyText(letter, plain), 0) << std::hex << unsigned(c);
        EXPECT_LT(compareKeyText(letter, plain + "A"), 0) << std::hex << unsigned(c);
        ++letters;
    }
    EXPECT_EQ(letters, 62 + 128);
    EXPECT_TRUE(baseLetters("Straße") == U"STRASSE");
}

// Antisymmetric, transitive, and equal exactly when equal case-blind: SQLite
// needs all three for an index, and a unique key relies on the last.
TEST(Collation, TheOrderIsTotal)
{
    Texts texts = kOrdered;
    for (const char *t :
         {"",   "a", "A", "á", "Á", "ae", "æ", "AF", "ss", "ß", "SSA", "st", "é1", "e1",
          "E2", "ı", "I", "İ", "ſ", "s",  "Ω", "ώ",  "z",  "{", "_",   "ÿ",  "Ÿ"})
        texts.push_back(t);
    for (const std::string &a : texts)
        for (const std::string &b : texts) {
            const int ab = sign(compareKeyText(a, b));
            EXPECT_EQ(ab, -sign(compareKeyText(b, a))) << a << " " << b;
            EXPECT_EQ(ab == 0, foldText(a) == foldText(b)) << a << " " << b;
            for (const std::string &c : texts)
                if (ab <= 0 && compareKeyText(b, c) <= 0) {
                    EXPECT_LE(compareKeyText(a, c), 0) << a << " " << b << " " << c;
                }
        }
}

// Files written under the earlier rule keep their ASCII keys in place.
TEST(Collation, AsciiOrdersAsTheEarlierRule)
{
    Texts texts;
    for (char c = 0x20; c < 0x7F; ++c)
        for (const char *tail : {"", "a", "Z", "_"})
            texts.push_back(std::string(1, c) + tail);
    for (const std::string &a : texts)
        for (const std::string &b : texts)
            ASSERT_EQ(sign(compareKeyText(a, b)), sign(compareFoldedText(a, b))) << a << " " << b;
}

TEST(Collation, AConnectionOrdersByTheNewRuleAndStillKnowsTheOldOne)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(openConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &db),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE t (name TEXT);"
                           "INSERT INTO t VALUES ('Zephyr'), ('Ééé'), ('eee'), ('Eef');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    auto ordered = [&](const std::string &collation) {
        Texts names;
        sqlite3_stmt *st = nullptr;
        const std::string sql = "SELECT name FROM t ORDER BY name COLLATE " + collation;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK);
        while (sqlite3_step(st) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return names;
    };
    EXPECT_EQ(ordered(kCollationName), (Texts{"eee", "Ééé", "Eef", "Zephyr"}));
    for (const char *older : kOlderCollationNames)
        EXPECT_EQ(ordered(older), (Texts{"eee", "Eef", "Zephyr", "Ééé"}));
    sqlite3_close(db);
}

} // namespace
} // namespace hk
