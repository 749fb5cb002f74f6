// Opening tables through their open counters: the first procedure to use a
// table opens it (creating it when missing), the last one closes it. A table
// that cannot be opened ends the program after its standard warning.
#pragma once

#include "platform/windows/windowlife.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace hk
{

class DataFile;
class Table;

// Open the table or end the program: creates a missing table, offers to
// rebuild damaged keys and to remove code of someone else's making from the
// file, waits once for a lock. True when open; false only
// when a halt returned (as it does in tests).
bool OpenTable(Table &table);
// The damaged-key path: asks "Invalid Key" for the table; Yes rebuilds all its
// keys. False when the program ended (No, or a rebuild that failed).
bool RebuildDamagedKeys(Table &table);
// The data file holds code the program does not make (file.foreignCode()):
// warning 41 names it; Yes removes it (lastError() tells whether that
// worked), No ends the program (false).
bool RemoveForeignCode(DataFile &file);
bool CreateAndOpenTable(Table &table);

// The counter discipline: open on the first use, close after the last.
bool UseTable(Table &table);
void ReleaseTable(Table &table);

// The tables one procedure uses, released in reverse order when it ends.
class TablesInUse : public WindowHold
{
  public:
    TablesInUse() = default;
    explicit TablesInUse(std::initializer_list<Table *> tables) { use(tables); }
    ~TablesInUse() override { release(); }
    TablesInUse(const TablesInUse &) = delete;
    TablesInUse &operator=(const TablesInUse &) = delete;

    bool use(std::initializer_list<Table *> tables);
    void release();
    bool ok() const { return ok_; }

  private:
    std::vector<Table *> tables_;
    bool ok_ = true;
};

// The tables a window reads, for its lifecycle to hold: opened through their
// counters after the window's claim, released once the window has gone.
// Null (and none held) when one could not be opened.
std::function<std::unique_ptr<WindowHold>()> holdTables(std::vector<Table *> tables);

// Numbers the record in the table's buffer and adds it (see autoNumber); after
// three failed attempts asks "Auto Increment Error": Retry tries three more
// times, Cancel gives up. True when the record was added.
bool AutoNumberRecord(Table &table);

} // namespace hk
