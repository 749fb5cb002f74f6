#include "shell/catalogue.h"

#include "shell/introduction.h"

namespace hk
{

ProcedureCatalogue programProcedures()
{
    return {
        {QStringLiteral("AboutHearthkeep"), [] { return std::make_unique<AboutHearthkeep>(); }},
    };
}

} // namespace hk
