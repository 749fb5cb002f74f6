// The magazine reports: the collection of issues by magazine and year, the
// same with each issue's articles, and every article by title under its
// magazine's name. Where an article is the detail, an issue's value is
// counted once however many of its articles are printed.
#include "platform/data/files.h"
#include "reports/catalogue/selectwindows.h"
#include "reports/chainsource.h"
#include "reports/standardbands.h"

#include <memory>
#include <stdexcept>

namespace hk
{

namespace
{

enum Optional { ArticleTitle = 1, ArticlePages = 2 };
enum Totals { AllCount, AllValue, GroupCount, GroupValue };

const ReportFont d = Fonts::detail, h = Fonts::heading;
constexpr ReportFont issueFont{9, true, false};

std::string idText(std::int64_t id)
{
    return std::to_string(id);
}

std::int64_t issueValue()
{
    return Iss.Values.cents();
}

// An issue's value counts once, however many of its articles print.
TotalDef issueValueOnce(int resetGroup = -1)
{
    return {TotalKind::Sum, issueValue, resetGroup, -1,
            [] { return std::int64_t(Iss.MagazineIssueId); }};
}

// The issue line: number, month, comments and value; the number's place
// differs from report to report.
std::vector<ReportControl> issueLine(double issueAt, double monthAt, double commentsAt, double y,
                                     ReportFont font)
{
    return {fieldAt(issueAt, y, "n4B", numberOf(Iss.MagazineIssue), font, Align::Right),
            fieldAt(monthAt, y, "s9", textOf(Iss.MagazineMonth), font),
            fieldAt(commentsAt, y, "s40", textOf(Iss.MagazineComments), font),
            fieldAt(167, y, "n6.2B", amountOf(Iss.Values), font, Align::Right)};
}

std::vector<ReportControl> articleLine()
{
    return {fieldAt(2, 0, "s35", textOf(Art.Article), d, Align::Left, ArticleTitle),
            fieldAt(80, 0, "s35", textOf(Art.Comments), d),
            fieldAt(156, 0, "n3B", numberOf(Art.Pages), d, Align::Right, ArticlePages)};
}

GroupDef magazineGroup(bool withFooter)
{
    GroupDef g;
    g.breakValue = [] { return idText(Mag.MagazineNameId); };
    g.header.height = 7;
    g.header.controls = {fieldAt(2, 1, "s40", textOf(Mag.MagazineName), Fonts::groupField)};
    if (withFooter)
        g.footer = totalsBand({textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", GroupCount, d),
                               textAt(139, 0, "Value of Magazine:", d, Align::Right),
                               totalAt(167, 0, "N12.2B", GroupValue, d)},
                              14);
    return g;
}

GroupDef yearGroup()
{
    GroupDef g;
    g.breakValue = [] { return idText(Yer.MagazineYearId); };
    g.header.height = 7;
    g.header.controls = {
        textAt(2, 1, "Year:", Fonts::groupField),
        fieldAt(12, 1, "n4B", numberOf(Yer.MagazineYear), Fonts::groupField, Align::Right)};
    return g;
}

// Magazines, their years and issues; with articles the issue is a group
// and the article the detail.
ReportLayout collectionLayout(const ReportTexts &texts, bool articles)
{
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    if (articles)
        l.pageHeader = pageHeaderBand(
            texts, {textAt(2, 0, "Article", h), textAt(38, 0, "Issue", h, Align::Right),
                    textAt(50, 0, "Month", h), textAt(80, 0, "Comments", h),
                    textAt(155, 0, "Page", h), textAt(177, 0, "Value", h, Align::Right)});
    else
        l.pageHeader = pageHeaderBand(
            texts, {textAt(2, 0, "Issue", h, Align::Right), textAt(34, 0, "Month", h),
                    textAt(56, 0, "Comments", h), textAt(177, 0, "Value", h, Align::Right)});
    auto sum = [articles](int reset) {
        return articles ? issueValueOnce(reset) : TotalDef{TotalKind::Sum, issueValue, reset};
    };
    l.totals = {{TotalKind::Count}, sum(-1), {TotalKind::Count, {}, 0}, sum(0)};
    l.groups.push_back(magazineGroup(true));
    l.groups.push_back(yearGroup());
    if (articles) {
        GroupDef issue;
        issue.breakValue = [] { return idText(Iss.MagazineIssueId); };
        issue.header.height = 6;
        issue.header.controls = issueLine(38, 50, 80, 0, issueFont);
        l.groups.push_back(std::move(issue));
        l.detail.height = 5;
        l.detail.controls = articleLine();
    } else {
        l.detail.height = 5;
        l.detail.controls = issueLine(2, 34, 56, 0, d);
    }
    l.pageFooter = totalsBand({textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", AllCount, d),
                               textAt(130, 0, "Total Value of Magazines:", d, Align::Right),
                               totalAt(167, 0, "N12.2B", AllValue, d)},
                              12);
    return l;
}

// Every article by title; the magazine's name heads each run of articles
// of one magazine.
ReportLayout completeLayout(const ReportTexts &texts)
{
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(
        texts, {textAt(2, 0, "Article", h), textAt(80, 0, "Comments", h), textAt(155, 0, "Page", h),
                textAt(168, 0, "Issue", h, Align::Right), textAt(180, 0, "Year", h, Align::Right)});
    l.groups.push_back(magazineGroup(false));
    l.detail.height = 5;
    l.detail.controls = articleLine();
    l.detail.controls.push_back(
        fieldAt(168, 0, "n4B", numberOf(Iss.MagazineIssue), d, Align::Right));
    l.detail.controls.push_back(
        fieldAt(180, 0, "n4B", numberOf(Yer.MagazineYear), d, Align::Right));
    l.totals = {{TotalKind::Count}};
    l.pageFooter =
        totalsBand({textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", AllCount, d)}, 12);
    return l;
}

// The articles of one magazine (by year and issue) or of one year (by
// issue), with the selection in the page header.
ReportLayout selectedLayout(const ReportTexts &texts, bool byYear)
{
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(
        texts,
        {textAt(2, 0, "Article", h), textAt(38, 0, "Issue", h, byYear ? Align::Right : Align::Left),
         textAt(50, 0, "Month", h), textAt(80, 0, "Comments", h),
         textAt(155, 0, "Page", h, Align::Right), textAt(177, 0, "Value", h, Align::Right)});
    l.pageHeader.controls.push_back(fieldAt(53, 0, "s40", textOf(Mag.MagazineName), h));
    if (byYear) {
        l.pageHeader.controls.push_back(textAt(142, 0, "Year:", h));
        l.pageHeader.controls.push_back(
            fieldAt(149, 0, "n4B", numberOf(Yer.MagazineYear), h, Align::Right));
    } else {
        GroupDef year = yearGroup();
        year.breakValue = [] { return idText(Yer.MagazineYear); };
        l.groups.push_back(std::move(year));
    }
    GroupDef issue;
    issue.breakValue = [] { return idText(Iss.MagazineIssue); };
    issue.header.height = 6;
    issue.header.controls = issueLine(byYear ? 37 : 38, 50, 80, 1, issueFont);
    l.groups.push_back(std::move(issue));
    l.detail.height = 5;
    l.detail.controls = articleLine();
    l.totals = {{TotalKind::Count}, issueValueOnce()};
    l.pageFooter = totalsBand({textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", AllCount, d),
                               textAt(130, 0, "Total Value of Magazines:", d),
                               totalAt(167, 0, "N12.2B", AllValue, d)},
                              12);
    return l;
}

std::vector<ChainLevel> magazineChain(bool articles)
{
    std::vector<ChainLevel> levels = {
        {&MagName, Mag.DisplayByName},
        {&MagYear, Yer.Foreign_MagazineName, [] { return std::int64_t(Mag.MagazineNameId); }},
        {&MagIssue, Iss.Foreign_MagazineYear, [] { return std::int64_t(Yer.MagazineYearId); }}};
    if (articles)
        levels.push_back({&MagArticle, Art.Foreign_MagazineIssue,
                          [] { return std::int64_t(Iss.MagazineIssueId); }});
    return levels;
}

} // namespace

ReportDefinition magazineReport(const QString &name)
{
    ReportDefinition r;
    r.name = name;
    r.warningName = "MagYear";
    r.opens = {&MagArticle, &MagIssue, &MagName, &MagYear};
    if (name == QLatin1String("RPTMAGAZINECOLLECTION")) {
        r.caption = "Listing of magazines and issues";
        r.texts.job = "Listing of Magazines";
        r.texts.subtitle = r.texts.heading = "Listing of all magazines and issues";
        r.primary = &MagName;
        r.source = [] { return std::make_unique<ChainSource>(magazineChain(false)); };
        r.layout = [](const ReportTexts &t) { return collectionLayout(t, false); };
    } else if (name == QLatin1String("RPTMAGAZINEARTICLES")) {
        r.caption = "Listing of magazines with articles";
        r.texts.job = "Listing of Magazines";
        r.texts.subtitle = "Listing of magazines with articles";
        r.texts.heading = "Magazine issues with articles";
        r.primary = &MagName;
        r.source = [] { return std::make_unique<ChainSource>(magazineChain(true)); };
        r.layout = [](const ReportTexts &t) { return collectionLayout(t, true); };
        r.optional = {{ArticleTitle, [] { return Art.Article.empty(); }},
                      {ArticlePages, [] { return Art.Pages == 0; }}};
    } else if (name == QLatin1String("RPTMAGARTICLECOMPLETE")) {
        r.caption = "Listing of all articles";
        r.texts.job = "Listing of Magazines";
        r.texts.subtitle = r.texts.heading = "Listing of all articles";
        r.primary = &MagArticle;
        r.source = [] {
            return std::make_unique<ChainSource>(
                std::vector<ChainLevel>{{&MagArticle,
                                         Art.DisplayByArticles,
                                         {},
                                         {{&MagName, "ART:MAGAZINENAMEID"},
                                          {&MagYear, "ART:MAGAZINEYEARID"},
                                          {&MagIssue, "Art:MagazineIssueId"}}}});
        };
        r.layout = completeLayout;
        r.scanned = {&MagArticle, &MagName, &MagYear, &MagIssue};
    } else if (name == QLatin1String("RPTMAGSELECTARTICLE") ||
               name == QLatin1String("RPTMAGSELYEARARTICLE")) {
        const bool byYear = name == QLatin1String("RPTMAGSELYEARARTICLE");
        r.caption = byYear ? "Listing of articles from year" : "Listing of articles from magazine";
        r.texts.job = "Listing of articles";
        r.texts.subtitle = byYear ? "Listing of articles from selected magazine and year"
                                  : "Listing of articles from selected magazine";
        r.texts.heading = "Articles listed alphabetically from:";
        r.primary = &MagIssue;
        r.fixedEstimate = 500;
        r.select = byYear ? rptSelectMagazineAndYear : rptSelectMagazine;
        r.source = [byYear] {
            ChainLevel issues = byYear ? ChainLevel{&MagIssue, Iss.Foreign_MagazineYear,
                                                    [] { return std::int64_t(Yer.MagazineYearId); }}
                                       : ChainLevel{&MagIssue,
                                                    Iss.Foreign_MagazineName,
                                                    [] { return std::int64_t(Mag.MagazineNameId); },
                                                    {{&MagYear, "Iss:MagazineYearId"}}};
            return std::make_unique<ChainSource>(
                std::vector<ChainLevel>{issues, {&MagArticle, Art.Foreign_MagazineIssue, [] {
                                                     return std::int64_t(Iss.MagazineIssueId);
                                                 }}});
        };
        r.layout = [byYear](const ReportTexts &t) { return selectedLayout(t, byYear); };
        r.scanned =
            byYear ? std::vector<Table *>{&MagIssue} : std::vector<Table *>{&MagIssue, &MagYear};
    } else {
        throw std::invalid_argument("not a magazine report: " + name.toStdString());
    }
    // Only the collection reads straight through its primary table.
    if (name == QLatin1String("RPTMAGAZINECOLLECTION")) r.scanned = {r.primary};
    return r;
}

} // namespace hk
