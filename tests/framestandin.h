// Stands in for the frame: a procedure that counts the notices 1025 and 1026
// posted to it, until stop().
#pragma once

#include "platform/windows/procedure.h"

#include <QCoro/QCoroSignal>

namespace hk::test
{

class FrameStandIn : public Procedure
{
  public:
    FrameStandIn() : Procedure(QStringLiteral("Main")) {}
    int opened = 0, closed = 0;
    void stop() { emit windowClosed(); }

  protected:
    QCoro::Task<> run() override { co_await qCoro(this, &Procedure::windowClosed); }
    bool handlePosted(QEvent::Type type) override
    {
        if (type == Notice::ProcedureOpened) ++opened;
        if (type == Notice::ProcedureClosed) ++closed;
        return true;
    }
};

} // namespace hk::test
