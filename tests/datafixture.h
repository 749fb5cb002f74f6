// A data file in a fresh temporary directory, with helpers to reach it with
// raw SQL as another program would.
#pragma once

#include "dictionary/tables.h"
#include "platform/data/collation.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

// Takes the identity of an ordinary user for the scope (when running as
// root), so that file permissions apply; the folder is opened up for it.
class RunAsOrdinaryUser
{
  public:
    explicit RunAsOrdinaryUser(const QString &folder)
    {
        if (geteuid() != 0) return;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
        // Real and effective ids both: SQLite asks access(), which goes by the
        // real one. The saved id stays root so that the scope can return.
        switched_ = setresuid(65534, 65534, 0) == 0;
    }
    ~RunAsOrdinaryUser()
    {
        if (switched_) (void)setresuid(0, 0, 0);
    }

  private:
    bool switched_ = false;
};

class DataFileTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    std::string path() const { return dir.filePath("Hearthkp.Tps").toStdString(); }

    // Runs SQL on a separate connection (another process would see the same);
    // returns SQLite's result code.
    int rawSql(const std::string &sql, std::string *error = nullptr)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        hk::registerKeyCollation(db);
        char *msg = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
        if (error) *error = msg ? msg : "";
        sqlite3_free(msg);
        sqlite3_close(db);
        return rc;
    }
};
