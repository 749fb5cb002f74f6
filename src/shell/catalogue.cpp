#include "shell/catalogue.h"

#include "reports/reportdef.h"
#include "reports/reportprocedure.h"
#include "shell/introduction.h"

namespace hk
{

ProcedureCatalogue programProcedures()
{
    ProcedureCatalogue catalogue{
        {QStringLiteral("AboutHearthkeep"), [] { return std::make_unique<AboutHearthkeep>(); }},
    };
    for (const ReportDefinition *report : allReports())
        catalogue[report->name] = [report] { return std::make_unique<ReportProcedure>(*report); };
    return catalogue;
}

} // namespace hk
