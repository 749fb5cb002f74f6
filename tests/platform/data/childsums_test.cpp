// The per-parent figures the data file keeps: equal to the records after
// every kind of write, whoever makes it, and set up once in a file written
// without them.
#include "datafixture.h"

#include "platform/data/childsums.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"

using namespace hk;

namespace
{

class ChildSumsTest : public DataFileTest
{
  protected:
    const TableDef &def = tableDef(TableId::Items);
    const int link = def.fieldIndex("Itm:RoomsId");
    const int values = def.fieldIndex("ITM:VALUES");

    // What the records say, counted and added up by another connection.
    ChildSum counted(Long room)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT count(*), coalesce(sum(\"Values\"), 0) FROM Items WHERE "
                           "RoomsId = ?",
                           -1, &st, nullptr);
        sqlite3_bind_int(st, 1, room);
        ChildSum s{-1, -1};
        if (sqlite3_step(st) == SQLITE_ROW)
            s = {sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1)};
        sqlite3_finalize(st);
        sqlite3_close(db);
        return s;
    }
    void expectExact(DataFile &file, std::initializer_list<Long> rooms, const char *after)
    {
        ASSERT_TRUE(childSumsKept(file.db(), def)) << after;
        for (Long room : rooms) {
            const ChildSum kept =
                childSum(file, def, link, room, values).value_or(ChildSum{-1, -1});
            const ChildSum real = counted(room);
            EXPECT_EQ(kept.count, real.count) << after << ", room " << room;
            EXPECT_EQ(kept.sum, real.sum) << after << ", room " << room;
        }
    }
    static void addItem(Table &t, ItemsRecord &r, Long id, Long room, std::int64_t cents)
    {
        r = ItemsRecord{};
        r.ItemsId = id;
        r.Items = "Item " + std::to_string(id);
        r.RoomsId = room;
        r.Values.setCents(cents);
        ASSERT_EQ(t.add(), NoError);
    }
};

} // namespace

TEST_F(ChildSumsTest, EqualTheRecordsAfterEveryKindOfWrite)
{
    DataFile fileA(path()), fileB(path());
    ItemsRecord a, b;
    Table itemsA(TableId::Items, &a, &fileA), itemsB(TableId::Items, &b, &fileB);
    ASSERT_EQ(itemsA.create(), NoError);
    ASSERT_EQ(itemsA.open(), NoError);
    ASSERT_EQ(itemsB.open(), NoError);

    for (Long id = 1; id <= 6; ++id)
        addItem(itemsA, a, id, id % 2 + 1, 100 * id);
    expectExact(fileA, {1, 2, 3}, "inserts");

    a = ItemsRecord{};
    a.ItemsId = 2;
    ASSERT_EQ(itemsA.get(ItemsRecord::Primary), NoError);
    ASSERT_EQ(itemsA.remove(), NoError);
    expectExact(fileA, {1, 2}, "a delete");

    a.ItemsId = 3;
    ASSERT_EQ(itemsA.get(ItemsRecord::Primary), NoError);
    a.RoomsId = 3;
    ASSERT_EQ(itemsA.put(), NoError);
    expectExact(fileA, {1, 2, 3}, "a move");

    ASSERT_EQ(itemsA.get(ItemsRecord::Primary), NoError);
    a.Values.setCents(12345);
    ASSERT_EQ(itemsA.put(), NoError);
    expectExact(fileA, {3}, "a value change");

    // A move and a value change at once, in a transaction rolled back.
    Transaction txn(fileA);
    ASSERT_EQ(txn.begin(), NoError);
    a.ItemsId = 4;
    ASSERT_EQ(itemsA.get(ItemsRecord::Primary), NoError);
    a.RoomsId = 3;
    a.Values.setCents(1);
    ASSERT_EQ(itemsA.put(), NoError);
    addItem(itemsA, a, 7, 3, 700);
    EXPECT_EQ(childSum(fileA, def, link, 3, values)->count, 3);
    txn.rollback();
    expectExact(fileA, {1, 2, 3}, "a rollback");

    // Another station's write, and one by a program that knows nothing of
    // the figures, several rows in one statement.
    addItem(itemsB, b, 8, 3, 800);
    ASSERT_EQ(rawSql("UPDATE Items SET RoomsId = 9, \"Values\" = \"Values\" + 5 WHERE RoomsId = 1"),
              SQLITE_OK);
    expectExact(fileA, {1, 2, 3, 9}, "another station's writes");

    // They are read from the kept rows, not counted again.
    ASSERT_EQ(rawSql("UPDATE HkChildSums SET Records = 99 WHERE TableLabel = 'Items' AND "
                     "Parent = 9"),
              SQLITE_OK);
    EXPECT_EQ(childSum(fileA, def, link, 9, values)->count, 99);
}

TEST_F(ChildSumsTest, AFileWithoutThemGetsThemOnceWhenTheTableOpens)
{
    // A file as an earlier version wrote it: the table and its keys only.
    std::string sql = createTableSql(def);
    for (std::size_t k = 0; k < def.keys.size(); ++k)
        sql += ";\n" + createIndexSql(def, static_cast<int>(k));
    QFile(QString::fromStdString(path())).open(QIODevice::WriteOnly);
    ASSERT_EQ(rawSql(sql), SQLITE_OK);
    ASSERT_EQ(rawSql("INSERT INTO Items (ItemsId, Items, RoomsId, \"Values\") VALUES "
                     "(1, 'A', 1, 250), (2, 'B', 1, 100), (3, 'C', 2, 7)"),
              SQLITE_OK);

    DataFile file(path());
    // Until then the children are counted the slow way, with the same result.
    ASSERT_EQ(file.connect(false, "Items"), NoError);
    EXPECT_FALSE(childSumsKept(file.db(), def));
    EXPECT_EQ(childSum(file, def, link, 1, values)->sum, 350);

    ItemsRecord r;
    Table items(TableId::Items, &r, &file);
    ASSERT_EQ(items.open(), NoError);
    expectExact(file, {1, 2, 3}, "opening");
}
