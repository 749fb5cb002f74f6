// A fresh data file in a temporary folder made the current one, with the
// book, category and totals tables open as a list would have them, and the
// scripted message double in place of boxes.
#pragma once

#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"
#include "watchedboxes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <sqlite3.h>
#include <string>

namespace hk::test
{

class BrowseData : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    WatchedBoxes messages;
    TablesInUse *tables = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir::setCurrent(dir.path());
        setMessageService(&messages);
        GlobalRequest = GlobalResponse = 0;
        tables = new TablesInUse{&BookCategory, &Books, &HearthkpValue, &ItemsRooms, &Items};
        ASSERT_TRUE(tables->ok());
    }
    void TearDown() override
    {
        EXPECT_EQ(messages.shownUnderLock(), std::vector<std::string>{});
        delete tables;
        setMessageService(nullptr);
        QDir::setCurrent(previous);
    }

    static void addCategory(Long id, const std::string &name)
    {
        BokCat = BookCategoryRecord{};
        BokCat.BookCategoryId = id;
        BokCat.BookCategory = name;
        ASSERT_EQ(BookCategory.add(), NoError) << lastError().driverMessage;
    }
    static void addBook(Long id, const std::string &title, const std::string &author,
                        Long category = 0)
    {
        Bok = BooksRecord{};
        Bok.BooksId = id;
        Bok.BookTitle = title;
        Bok.BookAuthor = author;
        Bok.BookCategoryId = category;
        ASSERT_EQ(Books.add(), NoError) << lastError().driverMessage;
    }
    // n books: titles run from "A" to "Z" with the identifier, authors from
    // "Z" to "A", so that the two orders differ.
    static std::string titleOf(int i, int n)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%c title %05d", 'A' + (i - 1) * 26 / n, i);
        return text;
    }
    static std::string authorOf(int i)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%c author %05d", 'Z' - i % 26, i);
        return text;
    }
    static void addBooks(int n)
    {
        Transaction txn(Books.file());
        txn.begin();
        for (int i = 1; i <= n; ++i)
            addBook(i, titleOf(i, n), authorOf(i), 1 + i % 3);
        txn.commit();
    }
};

} // namespace hk::test
