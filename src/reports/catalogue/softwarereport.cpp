// RPTSOFTWARE: the software collection by program name, notes beneath.
#include "platform/data/files.h"
#include "reports/standardbands.h"

#include <stdexcept>

namespace hk
{

namespace
{

enum Optional { Notes = 1 };
enum Totals { AllCount, AllValue };

ReportLayout softwareLayout(const ReportTexts &texts)
{
    const ReportFont d = Fonts::detail, h = Fonts::heading;
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(
        texts, {textAt(2, 0, "Program Name", h), textAt(75, 0, "Value", h, Align::Right),
                textAt(87, 0, "Version", h), textAt(105, 0, "Media", h),
                textAt(123, 0, "Disks", h, Align::Right), textAt(135, 0, "Serial Number", h)});
    l.detail.height = 10;
    l.detail.controls = {
        fieldAt(2, 0, "s30", textOf(Sftwre.ProgramName), d),
        fieldAt(64, 0, "n9.2B", amountOf(Sftwre.Values), d, Align::Right),
        fieldAt(87, 0, "s8", textOf(Sftwre.Version), d),
        fieldAt(105, 0, "s12", textOf(Sftwre.Media), d),
        fieldAt(125, 0, "n3B", numberOf(Sftwre.NumberOfDisks), d, Align::Right),
        fieldAt(135, 0, "s30", textOf(Sftwre.SerialNumber), d),
        fieldAt(2, 5, "s80", textOf(Sftwre.Notes), d, Align::Left, Notes),
    };
    l.totals = {{TotalKind::Count}, {TotalKind::Sum, [] { return Sftwre.Values.cents(); }}};
    l.pageFooter = totalsBand({textAt(2, 0, "Total Value of Software collection:", d),
                               totalAt(64, 0, "N12.2B", AllValue, d), textAt(95, 0, "Entries:", d),
                               totalAt(112, 0, "n10", AllCount, d)},
                              12);
    return l;
}

} // namespace

ReportDefinition softwareReport(const QString &name)
{
    if (name != QLatin1String("RPTSOFTWARE"))
        throw std::invalid_argument("not a software report: " + name.toStdString());
    ReportDefinition r;
    r.name = name;
    r.caption = r.texts.job = "Listing of software";
    r.texts.subtitle = "Complete listing of software collection";
    r.texts.heading = "Software listed alphabetically";
    r.warningName = "SoftWare";
    r.opens = {&SoftWare};
    r.primary = &SoftWare;
    r.scanned = {&SoftWare};
    r.source = [] { return std::make_unique<ViewSource>(SoftWare, Sftwre.DisplayByName); };
    r.layout = softwareLayout;
    r.optional = {{Notes, [] { return Sftwre.Notes.empty(); }}};
    return r;
}

} // namespace hk
