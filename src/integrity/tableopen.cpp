#include "integrity/tableopen.h"

#include "integrity/warnings.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/messages.h"

namespace hk
{

bool OpenTable(Table &table)
{
    int code = table.open();
    if (code == FileLocked) {
        table.send("Recover=10");
        code = table.open();
    }
    if (code == FileSystemError && !table.file().foreignCode().empty()) {
        if (!RemoveForeignCode(table.file())) return false;
        code = lastError().code == NoError ? table.open() : lastError().code;
    }
    switch (code) {
    case NoError:
    case AlreadyOpen:
        return true;
    case FileNotFound:
        return CreateAndOpenTable(table);
    case LayoutMismatch:
        WarnUser(1, table.storedName());
        return false;
    case KeysInvalid:
        if (!RebuildDamagedKeys(table)) return false;
        code = table.open();
        break;
    default:
        break;
    }
    if (code == NoError || code == AlreadyOpen) return true;
    // The program ends after the box: nothing half done may wait behind it.
    DataFile::program().abandon();
    WarnUser(30, table.storedName());
    DataFile::program().shutdown();
    halt("Disk Error", 1);
    return false;
}

bool RemoveForeignCode(DataFile &file)
{
    const std::string name = file.path().substr(file.path().rfind('/') + 1);
    if (WarnUser(41, name, describeObjects(file.foreignCode())) != ButtonYes) return false;
    file.removeForeignCode();
    return true;
}

bool RebuildDamagedKeys(Table &table)
{
    // Whatever the failed operation began is undone before the keys change,
    // and before the question, which must not wait while the file is locked.
    table.file().abandon();
    if (WarnUser(2, table.storedName()) != ButtonYes) return false;
    if (table.buildKeys() != NoError) {
        WarnUser(3, table.storedName());
        return false;
    }
    return true;
}

bool CreateAndOpenTable(Table &table)
{
    if (table.create() != NoError) {
        WarnUser(4, table.storedName());
        return false;
    }
    int code = table.open();
    if (code != NoError && code != AlreadyOpen) {
        WarnUser(5, table.storedName());
        return false;
    }
    return true;
}

bool UseTable(Table &table)
{
    if (table.Used == 0 && !OpenTable(table)) return false;
    ++table.Used;
    return true;
}

void ReleaseTable(Table &table)
{
    if (table.Used > 0 && --table.Used == 0) table.close();
}

bool TablesInUse::use(std::initializer_list<Table *> tables)
{
    for (Table *t : tables) {
        if (!UseTable(*t)) {
            ok_ = false;
            return false;
        }
        tables_.push_back(t);
    }
    return true;
}

void TablesInUse::release()
{
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it)
        ReleaseTable(**it);
    tables_.clear();
}

std::function<std::unique_ptr<WindowHold>()> holdTables(std::vector<Table *> tables)
{
    return [tables = std::move(tables)]() -> std::unique_ptr<WindowHold> {
        auto held = std::make_unique<TablesInUse>();
        for (Table *t : tables)
            if (!held->use({t})) return nullptr;
        return held;
    };
}

bool AutoNumberRecord(Table &table)
{
    for (;;) {
        if (autoNumber(table) == NoError) return true;
        if (WarnUser(25) != ButtonRetry) return false;
    }
}

} // namespace hk
