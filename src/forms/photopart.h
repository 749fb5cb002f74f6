// The Photos part of an update form: a tab with the record's thumbnails in a
// strip and Add…, Remove and View beside it. Files come from a file dialog
// (several at once), from the file manager by dropping them on the strip, or
// as a picture pasted with Ctrl+V. The part changes only the form's draft:
// OK stores it with the record, Cancel drops it. Thumbnails are read one at a
// time once the window shows, so the form is usable at once.
#pragma once

#include "forms/photoviewer.h"
#include "platform/windows/layout.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

class QListWidget;
class QMimeData;
class QTimer;

namespace hk
{

class FormCore;

class PhotoPart : public QObject
{
    Q_OBJECT
  public:
    // Control numbers on the form.
    static constexpr int Tab = 3, Strip = 800, AddButton = 801, RemoveButton = 802,
                         ViewButton = 803;
    // Adds the tab and its controls to a form's layout, within the sheet.
    static void addControls(WindowLayout &layout, int sheet, QRect sheetDesign);
    // Makes the strip when the builder comes to it; null for other controls.
    static QWidget *makeStrip(const ControlLayout &c, QWidget *surface);

    // Works on `window`, built with the controls above, for the form's core.
    // readOnly: a form that deletes shows its files and changes nothing.
    PhotoPart(FormCore &core, BuiltWindow *window, bool readOnly);
    ~PhotoPart() override;

    QListWidget *strip() const;
    // Adds files from these paths, as the dialog or a drop gives them; those
    // refused are named in one message.
    void addFiles(const QStringList &paths);
    // Adds what a paste or a drop carries: files, or a picture itself.
    void addFromMime(const QMimeData *mime);
    void removeCurrent();
    void viewCurrent();
    QCoro::Task<> addFromDialog();
    // The viewer open now, if any.
    PhotoViewer *viewer() const { return viewer_; }
    // Reads every thumbnail not read yet at once (the timer does it one a turn).
    void readAllThumbnails();

  protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    void show();
    void showEntry(int index);
    void readNext();
    void updateButtons();
    void report(const QStringList &problems);

    FormCore &core_;
    BuiltWindow *window_;
    bool readOnly_;
    QTimer *reader_;
    QPointer<PhotoViewer> viewer_;
    std::unique_ptr<QTemporaryDir> documents_; // copies handed to the desktop's viewer
};

} // namespace hk
