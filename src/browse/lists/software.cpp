// BrowseSoftware: the software collection by program name, with the
// collection's value.
#include "browse/browselayout.h"
#include "browse/lists/browses.h"
#include "dictionary/tables.h"

namespace hk
{

Long BrowseSoftwareThread = 0;

const BrowseDef &browseSoftwareDef()
{
    static const BrowseDef def = [] {
        using T = TableId;
        BrowseDef d;
        d.procedure = "BrowseSoftware";
        d.main = T::SoftWare;
        d.marksAttachments = true; // a camera beside a record with photos
        for (const char *f :
             {"SFTWRE:PROGRAMNAME", "SFTWRE:VALUES", "SFTWRE:VERSION", "SFTWRE:SERIALNUMBER",
              "SFTWRE:MEDIA", "SFTWRE:NUMBEROFDISKS", "SFTWRE:NOTES"})
            d.fields.push_back(FieldRef::of(T::SoftWare, f));
        d.sorts = {{.number = 1, .key = Sftwre.DisplayByName}};
        d.tables = {T::SoftWare, T::HearthkpValue};
        d.total = FieldRef::of(T::HearthkpValue, "HKV:INVENTORYDISKS");
        d.claim = &BrowseSoftwareThread;

        BrowseLook look;
        look.title = "Browse the Software File";
        look.size = QSize(380, 209);
        look.listFormat = "155L(1)|M~Program Name~C(0)@s30@44R(1)|M~Value~C(0)@n9.2B@40L(1)|M~"
                          "Version~C(0)@s8@110L(1)|M~Serial Number~C(0)@s30@52L(1)|M~Media~C(0)@"
                          "s12@24R(1)|M~Disks~C(0)@n3B@80L(1)|M~Note~C(0)@s80@";
        look.tabs = {
            {"Listing by Program Name", "List by Program Name", "s30", "Locate Name of Program"}};
        look.totalLabel = "Total Value of Software Collection:";
        layOutBrowse(d, look);
        return d;
    }();
    return def;
}

} // namespace hk
