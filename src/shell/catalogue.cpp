#include "shell/catalogue.h"

#include "shell/introduction.h"
#include "shell/owner.h"
#include "shell/restoredefault.h"

namespace hk
{

ProcedureCatalogue programProcedures()
{
    return {
        {QStringLiteral("AboutHearthkeep"), [] { return std::make_unique<AboutHearthkeep>(); }},
        {QStringLiteral("EditOwnerAddress"), [] { return std::make_unique<EditOwnerAddress>(); }},
        {QStringLiteral("RestoreDefault"), [] { return std::make_unique<RestoreDefault>(); }},
    };
}

} // namespace hk
