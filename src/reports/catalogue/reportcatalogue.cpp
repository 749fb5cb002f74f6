#include "reports/reportdef.h"

#include <map>

namespace hk
{

namespace
{
const std::map<QString, ReportDefinition> &reports()
{
    static const std::map<QString, ReportDefinition> all = [] {
        std::map<QString, ReportDefinition> m;
        for (const char *n :
             {"RPTBOOKAUTHOR", "RPTBOOKTITLE", "RPTBOOKALLCAT", "RPTBOOKSELCATEGORY"})
            m.emplace(QString::fromLatin1(n), bookReport(QString::fromLatin1(n)));
        for (const char *n :
             {"RPTITEMCOMPLETE", "RPTITEMALLLOCATION", "RPTITEMSELLOCATION", "RPTITEMSERIALNO"})
            m.emplace(QString::fromLatin1(n), itemReport(QString::fromLatin1(n)));
        m.emplace(QStringLiteral("RPTITEMINSURANCE"),
                  insuranceReport(QStringLiteral("RPTITEMINSURANCE")));
        m.emplace(QStringLiteral("RPTSOFTWARE"), softwareReport(QStringLiteral("RPTSOFTWARE")));
        for (const char *n : kTitledReports)
            m.emplace(QString::fromLatin1(n), titledReport(QString::fromLatin1(n)));
        for (const char *n :
             {"RPTMAGAZINECOLLECTION", "RPTMAGAZINEARTICLES", "RPTMAGARTICLECOMPLETE",
              "RPTMAGSELECTARTICLE", "RPTMAGSELYEARARTICLE"})
            m.emplace(QString::fromLatin1(n), magazineReport(QString::fromLatin1(n)));
        return m;
    }();
    return all;
}
} // namespace

const ReportDefinition *findReport(const QString &name)
{
    auto it = reports().find(name);
    return it == reports().end() ? nullptr : &it->second;
}

std::vector<const ReportDefinition *> allReports()
{
    std::vector<const ReportDefinition *> out;
    for (const auto &[name, def] : reports())
        out.push_back(&def);
    return out;
}

} // namespace hk
