// The file dialogs: asking the user for a file to write or to read. Every such request
// goes through the current FileDialogService, so that tests can answer it
// without a window and see what was asked.
#pragma once

#include <QCoro/QCoroTask>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

namespace hk
{

struct SaveFileRequest {
    QString title;
    QString suggestedName; // a file name, placed in the current folder
    QString filter;        // e.g. "PDF files (*.pdf)"
    QString suffix;        // added when the user types a name without one
};

// Asking for an existing file to read.
struct OpenFileRequest {
    QString title;
    QString filter;
    QString folder{}; // where the dialog opens; empty: the current folder
};

class FileDialogService
{
  public:
    virtual ~FileDialogService() = default;
    // The file chosen, or an empty text when the user cancels or when the
    // parent window has closed meanwhile, so that the caller never resumes
    // into a window that is gone.
    virtual QCoro::Task<QString> saveFileName(QWidget *parent, SaveFileRequest request) = 0;
    // The same for a file to read, which must exist; parent may be null.
    virtual QCoro::Task<QString> openFileName(QWidget *parent, OpenFileRequest request) = 0;
    // Several existing files to read at once; empty on a cancel.
    virtual QCoro::Task<QStringList> openFileNames(QWidget *parent, OpenFileRequest request) = 0;
};

// The service in use: the Qt one until another is set; nullptr goes back to
// it. The caller keeps ownership of what it sets.
FileDialogService &fileDialogs();
void setFileDialogService(FileDialogService *service);

// A window-modal QFileDialog, opened without a nested event loop.
class QtFileDialogService : public FileDialogService
{
  public:
    QCoro::Task<QString> saveFileName(QWidget *parent, SaveFileRequest request) override;
    QCoro::Task<QString> openFileName(QWidget *parent, OpenFileRequest request) override;
    QCoro::Task<QStringList> openFileNames(QWidget *parent, OpenFileRequest request) override;
};

// A headless double: records every request and answers from a script of file
// names (an empty script answers as a cancel would); a request for several
// files takes one answer of several names.
class ScriptedFileDialogService : public FileDialogService
{
  public:
    void answer(QString file) { script_.push_back(QStringList{std::move(file)}); }
    void answer(QStringList files) { script_.push_back(std::move(files)); }
    const std::vector<SaveFileRequest> &requests() const { return requests_; }
    const std::vector<OpenFileRequest> &openRequests() const { return openRequests_; }

    QCoro::Task<QString> saveFileName(QWidget *parent, SaveFileRequest request) override;
    QCoro::Task<QString> openFileName(QWidget *parent, OpenFileRequest request) override;
    QCoro::Task<QStringList> openFileNames(QWidget *parent, OpenFileRequest request) override;

  private:
    QStringList next();
    std::deque<QStringList> script_;
    std::vector<SaveFileRequest> requests_;
    std::vector<OpenFileRequest> openRequests_;
};

} // namespace hk
