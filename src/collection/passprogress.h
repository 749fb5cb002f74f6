// A long pass over a collection (an export, an import's check or write)
// shown as it goes: a window with what is being done, a bar and Cancel,
// opened once the pass has taken a moment, its title shown whole. It is
// application-modal, so no other window takes input meanwhile.
#pragma once

#include <QString>

#include <chrono>
#include <memory>

class QProgressDialog;

namespace hk
{

class PassProgress
{
  public:
    static constexpr std::chrono::milliseconds defaultDelay{300};

    PassProgress(const QString &title, const QString &label,
                 std::chrono::milliseconds delay = defaultDelay);
    ~PassProgress();

    // The pass has come `fraction` (0 to 1) of the way; false once the user
    // has pressed Cancel.
    bool reached(double fraction);
    QProgressDialog &window() { return *dialog_; }

  private:
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace hk
