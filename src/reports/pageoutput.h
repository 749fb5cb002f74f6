// Pages sent to a printer or written to a PDF file a few at a time, so that
// the windows stay live while a large report goes out: the caller steps it
// from a timer (see OutputProgress) or runs it to the end at once. A file is
// always written under a temporary name and renamed once complete, so that a
// cancelled or failed output leaves no file behind and an existing one is
// replaced only by a complete report.
#pragma once

#include "reports/pagepainter.h"
#include "reports/pagesource.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QPagedPaintDevice;
class QPrinter;

namespace hk
{

class PdfWorker;

class PageOutput : public QObject
{
    Q_OBJECT
  public:
    // Pages from..to (from 1, clamped to the pages there are; 0 means from
    // the first or to the last) to the printer as one job named `job`.
    static std::unique_ptr<PageOutput> toPrinter(QPrinter &printer, PageSource &pages,
                                                 const QString &job, int from = 0, int to = 0);
    // Every page to a PDF file at `file`, titled `job`; the text stays text.
    static std::unique_ptr<PageOutput> toPdf(const QString &file, PageSource &pages,
                                             const QString &job);
    // An output not finished by then is cancelled.
    ~PageOutput() override;

    int total() const { return to_ - from_ + 1; }
    int written() const;
    // Every page written, or failed, or cancelled.
    bool done() const { return state_ != State::Writing; }
    // Writes pages for about `budget` (one at least); the last one completes
    // the output.
    void step(std::chrono::milliseconds budget);
    // Stops: no file is left, a print job is aborted.
    void cancel();
    // Once done: empty when every page went out, else why not.
    QString failure() const { return failure_; }
    bool cancelled() const { return state_ == State::Cancelled; }

  private:
    enum class State { Writing, Complete, Failed, Cancelled };
    explicit PageOutput(PageSource &pages);
    bool start(QPagedPaintDevice &device);
    void complete();
    void fail(const QString &why);

    void stepPdf(std::chrono::steady_clock::time_point until);

    PageSource &pages_;
    PagePainter painter_;
    std::unique_ptr<QPainter> painting_;
    QPagedPaintDevice *device_ = nullptr;
    // A PDF file: written on a thread of its own.
    std::unique_ptr<PdfWorker> pdf_;
    // A printer, and for one that writes a file the names it writes under.
    QPrinter *printer_ = nullptr;
    QString partial_, target_;
    int from_ = 1, to_ = 0, next_ = 1;
    State state_ = State::Writing;
    QString failure_;
};

// The same, run to the end at once. True when the printer printed.
bool printPages(QPrinter &printer, PageSource &pages, const QString &job, int from = 0, int to = 0);
// Empty on success, else the reason it failed.
QString savePdf(const QString &file, PageSource &pages, const QString &job);

} // namespace hk
