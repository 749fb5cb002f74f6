// The video and music reports: a cassette and an album are one kind of
// parent (number, title, person, year, value and a details line) with titles
// recorded on it, so one set of layouts serves both, fed by the collection's
// fields. Five reports each: the parents, the parents with their titles, all
// titles by title and by person, and the titles of one chosen parent.
#include "browse/browse.h"
#include "platform/data/files.h"
#include "reports/catalogue/selectwindows.h"
#include "reports/standardbands.h"

#include <stdexcept>

namespace hk
{

namespace
{

enum Totals { AllCount, AllValue };

using Text = std::function<PictureValue()>;

// What a collection prints, read from its record buffers.
struct Collection {
    Table *parent, *child;
    KeyId byNumber, childByTitle, childByPerson, childOfParent;
    const char *childReference; // the child's field holding the parent's identifier
    std::function<std::int64_t()> parentId, parentCents, childId, number;
    Text title, person, year, value, details;
    Text childTitle, childPerson;
    // The child's first column: the counter reading, or the side.
    const char *leadHeading;
    double leadHeadingX, leadX;
    std::string leadPicture;
    Text lead;
    // The title detail under its parent: counter, or track with side and summary.
    std::vector<ReportControl> (*titleLine)(ReportFont);
    double titleHeight;
    const char *parentHeading, *parentColumn; // "Cassette"; "Cassette" or "Album" in title lists
    double parentHeadingX, groupedHeadingX, parentColumnX, secondLine;
    const char *totalLabel, *totalPicture;
    std::string noun; // "video" or "music"
};

std::string trimmed(std::string_view s)
{
    return std::string(trimRight(s));
}

std::vector<ReportControl> videoTitleLine(ReportFont d)
{
    return {fieldAt(5, 0, "T4", numberOf(Vid.CounterStart), d, Align::Right),
            fieldAt(22, 0, "s40", textOf(Vid.VideoTitle), d),
            fieldAt(110, 0, "s25", textOf(Vid.VideoActor), d)};
}

std::vector<ReportControl> musicTitleLine(ReportFont d)
{
    return {fieldAt(15, 0, "n2B", numberOf(Mus.MusicTrack), d, Align::Right),
            fieldAt(22, 0, "s40", textOf(Mus.MusicTitle), d),
            fieldAt(110, 0, "s25", textOf(Mus.MusicArtist), d),
            fieldAt(163, 0, "s1", textOf(Mus.TitleSide), d),
            fieldAt(22, 5, "s94", textOf(Mus.MusicSummary), d)};
}

// A cassette's details: studio and licence number, as far as they are filled.
PictureValue videoDetails()
{
    const std::string studio = trimmed(VidNum.Studio.view()),
                      licence = trimmed(VidNum.LicenceNumber.view());
    if (licence.empty()) return studio;
    if (studio.empty()) return licence;
    return studio + ", " + licence;
}

// An album's details: as a cassette's with the media after them; with studio
// and licence but no media, the album's own summary.
PictureValue musicDetails()
{
    const std::string studio = trimmed(MusNum.Studio.view()),
                      licence = trimmed(MusNum.LicenceNumber.view()),
                      media = trimmed(MusNum.Media.view());
    if (licence.empty()) return studio;
    if (studio.empty()) return licence;
    if (!media.empty()) return studio + ", " + licence + " " + media;
    return MusNum.MusicNumberSummary.str();
}

const Collection &video()
{
    static const Collection c{.parent = &VideoNumber,
                              .child = &Video,
                              .byNumber = VidNum.DisplayByVideoNumber,
                              .childByTitle = Vid.DisplayByTitle,
                              .childByPerson = Vid.DisplayByActor,
                              .childOfParent = Vid.Foreign_VideoNumber,
                              .childReference = "Vid:VideoNumberId",
                              .parentId = [] { return std::int64_t(VidNum.VideoNumberId); },
                              .parentCents = [] { return VidNum.Values.cents(); },
                              .childId = [] { return std::int64_t(Vid.VideoId); },
                              .number = [] { return std::int64_t(VidNum.VideoNumber); },
                              .title = textOf(VidNum.VideoTitle),
                              .person = textOf(VidNum.VideoActor),
                              .year = numberOf(VidNum.VideoYear),
                              .value = amountOf(VidNum.Values),
                              .details = videoDetails,
                              .childTitle = textOf(Vid.VideoTitle),
                              .childPerson = textOf(Vid.VideoActor),
                              .leadHeading = "Time",
                              .leadHeadingX = 11,
                              .leadX = 6,
                              .leadPicture = "T4B",
                              .lead = numberOf(Vid.CounterStart),
                              .titleLine = videoTitleLine,
                              .titleHeight = 5,
                              .parentHeading = "Cassette",
                              .parentColumn = "Cassette",
                              .parentHeadingX = 8,
                              .groupedHeadingX = 5,
                              .parentColumnX = 173,
                              .secondLine = 6,
                              .totalLabel = "Total Value of Video Collection:",
                              .totalPicture = "n12.2B",
                              .noun = "video"};
    return c;
}

const Collection &music()
{
    static const Collection c{.parent = &MusicNumber,
                              .child = &Music,
                              .byNumber = MusNum.DisplayByAlbumNumber,
                              .childByTitle = Mus.DisplayByTitle,
                              .childByPerson = Mus.DisplayByArtist,
                              .childOfParent = Mus.Foreign_MusicAlbum,
                              .childReference = "Mus:MusicNumberId",
                              .parentId = [] { return std::int64_t(MusNum.MusicNumberId); },
                              .parentCents = [] { return MusNum.Values.cents(); },
                              .childId = [] { return std::int64_t(Mus.MusicId); },
                              .number = [] { return std::int64_t(MusNum.AlbumNumber); },
                              .title = textOf(MusNum.AlbumTitle),
                              .person = textOf(MusNum.AlbumArtist),
                              .year = numberOf(MusNum.MusicYear),
                              .value = amountOf(MusNum.Values),
                              .details = musicDetails,
                              .childTitle = textOf(Mus.MusicTitle),
                              .childPerson = textOf(Mus.MusicArtist),
                              .leadHeading = "Side",
                              .leadHeadingX = 7,
                              .leadX = 10,
                              .leadPicture = "s1",
                              .lead = textOf(Mus.TitleSide),
                              .titleLine = musicTitleLine,
                              .titleHeight = 10,
                              .parentHeading = "Album",
                              .parentColumn = "Album",
                              .parentHeadingX = 8,
                              .groupedHeadingX = 8,
                              .parentColumnX = 176,
                              .secondLine = 5,
                              .totalLabel = "Total Value of Music Collection:",
                              .totalPicture = "N12.2B",
                              .noun = "music"};
    return c;
}

// The parent's line: number, title, person, year and value, the details
// beneath at `second` mm.
std::vector<ReportControl> parentLine(const Collection &c, ReportFont f, double top, double second)
{
    return {fieldAt(
                2, top, "n10B", [&c] { return PictureValue{c.number()}; }, f, Align::Right),
            fieldAt(22, top, "s40", c.title, f),
            fieldAt(110, top, "s25", c.person, f),
            fieldAt(162, top, "n4B", c.year, f, Align::Right),
            fieldAt(175, top, "n6.2B", c.value, f, Align::Right),
            fieldAt(22, second, "s94", c.details, f)};
}

Band valueFooter(const Collection &c)
{
    const ReportFont d = Fonts::detail;
    return totalsBand({textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", AllCount, d),
                       textAt(125, 0, c.totalLabel, d),
                       totalAt(167, 0, c.totalPicture, AllValue, d)},
                      12);
}

std::vector<ReportControl> parentHeadings(const Collection &c, double numberX)
{
    const ReportFont h = Fonts::heading;
    return {textAt(numberX, 0, c.parentHeading, h, Align::Right), textAt(22, 0, "Title/Details", h),
            textAt(110, 0, c.noun == "video" ? "Actor" : "Artist", h),
            textAt(162, 0, "Year", h, Align::Right), textAt(177, 0, "Value", h, Align::Right)};
}

ReportLayout parentsLayout(const Collection &c, const ReportTexts &texts)
{
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(texts, parentHeadings(c, c.parentHeadingX));
    l.detail.height = 10;
    l.detail.controls = parentLine(c, Fonts::detail, 0, 5);
    l.totals = {{TotalKind::Count}, {TotalKind::Sum, c.parentCents}};
    l.pageFooter = valueFooter(c);
    return l;
}

// Each parent's line heads its titles; its value counts once, at its line,
// so that the total is the collection's value.
ReportLayout parentsWithTitlesLayout(const Collection &c, const ReportTexts &texts)
{
    const ReportFont bold{9, true, false};
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(texts, parentHeadings(c, c.groupedHeadingX));
    GroupDef g;
    g.breakValue = [&c] { return std::to_string(c.parentId()); };
    g.header.height = c.secondLine + 5;
    g.header.controls = parentLine(c, bold, 1, c.secondLine);
    l.groups.push_back(std::move(g));
    l.detail.height = c.titleHeight;
    l.detail.controls = c.titleLine(Fonts::detail);
    l.detailShown = [&c] { return c.childId() != 0; };
    l.totals = {{TotalKind::Count}, {TotalKind::Sum, c.parentCents, -1, 0}};
    l.pageFooter = valueFooter(c);
    return l;
}

// One line per title; `byPerson` puts the person before the title, and a
// title list of every parent names the parent at the right.
ReportLayout titlesLayout(const Collection &c, const ReportTexts &texts, bool byPerson,
                          bool withParent, std::optional<ReportControl> headingText)
{
    const ReportFont d = Fonts::detail, h = Fonts::heading;
    const char *personWord = c.noun == "video" ? "Actor" : "Artist";
    std::vector<ReportControl> headings = {
        textAt(c.leadHeadingX, 0, c.leadHeading, h, Align::Right),
        textAt(22, 0, byPerson ? personWord : "Title", h),
        textAt(byPerson ? 80 : 110, 0, byPerson ? "Title" : personWord, h)};
    if (withParent) headings.push_back(textAt(c.parentColumnX, 0, c.parentColumn, h, Align::Right));
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(texts, std::move(headings));
    // Right after the heading it completes.
    if (headingText) l.pageHeader.controls.insert(l.pageHeader.controls.begin() + 1, *headingText);
    l.detail.height = 5;
    l.detail.controls = {
        fieldAt(c.leadX, 0, c.leadPicture, c.lead, d, Align::Right),
        fieldAt(22, 0, byPerson ? "s25" : "s40", byPerson ? c.childPerson : c.childTitle, d),
        fieldAt(byPerson ? 80 : 110, 0, byPerson ? "s40" : "s25",
                byPerson ? c.childTitle : c.childPerson, d)};
    if (withParent)
        l.detail.controls.push_back(fieldAt(
            170, 0, "n10B", [&c] { return PictureValue{c.number()}; }, d, Align::Right));
    l.totals = {{TotalKind::Count}};
    l.pageFooter =
        totalsBand({textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", AllCount, d)}, 12);
    return l;
}

struct Texts {
    const char *name, *caption, *job, *subtitle, *heading;
};

constexpr Texts kTexts[] = {
    {"RPTVIDEOCASSETTE", "Listing of all video cassette", "Listing of all videos",
     "Complete listing of video collection", "Listing of all video cassette"},
    {"RPTVIDEOCASSTITLES", "Listing of all video with titles", "Listing of all videos",
     "Complete listing of video collection with titles",
     "Listing of all video cassette with titles"},
    {"RPTVIDEOTITLES", "Listing of all titles", "Listing of all titles",
     "Complete listing of video titles", "Video titles listed alphabetically"},
    {"RPTVIDEOACTOR", "Listing of all actors", "Listing of all actors",
     "Complete listing of video actors", "Video actors listed alphabetically"},
    {"RPTVIDEOSELCASSETTE", "Video titles by selected cassette",
     "Video titles by selected cassette", "Listing of video titles from selected cassette",
     "Video titles from cassette:"},
    {"RPTMUSICALBUM", "Listing of all albums", "Listing of all albums",
     "Complete listing of music collection", "Listing of all music album"},
    {"RPTMUSICALBUMTITLES", "Listing of all album with titles", "Listing of all albums",
     "Complete listing of music collection with titles", "Listing of all album with titles"},
    {"RPTMUSICTITLE", "Listing of all titles", "Listing of all titles",
     "Complete listing of music titles", "Music titles listed alphabetically"},
    {"RPTMUSICARTIST", "Listing of all artists", "Listing of all artists",
     "Complete listing of music artists", "Music artists listed alphabetically"},
    {"RPTMUSICSELALBUM", "Music titles by selected album", "Music titles by selected album",
     "Listing of music titles from selected album", "Music titles from album:"},
};

} // namespace

const char *const kTitledReports[10] = {
    "RPTVIDEOCASSETTE",    "RPTVIDEOCASSTITLES", "RPTVIDEOTITLES",      "RPTVIDEOACTOR",
    "RPTVIDEOSELCASSETTE", "RPTMUSICALBUM",      "RPTMUSICALBUMTITLES", "RPTMUSICTITLE",
    "RPTMUSICARTIST",      "RPTMUSICSELALBUM"};

ReportDefinition titledReport(const QString &name)
{
    int index = -1;
    for (int i = 0; i < 10; ++i)
        if (name == QLatin1String(kTexts[i].name)) index = i;
    if (index < 0)
        throw std::invalid_argument("not a video or music report: " + name.toStdString());
    const Collection &c = index < 5 ? video() : music();
    const int kind = index % 5; // parents, with titles, by title, by person, of one parent
    const Texts &t = kTexts[index];

    ReportDefinition r;
    r.name = name;
    r.caption = t.caption;
    r.texts.job = t.job;
    r.texts.subtitle = t.subtitle;
    r.texts.heading = t.heading;
    r.warningName = c.parent->def().label;
    r.opens = {c.child, c.parent};
    if (&c == &music() && kind == 0) r.opens = {c.parent};
    r.primary = kind < 2 ? c.parent : c.child;
    r.scanned = {r.primary};
    switch (kind) {
    case 0:
        r.source = [&c] { return std::make_unique<ViewSource>(*c.parent, c.byNumber); };
        r.layout = [&c](const ReportTexts &x) { return parentsLayout(c, x); };
        break;
    case 1:
        r.source = [&c] {
            return std::make_unique<NestedSource>(*c.parent, c.byNumber, *c.child, c.childOfParent,
                                                  c.parentId, true);
        };
        r.layout = [&c](const ReportTexts &x) { return parentsWithTitlesLayout(c, x); };
        break;
    case 2:
    case 3: {
        const bool byPerson = kind == 3;
        r.source = [&c, byPerson] {
            auto s =
                std::make_unique<ViewSource>(*c.child, byPerson ? c.childByPerson : c.childByTitle);
            s->view().join(*c.parent, c.childReference);
            return s;
        };
        r.layout = [&c, byPerson](const ReportTexts &x) {
            return titlesLayout(c, x, byPerson, true, std::nullopt);
        };
        break;
    }
    default: {
        r.fixedEstimate = 500;
        r.source = [&c] {
            auto s = std::make_unique<ViewSource>(*c.child, c.childOfParent);
            s->view().range({Value{c.parentId()}});
            return s;
        };
        // The chosen parent's title and number after the heading.
        const bool isVideo = &c == &video();
        r.layout = [&c, isVideo](const ReportTexts &x) {
            const Text chosen = [&c] {
                return PictureValue{trimmed(std::get<std::string>(c.title())) + ", " +
                                    std::to_string(c.number())};
            };
            return titlesLayout(
                c, x, false, false,
                fieldAt(isVideo ? 42 : 40, 0, isVideo ? "s53" : "s55", chosen, Fonts::heading));
        };
        r.select = [isVideo] {
            return std::make_unique<Browse>(isVideo ? selectVideoCassetteDef()
                                                    : selectMusicAlbumDef());
        };
        break;
    }
    }
    return r;
}

} // namespace hk
