// What makes one report differ from another: its texts, tables, record
// source, layout and per-record visibility. The engine runs any of them.
#pragma once

#include "dictionary/types.h"
#include "platform/windows/procedure.h"
#include "reports/recordsource.h"
#include "reports/reportlayout.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hk
{

class Table;

// A control printed only when its field is not blank.
struct OptionalControl {
    int id = 0;
    std::function<bool()> blank;
};

// The texts of a report's title band and page header.
struct ReportTexts {
    std::string job;                     // the print job's name
    std::string subtitle;                // under the product name in the title band
    std::string heading;                 // top left of every page
    std::string ownerName, ownerAddress; // as they were when the report started
};

struct ReportDefinition {
    QString name;                      // the procedure's name, "RPTBOOKTITLE"
    std::string caption;               // shown while the report is generated
    std::vector<Table *> opens;        // opened in this order, released in reverse
    Table *primary = nullptr;          // the first table read
    std::vector<Table *> scanned;      // read sequentially for the whole run
    std::optional<Long> fixedEstimate; // reports that filter or select
    std::string warningName;           // named when a read fails
    std::function<std::unique_ptr<RecordSource>()> source;
    std::function<ReportLayout(const ReportTexts &)> layout;
    ReportTexts texts;
    std::vector<OptionalControl> optional;
    // The selection window called (in select mode) instead of the printer
    // dialog; the run goes on only when it answers 1.
    ProcedureFactory select{};
};

// The reports built so far, by name; null when unknown.
const ReportDefinition *findReport(const QString &name);
std::vector<const ReportDefinition *> allReports();

// Definitions of each family of reports.
ReportDefinition bookReport(const QString &name);
ReportDefinition itemReport(const QString &name);
// RPTITEMINSURANCE: the items with their photos, for an insurer.
ReportDefinition insuranceReport(const QString &name);
ReportDefinition softwareReport(const QString &name);
// The video and music reports.
ReportDefinition titledReport(const QString &name);
extern const char *const kTitledReports[10];
ReportDefinition magazineReport(const QString &name);

} // namespace hk
