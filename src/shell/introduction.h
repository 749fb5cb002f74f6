// The greeting windows: the timed introduction shown at start and the About
// window. Both show the product, its version, its picture and the owner, and
// close on their timer, on a click, or on a close request.
#pragma once

#include "platform/windows/procedure.h"

#include <chrono>

namespace hk
{

class Greeting : public Procedure
{
  public:
    static constexpr std::chrono::milliseconds defaultDuration{5000};

    Greeting(QString name, QString title, std::chrono::milliseconds duration);

  protected:
    QCoro::Task<> run() override;
    // Runs after the window opens and before its timer starts.
    virtual QCoro::Task<> beforeTimer();

  private:
    QString title_;
    std::chrono::milliseconds duration_;
};

class Introduction : public Greeting
{
  public:
    explicit Introduction(std::chrono::milliseconds duration = defaultDuration);

  protected:
    QCoro::Task<> beforeTimer() override;
};

class AboutHearthkeep : public Greeting
{
  public:
    explicit AboutHearthkeep(std::chrono::milliseconds duration = defaultDuration);
};

} // namespace hk
