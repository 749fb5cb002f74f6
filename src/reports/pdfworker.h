// Writing a PDF file on a thread of its own. Pages are made where the data
// and the record buffers live (the GUI thread) and handed over here, where
// they are painted into the file: the two halves of the work overlap, and
// the painting, most of it, no longer holds up the windows. The file is a
// QSaveFile's: written under a temporary name and renamed once complete.
#pragma once

#include "reports/page.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace hk
{

class PdfWorker
{
  public:
    // Pages waiting to be painted, at most: what is handed over is held in
    // memory until then.
    static constexpr std::size_t kWaiting = 8;

    PdfWorker(QString file, QString title);
    // Stops as cancel() does unless the file is complete.
    ~PdfWorker();
    PdfWorker(const PdfWorker &) = delete;
    PdfWorker &operator=(const PdfWorker &) = delete;

    // Waits until a page can be handed over, at most until `deadline`;
    // false when it cannot be yet, or the worker has stopped.
    bool waitForRoom(std::chrono::steady_clock::time_point deadline);
    void add(std::shared_ptr<const Page> page);
    // The last page has been handed over: the file is completed.
    void close();
    // Stops at once; no file is left.
    void cancel();
    // Waits until the file is complete or has failed, at most until `deadline`.
    bool waitUntilFinished(std::chrono::steady_clock::time_point deadline);

    int painted() const;
    bool finished() const;
    // Once finished: empty when the file is complete, else why not.
    QString failure() const;

  private:
    void run();
    // Ends the work: empty when the file is complete, else why not.
    void finish(const QString &failure);

    QString file_, title_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<const Page>> waiting_;
    bool closed_ = false, cancelled_ = false, finished_ = false;
    int painted_ = 0;
    QString failure_;
    std::thread thread_; // last: started once the rest is in place
};

} // namespace hk
