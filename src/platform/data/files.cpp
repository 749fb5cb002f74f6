#include "platform/data/files.h"

#include "platform/data/fileerror.h"

#include <array>
#include <vector>

namespace hk
{

Table MagName(TableId::MagName, &Mag);
Table Books(TableId::Books, &Bok);
Table MagCategory(TableId::MagCategory, &Cat);
Table MagArticle(TableId::MagArticle, &Art);
Table MagYear(TableId::MagYear, &Yer);
Table MagIssue(TableId::MagIssue, &Iss);
Table BookCategory(TableId::BookCategory, &BokCat);
Table ItemsRooms(TableId::ItemsRooms, &ItmRom);
Table Items(TableId::Items, &Itm);
Table Music(TableId::Music, &Mus);
Table Video(TableId::Video, &Vid);
Table SoftWare(TableId::SoftWare, &Sftwre);
Table HearthkpValue(TableId::HearthkpValue, &Hkv);
Table MusicNumber(TableId::MusicNumber, &MusNum);
Table VideoNumber(TableId::VideoNumber, &VidNum);

Table &table(TableId id)
{
    static const std::array<Table *, TableCount> all = {
        &MagName,  &Books,        &MagCategory,   &MagArticle,  &MagYear,
        &MagIssue, &BookCategory, &ItemsRooms,    &Items,       &Music,
        &Video,    &SoftWare,     &HearthkpValue, &MusicNumber, &VideoNumber};
    return *all[static_cast<int>(id)];
}

int autoNumber(Table &t)
{
    const TableDef &def = t.def();
    if (!def.hasIdentifier()) return setError(FileSystemError, t.storedName());
    const FieldDef &id = def.fields[0];
    const KeyId primary{def.id, 0};
    std::vector<unsigned char> wanted(def.recordSize);
    def.copy(wanted.data(), t.buffer());

    int code = NoError;
    for (int attempt = 0; attempt < 3; ++attempt) {
        t.set(primary);
        code = t.previous();
        std::int64_t last = code == NoError ? field::integer(id, t.buffer()) : 0;
        if (code != NoError && code != NoMoreRecords) continue;
        def.copy(t.buffer(), wanted.data());
        field::setInteger(id, t.buffer(), last + 1);
        code = t.add();
        if (code == NoError) return code;
    }
    def.copy(t.buffer(), wanted.data());
    return code;
}

} // namespace hk
