#include "app/checkmode.h"

#include "forms/formdef.h"

#include <algorithm>

namespace hk
{

std::vector<KeptTotal> keptTotals()
{
    std::vector<KeptTotal> totals;
    for (const FormDef &form : allForms()) {
        if (!form.total) continue;
        const KeptTotal t{findField(form.total->totalField), findField(form.total->valueField)};
        const bool known = std::any_of(totals.begin(), totals.end(), [&](const KeptTotal &k) {
            return k.total.field == t.total.field;
        });
        if (!known) totals.push_back(t);
    }
    return totals;
}

int runCheck(const std::string &path, std::ostream &out)
{
    const FileCheck check = checkDataFile(path, keptTotals());
    out << path << '\n';
    int off = 0;
    for (const FileCheck::Line &l : check.lines) {
        out << (l.ok ? "ok   " : "OFF  ") << l.text << '\n';
        off += l.ok ? 0 : 1;
    }
    if (!check.opened) return 2;
    if (off == 0) {
        out << "Everything is as it should be.\n";
        return 0;
    }
    out << off << (off == 1 ? " thing is" : " things are") << " off.\n";
    return 1;
}

} // namespace hk
