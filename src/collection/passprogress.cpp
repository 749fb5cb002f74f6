#include "collection/passprogress.h"

#include "platform/titlefit.h"

#include <QProgressDialog>

#include <algorithm>

namespace hk
{

namespace
{
constexpr int kSteps = 1000;
}

PassProgress::PassProgress(const QString &title, const QString &label,
                           std::chrono::milliseconds delay)
    : dialog_(std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, kSteps))
{
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(static_cast<int>(delay.count()));
    fitTitle(dialog_.get());
}

PassProgress::~PassProgress() = default;

bool PassProgress::reached(double fraction)
{
    // A modal progress window lets its Cancel button be pressed here.
    dialog_->setValue(static_cast<int>(kSteps * std::clamp(fraction, 0.0, 1.0)));
    return !dialog_->wasCanceled();
}

} // namespace hk
