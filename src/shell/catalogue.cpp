#include "shell/catalogue.h"

#include "browse/browses.h"
#include "shell/introduction.h"

namespace hk
{

ProcedureCatalogue programProcedures()
{
    ProcedureCatalogue catalogue = {
        {QStringLiteral("AboutHearthkeep"), [] { return std::make_unique<AboutHearthkeep>(); }},
    };
    addBrowses(catalogue);
    return catalogue;
}

} // namespace hk
