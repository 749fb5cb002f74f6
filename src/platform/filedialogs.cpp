#include "platform/filedialogs.h"

#include <QCoro/QCoroSignal>
#include <QDir>
#include <QFileDialog>
#include <QPointer>

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

QCoro::Task<QString> QtFileDialogService::saveFileName(QWidget *parent, SaveFileRequest request)
{
    QPointer<QWidget> owner(parent);
    // Not a child of parent: a child would die with it before it could answer.
    QPointer<QFileDialog> dialog = new QFileDialog(
        nullptr, request.title, QDir::current().filePath(request.suggestedName), request.filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(request.suffix);
    dialog->setWindowModality(Qt::ApplicationModal);
    if (owner) {
        // A closing owner takes its question with it.
        QObject::connect(owner, &QObject::destroyed, dialog, &QDialog::reject);
    }
    dialog->open();
    const int result = co_await qCoro(dialog.data(), &QDialog::finished);
    const QStringList files = dialog ? dialog->selectedFiles() : QStringList();
    if (!owner || result != QDialog::Accepted || files.isEmpty()) co_return QString();
    co_return files.first();
}

QCoro::Task<QString> QtFileDialogService::openFileName(QWidget *parent, OpenFileRequest request)
{
    const bool owned = parent != nullptr;
    QPointer<QWidget> owner(parent);
    QPointer<QFileDialog> dialog =
        new QFileDialog(nullptr, request.title, QDir::currentPath(), request.filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setWindowModality(Qt::ApplicationModal);
    if (owner) QObject::connect(owner, &QObject::destroyed, dialog, &QDialog::reject);
    dialog->open();
    const int result = co_await qCoro(dialog.data(), &QDialog::finished);
    const QStringList files = dialog ? dialog->selectedFiles() : QStringList();
    if ((owned && !owner) || result != QDialog::Accepted || files.isEmpty()) co_return QString();
    co_return files.first();
}

QString ScriptedFileDialogService::next()
{
    if (script_.empty()) return {};
    QString file = std::move(script_.front());
    script_.pop_front();
    return file;
}

QCoro::Task<QString> ScriptedFileDialogService::saveFileName(QWidget *, SaveFileRequest request)
{
    requests_.push_back(std::move(request));
    co_return next();
}

QCoro::Task<QString> ScriptedFileDialogService::openFileName(QWidget *, OpenFileRequest request)
{
    openRequests_.push_back(std::move(request));
    co_return next();
}

} // namespace hk
