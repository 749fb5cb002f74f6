// A transaction scope on one station, watched from a second station: what the
// second sees is what was really committed.
#include "datafixture.h"
#include "platform/data/transaction.h"

using namespace hk;

namespace
{

class TransactionTest : public DataFileTest
{
  protected:
    DataFile file{path()}, other{path()};
    BooksRecord mine, theirs;
    Table books{TableId::Books, &mine, &file};
    Table booksSeen{TableId::Books, &theirs, &other};

    void SetUp() override
    {
        ASSERT_EQ(books.create(), NoError);
        ASSERT_EQ(books.open(), NoError);
        ASSERT_EQ(booksSeen.open(), NoError);
    }

    int add(Long id)
    {
        mine = BooksRecord{};
        mine.BooksId = id;
        return books.add();
    }

    // A write path that meets a duplicate halfway and returns early,
    // committing nothing and rolling back nothing by hand.
    int addTwiceThenGiveUp(Long id)
    {
        Transaction txn(file);
        if (int code = txn.begin(); code != NoError) return code;
        if (int code = add(id); code != NoError) return code;
        if (int code = add(id); code != NoError) return code;
        return txn.commit();
    }

    long long committed() { return booksSeen.records(); }
};

} // namespace

TEST_F(TransactionTest, AnEarlyReturnLeavesNothingOpenAndTheNextWriteIsItsOwn)
{
    EXPECT_EQ(addTwiceThenGiveUp(1), DuplicateKey);
    EXPECT_FALSE(file.inTransaction());
    // The rollback on the way out keeps the failure for the caller's warning.
    EXPECT_EQ(lastError().code, DuplicateKey);

    // Another window's write afterwards: not part of what was given up, and
    // stored by its own commit.
    Transaction next(file);
    ASSERT_EQ(next.begin(), NoError);
    EXPECT_FALSE(next.joined());
    ASSERT_EQ(add(2), NoError);
    ASSERT_EQ(next.commit(), NoError);
    EXPECT_FALSE(file.inTransaction());
    EXPECT_EQ(committed(), 1);
    mine.BooksId = 1;
    EXPECT_EQ(books.get(BooksRecord::Primary), RecordNotFound);
}

TEST_F(TransactionTest, AJoinedPartLeavesTheCommitToTheOuterOne)
{
    Transaction outer(file);
    ASSERT_EQ(outer.begin(), NoError);
    ASSERT_EQ(add(1), NoError);
    {
        Transaction part(file);
        ASSERT_EQ(part.begin(), NoError);
        EXPECT_TRUE(part.joined());
        ASSERT_EQ(add(2), NoError);
        ASSERT_EQ(part.commit(), NoError);
        EXPECT_TRUE(file.inTransaction());
        EXPECT_EQ(committed(), 0);
    }
    {
        Transaction unfinished(file); // ends without a commit: the outer decides
        ASSERT_EQ(unfinished.begin(), NoError);
        ASSERT_EQ(add(3), NoError);
    }
    EXPECT_TRUE(outer.open());
    ASSERT_EQ(outer.commit(), NoError);
    EXPECT_EQ(committed(), 3);
}

TEST_F(TransactionTest, APartThatFailsEndsTheWholeAndTheOuterTouchesNoLaterOne)
{
    Transaction later(file);
    {
        Transaction outer(file);
        ASSERT_EQ(outer.begin(), NoError);
        ASSERT_EQ(add(1), NoError);
        Transaction part(file);
        ASSERT_EQ(part.begin(), NoError);
        ASSERT_EQ(add(1), DuplicateKey);
        part.rollback(); // before its warning: the file is not locked meanwhile
        EXPECT_FALSE(file.inTransaction());
        EXPECT_EQ(lastError().code, DuplicateKey);
        EXPECT_FALSE(outer.open());
        EXPECT_EQ(outer.commit(), FileSystemError);

        // Begun while the outer scope still runs: its end must leave it be.
        ASSERT_EQ(later.begin(), NoError);
        EXPECT_FALSE(later.joined());
        ASSERT_EQ(add(5), NoError);
    }
    EXPECT_TRUE(later.open());
    ASSERT_EQ(later.commit(), NoError);
    EXPECT_EQ(committed(), 1);
    mine.BooksId = 5;
    EXPECT_EQ(books.get(BooksRecord::Primary), NoError);
}
