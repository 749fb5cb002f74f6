#include "integrity/placemove.h"

#include "dictionary/tabledef.h"
#include "integrity/checked.h"
#include "integrity/warnings.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "platform/data/transaction.h"

#include <cstring>

namespace hk
{

namespace
{

std::vector<unsigned char> bytesOf(const Table &t)
{
    const auto *b = static_cast<const unsigned char *>(t.buffer());
    return {b, b + t.def().recordSize};
}

} // namespace

std::vector<MovedChild> readChildren(Table &children, const std::vector<Position> &positions)
{
    std::vector<MovedChild> out;
    for (const Position &p : positions)
        if (children.reget(p) == NoError) out.push_back({children.currentRow(), bytesOf(children)});
    return out;
}

void rereadChildren(Table &children, std::vector<MovedChild> &moved)
{
    std::vector<MovedChild> now;
    for (const MovedChild &c : moved)
        if (children.regetRow(c.row) == NoError) now.push_back({c.row, bytesOf(children)});
    moved = std::move(now);
}

int moveChildren(Table &children, const FieldDef &link, std::int64_t parent,
                 const std::vector<MovedChild> &moved)
{
    Transaction txn(children.file());
    const std::string &label = children.def().label;
    if (txn.begin() != NoError) {
        CaptureFileError();
        WarnUser(34, label, "Update");
        return NotUpdated;
    }
    for (const MovedChild &c : moved) {
        // Watched as the user saw it: another station's change since then
        // makes this write, and with it the whole move, fail.
        std::memcpy(children.buffer(), c.asRead.data(), c.asRead.size());
        children.setCurrent(c.row, c.asRead.data());
        field::setInteger(link, children.buffer(), parent);
        if (const int result = UpdateRecordChecked(children, false, NoteKeyBeforeChange(children));
            result != Updated)
            return result;
    }
    if (txn.commit() != NoError) {
        RollBackAndWarn(txn, 15, label);
        return NotUpdated;
    }
    return Updated;
}

} // namespace hk
