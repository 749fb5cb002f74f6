// Data files for the report benchmarks, one per shape of report and size,
// built once under bench-data/ beside the binary and reused: books in twelve
// categories (the plain list and the grouped report), video cassettes of ten
// titles each (a parent with its children), and the magazine archive
// (magazine, year, issue, article). `records` counts what the report prints:
// books, titles or articles.
#pragma once

#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"
#include "reports/reportjob.h"

#include <QDir>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace hk::bench
{

enum class Shape { List, Grouped, WithTitles, Magazine };

inline const char *shapeName(Shape s)
{
    static const char *const names[] = {"list", "grouped", "titles", "magazine"};
    return names[int(s)];
}

inline const char *reportOf(Shape s)
{
    static const char *const names[] = {"RPTBOOKTITLE", "RPTBOOKALLCAT", "RPTVIDEOCASSTITLES",
                                        "RPTMAGAZINEARTICLES"};
    return names[int(s)];
}

namespace detail
{

inline const char *const kWords[] = {"Garden",  "River",  "Stone",   "House",  "Winter", "Letters",
                                     "Night",   "Island", "Silver",  "Road",   "Bridge", "Harvest",
                                     "Light",   "Shadow", "Empire",  "Voyage", "Song",   "Glass",
                                     "Orchard", "Tide",   "Kingdom", "Ashes",  "Quiet",  "Zephyr"};

inline std::string words(std::mt19937 &rng, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += (i ? " " : "") + std::string(kWords[rng() % std::size(kWords)]);
    return s;
}

// Commits every `each` records so that the journal stays small.
class Batches
{
  public:
    explicit Batches(DataFile &file) : txn_(file) { txn_.begin(); }
    ~Batches() { txn_.commit(); }
    void added()
    {
        if (++n_ % 50000 == 0) {
            txn_.commit();
            txn_.begin();
        }
    }

  private:
    Transaction txn_;
    long n_ = 0;
};

inline void fillBooks(long books)
{
    std::mt19937 rng(7);
    Batches batches(Books.file());
    const char *categories[] = {"Art",     "Biography", "Children", "Cooking",
                                "Fiction", "Gardening", "History",  "Music",
                                "Poetry",  "Reference", "Science",  "Travel"};
    Long id = 0;
    for (const char *c : categories) {
        BokCat = {};
        BokCat.BookCategoryId = ++id;
        BokCat.BookCategory = c;
        BookCategory.add();
    }
    for (long i = 1; i <= books; ++i) {
        Bok = {};
        Bok.BooksId = Long(i);
        Bok.BookTitle = words(rng, 3) + " " + std::to_string(i);
        Bok.BookAuthor = words(rng, 2);
        Bok.BookCategoryId = Long(rng() % 12 + 1);
        Bok.BookValue.setCents(std::int64_t(rng() % 10000));
        Bok.Pages = Short(rng() % 900);
        Bok.Publications = rng() % 3 ? words(rng, 1) : "";
        Bok.IsbnNumber = rng() % 2 ? "0-00-" + std::to_string(i) : "";
        Bok.BookYear = Short(1900 + rng() % 120);
        Bok.BookCover = rng() % 2 ? "Paper" : "";
        Books.add();
        batches.added();
    }
}

inline void fillVideo(long titles)
{
    std::mt19937 rng(9);
    Batches batches(Video.file());
    const long cassettes = titles / 10;
    Long title = 0;
    for (long c = 1; c <= cassettes; ++c) {
        VidNum = {};
        VidNum.VideoNumberId = Long(c);
        VidNum.VideoNumber = Long(c);
        VidNum.VideoTitle = words(rng, 3);
        VidNum.VideoActor = words(rng, 2);
        VidNum.Values.setCents(std::int64_t(rng() % 5000));
        VidNum.VideoYear = Short(1950 + rng() % 75);
        VidNum.Studio = words(rng, 1);
        VidNum.LicenceNumber = "L-" + std::to_string(c);
        VideoNumber.add();
        batches.added();
        for (long t = 0; t < 10; ++t) {
            Vid = {};
            Vid.VideoId = ++title;
            Vid.VideoNumberId = Long(c);
            Vid.CounterStart = Long(t * 1200);
            Vid.VideoTitle = words(rng, 3);
            Vid.VideoActor = words(rng, 2);
            Video.add();
            batches.added();
        }
    }
}

// 10 years of 10 issues of 40 articles per magazine.
inline void fillMagazines(long articles)
{
    std::mt19937 rng(11);
    Batches batches(MagArticle.file());
    const long magazines = articles / 4000;
    Long year = 0, issue = 0, article = 0;
    for (long m = 1; m <= magazines; ++m) {
        Mag = {};
        Mag.MagazineNameId = Long(m);
        Mag.MagazineName = words(rng, 2) + " " + std::to_string(m);
        MagName.add();
        for (long y = 0; y < 10; ++y) {
            Yer = {};
            Yer.MagazineYearId = ++year;
            Yer.MagazineNameId = Long(m);
            Yer.MagazineYear = Short(1990 + y);
            MagYear.add();
            for (long i = 1; i <= 10; ++i) {
                Iss = {};
                Iss.MagazineIssueId = ++issue;
                Iss.MagazineNameId = Long(m);
                Iss.MagazineYearId = year;
                Iss.MagazineIssue = Short(i);
                Iss.MagazineMonth = "May";
                Iss.Values.setCents(450);
                Iss.MagazineComments = words(rng, 3);
                MagIssue.add();
                for (long a = 0; a < 40; ++a) {
                    Art = {};
                    Art.MagazineArticleId = ++article;
                    Art.MagazineNameId = Long(m);
                    Art.MagazineYearId = year;
                    Art.MagazineIssueId = issue;
                    Art.Article = words(rng, 2) + " " + std::to_string(article);
                    Art.Comments = words(rng, 2);
                    Art.Pages = Byte(1 + a * 3);
                    MagArticle.add();
                    batches.added();
                }
            }
        }
    }
}

inline std::vector<Table *> tablesOf(Shape s)
{
    switch (s) {
    case Shape::List:
    case Shape::Grouped:
        return {&BookCategory, &Books};
    case Shape::WithTitles:
        return {&VideoNumber, &Video};
    case Shape::Magazine:
        return {&MagName, &MagYear, &MagIssue, &MagArticle};
    }
    return {};
}

} // namespace detail

// The data file of a shape and size made current, its tables open for the
// scope, built first when missing.
class ReportSet
{
  public:
    ReportSet(Shape shape, long records)
    {
        static ScriptedMessageService quiet;
        setMessageService(&quiet);
        const bool books = shape == Shape::List || shape == Shape::Grouped;
        const std::string dir = std::string("bench-data/report-") +
                                (books ? "books" : shapeName(shape)) + "-" +
                                std::to_string(records);
        std::filesystem::create_directories(dir);
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir));
        const bool fresh = !std::filesystem::exists(DataFile::kFileName);
        tables_ = std::make_unique<TablesInUse>();
        for (Table *t : detail::tablesOf(shape))
            tables_->use({t});
        if (fresh) {
            if (books) detail::fillBooks(records);
            if (shape == Shape::WithTitles) detail::fillVideo(records);
            if (shape == Shape::Magazine) detail::fillMagazines(records);
        }
        OwnerName = "Bench Owner";
        OwnerAddress = "1 Bench Road";
        PrintDate = Long(reportToday());
    }
    ~ReportSet()
    {
        tables_.reset();
        DataFile::program().shutdown();
        QDir::setCurrent(previous_);
    }
    ReportSet(const ReportSet &) = delete;
    ReportSet &operator=(const ReportSet &) = delete;

  private:
    QString previous_;
    std::unique_ptr<TablesInUse> tables_;
};

} // namespace hk::bench
