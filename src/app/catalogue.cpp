#include "app/catalogue.h"

#include "browse/lists/browses.h"
#include "browse/lists/magazines.h"
#include "browse/lists/placement.h"
#include "collection/exportcollection.h"
#include "collection/importcollection.h"
#include "reports/reportdef.h"
#include "reports/reportprocedure.h"
#include "shell/backup.h"
#include "shell/introduction.h"
#include "shell/owner.h"
#include "shell/restorebackup.h"
#include "shell/restoredefault.h"
#include "shell/summary.h"

namespace hk
{

ProcedureCatalogue programProcedures()
{
    ProcedureCatalogue catalogue = {
        {QStringLiteral("AboutHearthkeep"), [] { return std::make_unique<AboutHearthkeep>(); }},
        {QStringLiteral("EditOwnerAddress"), [] { return std::make_unique<EditOwnerAddress>(); }},
        {QStringLiteral("ExportCollection"), [] { return std::make_unique<ExportCollection>(); }},
        {QStringLiteral("ImportCollection"), [] { return std::make_unique<ImportCollection>(); }},
        {QStringLiteral("RestoreDefault"), [] { return std::make_unique<RestoreDefault>(); }},
        {QStringLiteral("FileSummary"), [] { return std::make_unique<FileSummary>(); }},
        {QStringLiteral("CopyFile"), [] { return std::make_unique<CopyFile>(); }},
        {QStringLiteral("RestoreBackup"), [] { return std::make_unique<RestoreBackup>(); }},
    };
    addBrowses(catalogue);
    addMagazineBrowses(catalogue);
    addPlacementWindows(catalogue);
    for (const ReportDefinition *report : allReports())
        catalogue[report->name] = [report] { return std::make_unique<ReportProcedure>(*report); };
    return catalogue;
}

} // namespace hk
