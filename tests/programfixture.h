// The program's own station on "Hearthkp.Tps" in a fresh current directory,
// with message boxes answered from a script and halts recorded instead of
// ending the test.
#pragma once

#include "platform/data/collation.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/messages.h"
#include "watchedboxes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

class ProgramTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    hk::test::WatchedBoxes boxes;
    std::vector<int> haltCodes;

    void SetUp() override
    {
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        hk::setMessageService(&boxes);
        hk::setHaltHook([this](int code) { haltCodes.push_back(code); });
    }

    void TearDown() override
    {
        EXPECT_EQ(boxes.shownUnderLock(), std::vector<std::string>{});
        for (int i = 0; i < hk::TableCount; ++i) {
            hk::Table &t = hk::table(hk::TableId(i));
            if (t.isOpen()) t.close();
            t.Used = 0;
        }
        hk::DataFile::program().shutdown();
        hk::setHaltHook({});
        hk::setMessageService(nullptr);
        QDir::setCurrent(previousDir);
    }

    std::string path() const { return dir.filePath("Hearthkp.Tps").toStdString(); }

    // SQL on a connection of its own, as another program would run it.
    int rawSql(const std::string &sql)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        hk::registerKeyCollation(db);
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc;
    }
};
