#include "platform/filedialogs.h"

#include <QCoro/QCoroSignal>
#include <QDir>
#include <QFileDialog>
#include <QPointer>

#include <memory>

namespace hk
{

namespace
{
FileDialogService *gService = nullptr;
} // namespace

FileDialogService &fileDialogs()
{
    static QtFileDialogService qt;
    return gService ? *gService : qt;
}

void setFileDialogService(FileDialogService *service)
{
    gService = service;
}

namespace
{
// Shows the dialog application-modal without a nested event loop; the answer
// counts only while the owner, if any, still stands. The dialog is deleted only once
// its answer is read: the coroutine resumes from the event loop, and a dialog
// deleted on closing would take that resumption with it.
QCoro::Task<QStringList> ask(QWidget *parent, QFileDialog *created)
{
    const bool owned = parent != nullptr;
    QPointer<QWidget> owner(parent);
    std::unique_ptr<QFileDialog, void (*)(QFileDialog *)> dialog(
        created, [](QFileDialog *d) { d->deleteLater(); });
    dialog->setWindowModality(Qt::ApplicationModal);
    if (owner) {
        // A closing owner takes its question with it.
        QObject::connect(owner, &QObject::destroyed, dialog.get(), &QDialog::reject);
    }
    dialog->open();
    const int result = co_await qCoro(dialog.get(), &QDialog::finished);
    const QStringList files = dialog->selectedFiles();
    if ((owned && !owner) || result != QDialog::Accepted) co_return QStringList();
    co_return files;
}

QCoro::Task<QString> askOne(QWidget *parent, QFileDialog *created)
{
    const QStringList files = co_await ask(parent, created);
    co_return files.isEmpty() ? QString() : files.first();
}
} // namespace

QCoro::Task<QString> QtFileDialogService::saveFileName(QWidget *parent, SaveFileRequest request)
{
    // Not a child of parent: a child would die with it before it could answer.
    auto *dialog = new QFileDialog(nullptr, request.title,
                                   QDir::current().filePath(request.suggestedName), request.filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(request.suffix);
    co_return co_await askOne(parent, dialog);
}

QCoro::Task<QString> QtFileDialogService::openFileName(QWidget *parent, OpenFileRequest request)
{
    auto *dialog = new QFileDialog(nullptr, request.title,
                                   request.folder.isEmpty() ? QDir::currentPath() : request.folder,
                                   request.filter);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    co_return co_await askOne(parent, dialog);
}

QCoro::Task<QStringList> QtFileDialogService::openFileNames(QWidget *parent,
                                                            OpenFileRequest request)
{
    auto *dialog = new QFileDialog(nullptr, request.title, QDir::currentPath(), request.filter);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    co_return co_await ask(parent, dialog);
}

QStringList ScriptedFileDialogService::next()
{
    if (script_.empty()) return {};
    QStringList files = std::move(script_.front());
    script_.pop_front();
    return files;
}

QCoro::Task<QString> ScriptedFileDialogService::saveFileName(QWidget *, SaveFileRequest request)
{
    requests_.push_back(std::move(request));
    const QStringList files = next();
    co_return files.isEmpty() ? QString() : files.first();
}

QCoro::Task<QString> ScriptedFileDialogService::openFileName(QWidget *, OpenFileRequest request)
{
    openRequests_.push_back(std::move(request));
    const QStringList files = next();
    co_return files.isEmpty() ? QString() : files.first();
}

QCoro::Task<QStringList> ScriptedFileDialogService::openFileNames(QWidget *,
                                                                  OpenFileRequest request)
{
    openRequests_.push_back(std::move(request));
    co_return next();
}

} // namespace hk
