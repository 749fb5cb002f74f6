#include "reports/pageoutput.h"

#include "reports/pdfworker.h"
#include <QFile>
#include <QFileInfo>

#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>

namespace hk
{

PageOutput::PageOutput(PageSource &pages) : pages_(pages) {}

PageOutput::~PageOutput()
{
    if (state_ == State::Writing) cancel();
}

bool PageOutput::start(QPagedPaintDevice &device)
{
    device_ = &device;
    next_ = from_;
    painting_ = std::make_unique<QPainter>();
    if (to_ < from_) {
        complete(); // nothing to write
        return true;
    }
    if (!painting_->begin(&device)) {
        fail(QStringLiteral("the output could not start"));
        return false;
    }
    return true;
}

std::unique_ptr<PageOutput> PageOutput::toPrinter(QPrinter &printer, PageSource &pages,
                                                  const QString &job, int from, int to)
{
    std::unique_ptr<PageOutput> out(new PageOutput(pages));
    const int count = pages.pageCount();
    out->from_ = std::max(from, 1);
    out->to_ = to <= 0 || to > count ? count : to;
    out->printer_ = &printer;
    printer.setDocName(job);
    printer.setFullPage(true); // positions are measured from the paper's edge
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // The printer writes its file under a name of its own until complete.
        out->target_ = printer.outputFileName();
        QTemporaryFile partial(QFileInfo(out->target_).absolutePath() +
                               QStringLiteral("/.XXXXXX.part"));
        partial.setAutoRemove(false);
        if (!partial.open()) {
            out->fail(partial.errorString());
            return out;
        }
        out->partial_ = partial.fileName();
        partial.close();
        printer.setOutputFileName(out->partial_);
    }
    out->start(printer);
    return out;
}

std::unique_ptr<PageOutput> PageOutput::toPdf(const QString &file, PageSource &pages,
                                              const QString &job)
{
    std::unique_ptr<PageOutput> out(new PageOutput(pages));
    out->from_ = out->next_ = 1;
    out->to_ = pages.pageCount();
    out->pdf_ = std::make_unique<PdfWorker>(file, job);
    if (out->to_ < out->from_) out->pdf_->close(); // nothing to write
    return out;
}

int PageOutput::written() const
{
    return pdf_ ? pdf_->painted() : next_ - from_;
}

// Pages are made here and painted on the worker's thread.
void PageOutput::stepPdf(std::chrono::steady_clock::time_point until)
{
    while (next_ <= to_ && pdf_->waitForRoom(until)) {
        pdf_->add(pages_.page(next_));
        if (++next_ > to_) pdf_->close();
        if (std::chrono::steady_clock::now() >= until) break;
    }
    if (next_ > to_ || pdf_->finished()) pdf_->waitUntilFinished(until);
    if (!pdf_->finished()) return;
    failure_ = pdf_->failure();
    state_ = failure_.isEmpty() ? State::Complete : State::Failed;
}

void PageOutput::step(std::chrono::milliseconds budget)
{
    if (state_ != State::Writing) return;
    const auto until = std::chrono::steady_clock::now() + budget;
    if (pdf_) {
        stepPdf(until);
        return;
    }
    do {
        if (next_ > from_ && !device_->newPage()) {
            fail(QStringLiteral("a new page could not be started"));
            return;
        }
        const std::shared_ptr<const Page> page = pages_.page(next_);
        painter_.paint(*painting_, *page);
        ++next_;
    } while (next_ <= to_ && std::chrono::steady_clock::now() < until);
    if (next_ > to_) complete();
}

void PageOutput::complete()
{
    if (painting_ && painting_->isActive() && !painting_->end()) {
        fail(QStringLiteral("the output could not be completed"));
        return;
    }
    if (!partial_.isEmpty()) {
        printer_->setOutputFileName(target_);
        QFile::remove(target_);
        if (!QFile::rename(partial_, target_)) {
            fail(QStringLiteral("the file could not be renamed"));
            return;
        }
        partial_.clear();
    }
    state_ = State::Complete;
}

void PageOutput::fail(const QString &why)
{
    if (painting_ && painting_->isActive()) painting_->end();
    if (!partial_.isEmpty()) {
        QFile::remove(partial_);
        printer_->setOutputFileName(target_);
        partial_.clear();
    }
    failure_ = why;
    state_ = State::Failed;
}

void PageOutput::cancel()
{
    if (state_ != State::Writing) return;
    if (pdf_) {
        // Gone with its thread, and the temporary file with it.
        pdf_->cancel();
        next_ = from_ + pdf_->painted();
        pdf_.reset();
    }
    if (printer_ && partial_.isEmpty()) printer_->abort();
    fail(QStringLiteral("cancelled"));
    state_ = State::Cancelled;
}

bool printPages(QPrinter &printer, PageSource &pages, const QString &job, int from, int to)
{
    auto out = PageOutput::toPrinter(printer, pages, job, from, to);
    while (!out->done())
        out->step(std::chrono::milliseconds(1000));
    return out->failure().isEmpty();
}

QString savePdf(const QString &file, PageSource &pages, const QString &job)
{
    auto out = PageOutput::toPdf(file, pages, job);
    while (!out->done())
        out->step(std::chrono::milliseconds(1000));
    return out->failure();
}

} // namespace hk
