#include "reports/pdfworker.h"

#include "reports/pagepainter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace hk
{

PdfWorker::PdfWorker(QString file, QString title)
    : file_(std::move(file)), title_(std::move(title)), thread_([this] { run(); })
{
}

PdfWorker::~PdfWorker()
{
    cancel();
    thread_.join();
}

bool PdfWorker::waitForRoom(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [this] { return finished_ || waiting_.size() < kWaiting; });
    return !finished_ && waiting_.size() < kWaiting;
}

void PdfWorker::add(std::shared_ptr<const Page> page)
{
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(page));
    }
    changed_.notify_all();
}

void PdfWorker::close()
{
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

void PdfWorker::cancel()
{
    {
        std::lock_guard lock(mutex_);
        if (finished_) return;
        cancelled_ = true;
    }
    changed_.notify_all();
}

bool PdfWorker::waitUntilFinished(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, deadline, [this] { return finished_; });
}

int PdfWorker::painted() const
{
    std::lock_guard lock(mutex_);
    return painted_;
}

bool PdfWorker::finished() const
{
    std::lock_guard lock(mutex_);
    return finished_;
}

QString PdfWorker::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

void PdfWorker::finish(const QString &failure)
{
    {
        std::lock_guard lock(mutex_);
        failure_ = failure;
        finished_ = true;
    }
    changed_.notify_all();
}

void PdfWorker::run()
{
    QSaveFile out(file_);
    if (!out.open(QIODevice::WriteOnly)) {
        finish(out.errorString());
        return;
    }
    bool cancelled = false;
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(title_);
        pdf.setCreator(QStringLiteral("Hearthkeep"));
        pdf.setPageSize(
            QPageSize(QSizeF(PageArea::width, PageArea::height), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0)); // positions are measured from the paper's edge
        QPainter painter;
        if (!painter.begin(&pdf)) {
            out.cancelWriting();
            finish(QStringLiteral("the PDF writer could not start"));
            return;
        }
        PagePainter pages;
        bool first = true;
        for (;;) {
            std::shared_ptr<const Page> page;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return cancelled_ || closed_ || !waiting_.empty(); });
                if (cancelled_ || waiting_.empty()) {
                    cancelled = cancelled_;
                    break;
                }
                page = std::move(waiting_.front());
                waiting_.pop_front();
            }
            changed_.notify_all(); // room for the next
            if (!first && !pdf.newPage()) {
                painter.end();
                out.cancelWriting();
                finish(QStringLiteral("a new page could not be started"));
                return;
            }
            first = false;
            pages.paint(painter, *page);
            {
                std::lock_guard lock(mutex_);
                ++painted_;
            }
            changed_.notify_all();
        }
        painter.end();
    }
    if (cancelled) {
        out.cancelWriting(); // the temporary file goes with `out`
        finish(QStringLiteral("cancelled"));
        return;
    }
    if (!out.commit()) {
        finish(out.errorString());
        return;
    }
    finish({}); // complete
}

} // namespace hk
