// The scripted message double, noting every box that is shown while the
// program's data file is inside a transaction. A box waits for the user; the
// write lock must not wait with it, or every other window and station would.
#pragma once

#include "platform/data/datafile.h"
#include "platform/messages.h"

#include <string>
#include <vector>

namespace hk::test
{

class WatchedBoxes : public ScriptedMessageService
{
  public:
    int message(const MessageRequest &request) override
    {
        if (DataFile::program().inTransaction()) underLock_.push_back(request.title);
        return ScriptedMessageService::message(request);
    }
    // Titles of the boxes shown with the write lock held.
    const std::vector<std::string> &shownUnderLock() const { return underLock_; }

  private:
    std::vector<std::string> underLock_;
};

} // namespace hk::test
