#include "forms/photopart.h"

#include "forms/formcore.h"
#include "forms/photoviewer.h"
#include "platform/data/attachments.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "platform/desktop.h"
#include "platform/filedialogs.h"
#include "platform/mediafile.h"
#include "platform/messages.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace hk
{

namespace
{

constexpr int kIcon = 96;

QListWidget *makeList(QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(kIcon, kIcon));
    list->setGridSize(QSize(kIcon + 24, kIcon + 32));
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setWrapping(true);
    list->setWordWrap(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setDragDropMode(QAbstractItemView::DropOnly);
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    return list;
}

QString describe(const AttachmentDraft::Entry &e)
{
    return QStringLiteral("%1\n%2, %3\nadded %4")
        .arg(e.fileName, QString::fromLatin1(e.mediaType), sizeInWords(e.size), e.added);
}

// A file name the desktop can open a copy under: the stored name without
// anything a folder or the shell would read.
QString safeName(const QString &name)
{
    QString out;
    for (QChar c : name)
        out += c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
                       c == QLatin1Char('_') || c == QLatin1Char(' ')
                   ? c
                   : QLatin1Char('_');
    if (out.isEmpty() || out.startsWith(QLatin1Char('.'))) out.prepend(QStringLiteral("document"));
    return out;
}

} // namespace

void PhotoPart::addControls(WindowLayout &layout, int sheet, QRect s)
{
    layout.controls.push_back({.id = Tab,
                               .kind = ControlKind::Tab,
                               .parent = sheet,
                               .text = "P&hotos",
                               .tip = "Photos and papers of this record",
                               .message = "Photos, receipts and manuals kept with the record"});
    // The strip fills the tab, the buttons stand at its right.
    const int buttonX = s.right() - 54;
    const int top = s.top() + 16;
    layout.controls.push_back(
        {.id = Strip,
         .kind = ControlKind::List,
         .design = QRect(s.left() + 6, top, buttonX - s.left() - 12, s.height() - 22),
         .parent = Tab,
         .tip = "Drop files here, or paste a picture with Ctrl+V",
         .message = "Enter views the highlighted file; Delete removes it"});
    const struct {
        int id;
        const char *text, *tip, *message;
    } buttons[] = {
        {AddButton, "&Add…", "Add photos or documents", "Choose files to keep with the record"},
        {RemoveButton, "&Remove", "Remove the highlighted file",
         "Remove the highlighted file when the record is stored"},
        {ViewButton, "&View", "View the highlighted file",
         "Show the photo full size, or open the document"},
    };
    int y = top;
    for (const auto &b : buttons) {
        layout.controls.push_back({.id = b.id,
                                   .kind = ControlKind::Button,
                                   .design = QRect(buttonX, y, 48, 14),
                                   .parent = Tab,
                                   .text = b.text,
                                   .tip = b.tip,
                                   .message = b.message});
        y += 18;
    }
}

QWidget *PhotoPart::makeStrip(const ControlLayout &c, QWidget *surface)
{
    return c.id == Strip ? makeList(surface) : nullptr;
}

PhotoPart::PhotoPart(FormCore &core, BuiltWindow *window, bool readOnly)
    : QObject(window), core_(core), window_(window), readOnly_(readOnly), reader_(new QTimer(this))
{
    QListWidget *list = strip();
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    auto button = [window](int id) { return window->controlAs<QPushButton>(id); };
    connect(button(AddButton), &QPushButton::clicked, this, [this] { addFromDialog(); });
    connect(button(RemoveButton), &QPushButton::clicked, this, [this] { removeCurrent(); });
    connect(button(ViewButton), &QPushButton::clicked, this, [this] { viewCurrent(); });
    connect(list, &QListWidget::itemActivated, this, [this] { viewCurrent(); });
    connect(list, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    reader_->setInterval(0);
    connect(reader_, &QTimer::timeout, this, &PhotoPart::readNext);
    show();
    reader_->start();
}

PhotoPart::~PhotoPart()
{
    // The viewer reads through this part: it goes first.
    delete viewer_.data();
}

QListWidget *PhotoPart::strip() const
{
    return window_->controlAs<QListWidget>(Strip);
}

void PhotoPart::show()
{
    QListWidget *list = strip();
    const int current = list->currentRow();
    list->clear();
    const auto &entries = core_.attachments().entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list->addItem(entries[i].fileName);
        showEntry(static_cast<int>(i));
    }
    if (!entries.empty())
        list->setCurrentRow(std::clamp(current, 0, static_cast<int>(entries.size()) - 1));
    updateButtons();
}

void PhotoPart::showEntry(int index)
{
    QListWidgetItem *item = strip()->item(index);
    if (!item) return;
    const AttachmentDraft::Entry &e = core_.attachments().entries()[std::size_t(index)];
    QPixmap thumb;
    if (!e.thumbnail.isEmpty()) thumb.loadFromData(e.thumbnail);
    item->setIcon(thumb.isNull() ? strip()->style()->standardIcon(QStyle::SP_FileIcon)
                                 : QIcon(thumb));
    item->setToolTip(describe(e));
    item->setData(Qt::AccessibleDescriptionRole, describe(e));
}

void PhotoPart::readNext()
{
    const int index = core_.attachments().readNextThumbnail(core_.table().file());
    if (index < 0) {
        reader_->stop();
        return;
    }
    showEntry(index);
}

void PhotoPart::readAllThumbnails()
{
    while (reader_->isActive())
        readNext();
}

void PhotoPart::updateButtons()
{
    const bool some = strip()->currentRow() >= 0;
    window_->setControlEnabled(AddButton, !readOnly_);
    window_->setControlEnabled(RemoveButton, !readOnly_ && some);
    window_->setControlEnabled(ViewButton, some);
    window_->setControlEnabled(Strip, true);
}

void PhotoPart::report(const QStringList &problems)
{
    if (problems.isEmpty()) return;
    message(problems.join(QLatin1Char('\n')).toStdString(),
            problems.size() == 1 ? "File not added" : "Files not added", MessageIcon::Exclamation);
}

void PhotoPart::addFiles(const QStringList &paths)
{
    if (readOnly_ || paths.isEmpty()) return;
    if (viewer_) viewer_->close();
    QStringList problems;
    {
        BusyCursor busy;
        for (const QString &path : paths) {
            const QFileInfo info(path);
            const QString name = info.fileName();
            // Too large a file is named before it would be read at all.
            if (info.size() > kAttachmentMaxBytes) {
                problems << QStringLiteral("\"%1\" is %2: an attachment may be at most %3.")
                                .arg(name, sizeInWords(info.size()),
                                     sizeInWords(kAttachmentMaxBytes));
                continue;
            }
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                problems
                    << QStringLiteral("\"%1\" cannot be read: %2.").arg(name, file.errorString());
                continue;
            }
            if (QString why = core_.attachments().add(name, file.readAll()); !why.isEmpty())
                problems << why;
        }
    }
    show();
    strip()->setCurrentRow(strip()->count() - 1);
    report(problems);
}

void PhotoPart::addFromMime(const QMimeData *mime)
{
    if (readOnly_ || !mime) return;
    QStringList paths;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (!paths.isEmpty()) {
        addFiles(paths);
        return;
    }
    if (!mime->hasImage()) return;
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QString name = QStringLiteral("Pasted %1.png").arg(attachmentTimeNow());
    name.replace(QLatin1Char(':'), QLatin1Char('.'));
    const QString why = core_.attachments().add(name, png);
    show();
    strip()->setCurrentRow(strip()->count() - 1);
    if (!why.isEmpty()) report({why});
}

QCoro::Task<> PhotoPart::addFromDialog()
{
    QPointer<PhotoPart> self(this);
    // A named request: a temporary in the awaited call would be ended twice.
    OpenFileRequest request{
        QStringLiteral("Add Photos or Documents"),
        QStringLiteral("Photos and documents (*.jpg *.jpeg *.png *.webp *.pdf);;All files (*)")};
    const QStringList files = co_await fileDialogs().openFileNames(window_, std::move(request));
    // The form may have closed while the dialog was open.
    if (!self) co_return;
    addFiles(files);
    strip()->setFocus();
}

void PhotoPart::removeCurrent()
{
    const int row = strip()->currentRow();
    if (readOnly_ || row < 0) return;
    if (viewer_) viewer_->close();
    core_.attachments().remove(std::size_t(row));
    show();
}

void PhotoPart::viewCurrent()
{
    const int row = strip()->currentRow();
    if (row < 0) return;
    AttachmentDraft &draft = core_.attachments();
    DataFile &file = core_.table().file();
    const AttachmentDraft::Entry &e = draft.entries()[std::size_t(row)];
    if (e.isDocument()) {
        QByteArray bytes;
        if (draft.content(file, std::size_t(row), bytes) != NoError) {
            message("\"" + e.fileName.toStdString() + "\" is no longer in the data file.",
                    "Document not available", MessageIcon::Exclamation);
            return;
        }
        if (!documents_) documents_ = std::make_unique<QTemporaryDir>();
        QFile copy(
            documents_->filePath(QString::number(row) + QLatin1Char('-') + safeName(e.fileName)));
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size()) {
            message("\"" + e.fileName.toStdString() +
                        "\" cannot be handed to the desktop: " + copy.errorString().toStdString(),
                    "Document not opened", MessageIcon::Exclamation);
            return;
        }
        copy.close();
        if (!desktop().openDocument(copy.fileName()))
            message("No program of the desktop opens \"" + e.fileName.toStdString() + "\".",
                    "Document not opened", MessageIcon::Exclamation);
        return;
    }
    // The viewer steps through the photos only: documents open elsewhere.
    std::vector<std::size_t> photos;
    int start = 0;
    for (std::size_t i = 0; i < draft.entries().size(); ++i)
        if (!draft.entries()[i].isDocument()) {
            if (int(i) == row) start = int(photos.size());
            photos.push_back(i);
        }
    if (viewer_) viewer_->close();
    viewer_ = new PhotoViewer(
        int(photos.size()),
        [this, photos](int i) {
            const std::size_t at = photos[std::size_t(i)];
            PhotoViewer::Photo p{core_.attachments().entries()[at].fileName, {}};
            core_.attachments().content(core_.table().file(), at, p.bytes);
            return p;
        },
        window_);
    viewer_->show();
    viewer_->showPhoto(start);
}

bool PhotoPart::eventFilter(QObject *watched, QEvent *e)
{
    // Only these are taken: others come also while the window is going.
    const QEvent::Type type = e->type();
    if (type != QEvent::KeyPress && type != QEvent::DragEnter && type != QEvent::DragMove &&
        type != QEvent::Drop)
        return QObject::eventFilter(watched, e);
    QListWidget *list = strip();
    if (watched == list && e->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->matches(QKeySequence::Paste)) {
            addFromMime(QApplication::clipboard()->mimeData());
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Delete:
            removeCurrent();
            return true;
        case Qt::Key_Insert:
            addFromDialog();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            viewCurrent();
            return true;
        default:
            break;
        }
    }
    if (watched == list->viewport()) {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDropEvent *>(e);
            const bool takes =
                !readOnly_ && (drag->mimeData()->hasUrls() || drag->mimeData()->hasImage());
            if (takes)
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(e);
            drop->acceptProposedAction();
            addFromMime(drop->mimeData());
            return true;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, e);
}

} // namespace hk
