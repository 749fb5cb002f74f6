#include "reports/outputprogress.h"

#include "reports/pageoutput.h"

#include <QPushButton>
#include <QTimer>

namespace hk
{

namespace
{
// Each step writes for about this long, and the window answers in between.
constexpr std::chrono::milliseconds kStep{40};
} // namespace

OutputProgress::OutputProgress(PageOutput &output, QString title, std::string caption)
    : Procedure(QStringLiteral("REPORTOUTPUT")), output_(&output), title_(std::move(title)),
      caption_(std::move(caption))
{
}

std::string OutputProgress::pagesText(int written, int total)
{
    return std::to_string(written) + " of " + std::to_string(total) + " pages written";
}

QCoro::Task<> OutputProgress::run()
{
    if (!output_ || output_->done()) co_return;
    auto built = BuiltWindow::build(ReportProcedure::progressLayout());
    BuiltWindow *w = built.get();
    w->setWindowTitle(title_);
    w->setValue(CaptionText, caption_);
    auto show = [this, w] {
        const int total = std::max(output_->total(), 1);
        w->setValue(ProgressBar, std::int64_t{output_->written() * 100LL / total});
        w->setValue(PagesText, pagesText(output_->written(), output_->total()));
    };
    show();
    auto closeWindow = [this] {
        if (QWidget *win = window()) win->close();
    };
    auto *timer = new QTimer(w);
    timer->setInterval(0); // a step whenever the window has no input waiting
    connect(timer, &QTimer::timeout, w, [this, timer, show, closeWindow] {
        if (!output_) {
            timer->stop();
            closeWindow();
            return;
        }
        output_->step(kStep);
        show();
        emit stepped(output_->written());
        if (output_->done()) {
            timer->stop();
            closeWindow();
        }
    });
    connect(w->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, w, closeWindow);
    openDocument(built.release());
    timer->start();
    co_await untilClosed();
    // Closed before the last page, by Cancel or otherwise: nothing is left.
    if (output_ && !output_->done()) output_->cancel();
}

} // namespace hk
