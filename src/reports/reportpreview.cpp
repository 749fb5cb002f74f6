#include "reports/reportpreview.h"

#include "dictionary/globals.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"
#include "platform/windows/dialogunits.h"
#include "platform/windows/layout.h"
#include "platform/windows/visiblearea.h"
#include "reports/outputprogress.h"
#include "reports/pageoutput.h"
#include "reports/previewdialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace hk
{

namespace
{

constexpr Zoom popupModes[] = {Zoom::None,       Zoom::PageWidth,  Zoom::Percent50, Zoom::Percent75,
                               Zoom::Percent100, Zoom::Percent200, Zoom::Percent300};

} // namespace

PageImage::PageImage(PageSource &pages, PagePainter &painter, QWidget *parent)
    : QWidget(parent), pages_(pages), painter_(painter)
{
    setAutoFillBackground(false);
    setCursor(Qt::PointingHandCursor);
}

void PageImage::setPage(int number)
{
    page_ = number;
    update();
}

QSize PageImage::naturalSize()
{
    QWidget probe;
    return QSize(int(pagePixels(PageArea::width, probe.logicalDpiX())),
                 int(pagePixels(PageArea::height, probe.logicalDpiY())));
}

void PageImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (page_ < 1) return;
    // Held while it is drawn, whatever the source drops meanwhile.
    const std::shared_ptr<const Page> page = pages_.page(page_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double natural = pagePixels(PageArea::width, logicalDpiX());
    const double scale = width() / natural;
    painter.scale(scale, scale);
    painter_.paint(painter, *page);
}

void PageImage::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) emit clicked();
}

PreviewWindow::PreviewWindow(PageSource &pages, const QString &job)
    : pages_(pages), model_(pages.pageCount())
{
    setWindowTitle(QStringLiteral("Report Preview"));
    setObjectName(QStringLiteral("ReportPreview"));
    setMinimumWidth(DialogUnits::application().toPixelsX(315));
    resize(760, 620);
    Q_UNUSED(job);

    auto add = [this](QMenu *menu, int control, const QString &text) {
        QAction *a = menu->addAction(text);
        actions_[control] = a;
        return a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *print = add(file, 2, QStringLiteral("&Print"));
    savePdf_ = file->addAction(QStringLiteral("Save as P&DF\u2026"));
    savePdf_->setStatusTip(QStringLiteral("Save the report's pages as a PDF file"));
    QAction *exit = add(file, 3, QStringLiteral("E&xit"));
    viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));
    QAction *next = add(viewMenu_, 5, QStringLiteral("&Next Page(s)"));
    QAction *previous = add(viewMenu_, 6, QStringLiteral("&Previous Page(s)"));
    QAction *jump = add(viewMenu_, 7, QStringLiteral("&Jump to a page"));
    QAction *display = add(viewMenu_, 8, QStringLiteral("&Change Display"));
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    QMenu *zoom = menuBar()->addMenu(QStringLiteral("&Zoom"));
    const char *zoomTexts[] = {"No &Zoom",     "Page &Width",  "&50 Percent", "&75 Percent",
                               "&100 Percent", "&200 Percent", "&300 Percent"};
    for (int i = 0; i < 7; ++i) {
        QAction *a = add(zoom, 10 + i, QString::fromLatin1(zoomTexts[i]));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] {
            model_.setZoom(popupModes[i]);
            refresh();
        });
    }

    QToolBar *tools = addToolBar(QStringLiteral("Preview"));
    tools->setMovable(false);
    // The program's printer (the frame's Print Setup icon), else the desktop's.
    const QIcon printer = QIcon::fromTheme(QStringLiteral("document-print"),
                                           QIcon(QStringLiteral(":/icons/PRINT.svg")));
    QAction *printTool = tools->addAction(printer, QStringLiteral("Print"));
    printTool->setToolTip(QStringLiteral("Print this report"));
    QAction *exitTool = tools->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                         QStringLiteral("Exit"));
    exitTool->setToolTip(QStringLiteral("Exit without printing the report"));
    QAction *zoomTool = tools->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                         QStringLiteral("Zoom"));
    zoomTool->setToolTip(QStringLiteral("Zoom in on a page of the report"));
    actions_[17] = printTool;
    actions_[18] = exitTool;
    actions_[19] = zoomTool;
    tools->addSeparator();

    auto spin = [&](const QString &label, int low, int high, const QString &tip) {
        auto *prompt = new QLabel(label, tools);
        auto *s = new ClampingSpin(tools);
        s->setRange(low, high);
        s->setToolTip(tip);
        s->setKeyboardTracking(false); // a typed number counts once it is complete
        prompt->setBuddy(s);
        prompt->setContentsMargins(6, 0, 2, 0);
        tools->addWidget(prompt);
        tools->addWidget(s);
        return s;
    };
    pageSpin_ = spin(QStringLiteral("&Page:"), 1, model_.pageCount(), {});
    acrossSpin_ = spin(QStringLiteral("&Across:"), 1, PreviewModel::maxGrid,
                       QStringLiteral("Select the number of thumbnails in a row"));
    downSpin_ = spin(QStringLiteral("&Down:"), 1, PreviewModel::maxGrid,
                     QStringLiteral("Select the number of thumbnails in a column"));

    for (int z = 0; z < 3; ++z) {
        zones_[z] = new QLabel(this);
        zones_[z]->setMinimumWidth(z == 0 ? 40 : 140);
        zones_[z]->setFrameStyle(QFrame::Panel | QFrame::Sunken); // zones apart
        zones_[z]->setContentsMargins(4, 0, 4, 0);
        statusBar()->addPermanentWidget(zones_[z], z == 0 ? 1 : 0);
    }

    area_ = new QScrollArea(this);
    area_->setBackgroundRole(QPalette::Dark);
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area_->viewport()->installEventFilter(this);
    setCentralWidget(area_);
    for (QWidget *w : std::initializer_list<QWidget *>{pageSpin_, acrossSpin_, downSpin_, area_})
        w->installEventFilter(this);

    connect(print, &QAction::triggered, this, [this] {
        printChosen_ = true;
        closeWindow();
    });
    connect(printTool, &QAction::triggered, print, &QAction::trigger);
    connect(savePdf_, &QAction::triggered, this, &PreviewWindow::savePdfRequested);
    connect(exit, &QAction::triggered, this, &PreviewWindow::closeWindow);
    connect(exitTool, &QAction::triggered, this, &PreviewWindow::closeWindow);
    connect(next, &QAction::triggered, this, [this] {
        model_.next();
        refresh();
    });
    connect(previous, &QAction::triggered, this, [this] {
        model_.previous();
        refresh();
    });
    connect(jump, &QAction::triggered, this, &PreviewWindow::jumpRequested);
    connect(display, &QAction::triggered, this, &PreviewWindow::displayRequested);
    connect(zoomTool, &QAction::triggered, this, &PreviewWindow::zoomPopup);
    for (QSpinBox *s : {pageSpin_, acrossSpin_, downSpin_})
        connect(s, &QSpinBox::valueChanged, this, [this, s] { fromSpin(s); });

    if (!model_.viewEnabled()) {
        viewMenu_->setEnabled(false);
        for (QAction *a : viewMenu_->actions())
            a->setEnabled(false);
        pageSpin_->setEnabled(false);
        acrossSpin_->setEnabled(false);
        downSpin_->setEnabled(false);
    } else {
        pageSpin_->setStatusTip(
            QStringLiteral("Enter a page number from 1 to %1").arg(model_.pageCount()));
    }
}

void PreviewWindow::closeWindow()
{
    // In the frame the preview is the content of a document window.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

QAction *PreviewWindow::action(int control) const
{
    auto it = actions_.find(control);
    return it == actions_.end() ? nullptr : it->second;
}

QString PreviewWindow::zoneText(int zone) const
{
    return zone >= 1 && zone <= 3 ? zones_[zone - 1]->text() : QString();
}

PageImage *PreviewWindow::image(int control) const
{
    if (control == 102) return zoomedImage_;
    const int k = control - 203;
    return k >= 1 && k <= int(slotImages_.size()) ? slotImages_[k - 1] : nullptr;
}

void PreviewWindow::fromSpin(QSpinBox *spin)
{
    if (updating_) return;
    if (spin == pageSpin_)
        model_.jump(spin->value());
    else
        model_.setGrid(acrossSpin_->value(), downSpin_->value());
    refresh();
}

void PreviewWindow::showGrid()
{
    if (zoomedImage_) {
        area_->takeWidget();
        delete zoomedImage_;
        zoomedImage_ = nullptr;
    }
    if (!grid_ || gridAcross_ != model_.across() || gridDown_ != model_.down()) {
        if (grid_) {
            area_->takeWidget();
            delete grid_;
        }
        grid_ = new QWidget;
        boxes_.clear();
        slotImages_.clear();
        gridAcross_ = model_.across();
        gridDown_ = model_.down();
        for (int k = 1; k <= gridAcross_ * gridDown_; ++k) {
            auto *box = new QWidget(grid_);
            box->setAutoFillBackground(true);
            QPalette pal = box->palette();
            pal.setColor(QPalette::Window, Qt::white);
            box->setPalette(pal);
            auto *img = new PageImage(pages_, painter_, box);
            connect(img, &PageImage::clicked, this, [this, k] {
                model_.clickSlot(k);
                refresh();
            });
            boxes_.push_back(box);
            slotImages_.push_back(img);
        }
        area_->setWidget(grid_);
        area_->setWidgetResizable(true);
    }
    const QSize natural = PageImage::naturalSize();
    const auto places = PreviewModel::gridSlots(area_->viewport()->size(), gridAcross_, gridDown_,
                                                double(natural.height()) / natural.width());
    for (int k = 1; k <= int(boxes_.size()); ++k) {
        const int page = model_.slotPage(k);
        boxes_[k - 1]->setGeometry(places[k - 1]);
        slotImages_[k - 1]->setGeometry(0, 0, places[k - 1].width(), places[k - 1].height());
        slotImages_[k - 1]->setPage(page);
        boxes_[k - 1]->setVisible(page != 0);
    }
}

void PreviewWindow::showZoomed()
{
    if (grid_) {
        area_->takeWidget();
        delete grid_;
        grid_ = nullptr;
        boxes_.clear();
        slotImages_.clear();
        gridAcross_ = gridDown_ = 0;
    }
    if (!zoomedImage_) {
        zoomedImage_ = new PageImage(pages_, painter_);
        connect(zoomedImage_, &PageImage::clicked, this, [this] {
            model_.clickZoomed();
            refresh();
        });
        area_->setWidgetResizable(false);
        area_->setWidget(zoomedImage_);
    }
    const QSize natural = PageImage::naturalSize();
    const int usable = area_->viewport()->width() - area_->verticalScrollBar()->sizeHint().width();
    const double factor = model_.zoomFactor(std::max(usable, 50), natural.width());
    zoomedImage_->resize(int(natural.width() * factor), int(natural.height() * factor));
    zoomedImage_->setPage(model_.current());
}

void PreviewWindow::refresh()
{
    if (model_.zoomed())
        showZoomed();
    else
        showGrid();
    if (model_.viewEnabled()) {
        action(5)->setEnabled(model_.nextEnabled());
        action(6)->setEnabled(model_.previousEnabled());
    }
    zones_[1]->setText(model_.pageText());
    zones_[2]->setText(model_.zoomText());
    for (int i = 0; i < 7; ++i)
        action(10 + i)->setChecked(model_.zoom() == popupModes[i]);
    updating_ = true;
    pageSpin_->setValue(model_.current());
    acrossSpin_->setValue(model_.across());
    downSpin_->setValue(model_.down());
    updating_ = false;
}

void PreviewWindow::chooseFromPopup(int item)
{
    if (item < 1 || item > 7) return;
    model_.setZoom(popupModes[item - 1]);
    refresh();
}

// The popup is built from its text: items split at '|', a lone '-' a
// separator, a leading '+' a checked item.
void PreviewWindow::zoomPopup()
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    int item = 0;
    for (const QString &part : model_.popupText().split('|')) {
        if (part == QLatin1String("-")) {
            menu->addSeparator();
            continue;
        }
        const int n = ++item;
        QAction *a = menu->addAction(part.mid(1));
        a->setCheckable(true);
        a->setChecked(part.startsWith('+'));
        connect(a, &QAction::triggered, this, [this, n] { chooseFromPopup(n); });
    }
    menu->popup(QCursor::pos());
}

// Alt and a letter of one of the preview's own menus opens that menu, not
// the frame's menu of the same letter: inside the frame both menu bars
// answer the same keys. The key is claimed before it becomes a shortcut; the
// menu opens once the key press has been delivered (a spin box with the focus
// takes it, so it may never reach this window). A disabled menu still keeps
// its letter from the frame.
bool PreviewWindow::claimMenuKey(QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (mods != Qt::AltModifier || key->key() < Qt::Key_0 || key->key() > Qt::Key_Z) return false;
    for (QAction *menu : menuBar()->actions()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(menu->text());
        if (mnemonic.isEmpty() || mnemonic[0].key() != key->key()) continue;
        key->accept();
        QPointer<QAction> chosen(menu);
        QMetaObject::invokeMethod(
            this,
            [this, chosen] {
                if (chosen) menuBar()->setActiveAction(chosen);
            },
            Qt::QueuedConnection);
        return true;
    }
    return false;
}

bool PreviewWindow::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && claimMenuKey(static_cast<QKeyEvent *>(event)))
        return true;
    // Inside the frame the keys go to whatever has the focus there, which in
    // a one-page preview is nothing of this window's (its spins are off): the
    // frame's keys are watched as well.
    if (event->type() == QEvent::Show && window() != this) window()->installEventFilter(this);
    return QMainWindow::event(event);
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == area_->viewport() && event->type() == QEvent::Resize) refresh();
    if (event->type() == QEvent::ShortcutOverride && watched == window() && watched != this) {
        // Only while this is the document the user works in.
        auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
        if (sub && sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub &&
            claimMenuKey(static_cast<QKeyEvent *>(event)))
            return true;
    }
    // Page Up and Down page the report and nothing else: at either end, where
    // the View menu's entry is disabled and lets the key through, the control
    // with the focus must not step or scroll by it instead.
    if (event->type() == QEvent::KeyPress && watched != window()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

ReportPreview::ReportPreview(PageSource &pages, QString job)
    : Procedure(QStringLiteral("REPORTPREVIEW")), pages_(pages), job_(std::move(job))
{
}

ReportPreview::ReportPreview(std::vector<Page> pages, QString job)
    : Procedure(QStringLiteral("REPORTPREVIEW")),
      own_(std::make_unique<PageList>(std::move(pages))), pages_(*own_), job_(std::move(job))
{
}

ReportPreview::~ReportPreview() = default;

QCoro::Task<> ReportPreview::jump(PreviewWindow *w)
{
    int page = w->model().current();
    co_await call(std::make_unique<JumpToPage>(page, w->model().pageCount()));
    if (!window()) co_return;
    w->model().jump(page);
    w->refresh();
}

QCoro::Task<> ReportPreview::changeDisplay(PreviewWindow *w)
{
    int across = w->model().across(), down = w->model().down();
    co_await call(std::make_unique<SelectDisplay>(across, down));
    if (!window()) co_return;
    w->model().changeDisplay(across, down);
    w->refresh();
}

QCoro::Task<> ReportPreview::saveAsPdf(PreviewWindow *w)
{
    QString name = job_;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    // Named, not a temporary inside the co_await: g++ 12 destroys such
    // temporaries twice.
    const SaveFileRequest request{QStringLiteral("Save the Report as PDF"),
                                  name + QStringLiteral(".pdf"),
                                  QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf")};
    const QString file = co_await fileDialogs().saveFileName(w, request);
    if (file.isEmpty() || output_) co_return; // cancelled, the preview has closed, or one runs
    output_ = PageOutput::toPdf(file, pages_, job_);
    co_await call(std::make_unique<OutputProgress>(*output_, QStringLiteral("Saving as PDF"),
                                                   QDir::toNativeSeparators(file).toStdString()));
    const QString failure = output_->cancelled() ? QString() : output_->failure();
    output_.reset();
    if (!failure.isEmpty())
        message(QStringLiteral("The report could not be saved as %1: %2.")
                    .arg(QDir::toNativeSeparators(file), failure)
                    .toStdString(),
                "Save as PDF", MessageIcon::Exclamation);
}

QCoro::Task<> ReportPreview::run()
{
    auto *w = new PreviewWindow(pages_, job_);
    bool print = false;
    connect(w, &PreviewWindow::jumpRequested, this, [this, w] { jump(w); });
    connect(w, &PreviewWindow::displayRequested, this, [this, w] { changeDisplay(w); });
    connect(w, &PreviewWindow::savePdfRequested, this, [this, w] { saveAsPdf(w); });
    connect(w->action(2), &QAction::triggered, this, [&print] { print = true; });
    openDocument(w);
    // Pages need room: in the frame the preview takes the whole document area,
    // from its corner whatever windows are open there already.
    if (QMdiArea *area = documentArea(); area && window())
        placeInside(window(), area->viewport()->rect());
    else if (window())
        keepInside(window());
    w->refresh();
    co_await untilClosed();
    // A PDF still being written stops here, before the pages can go.
    output_.reset();
    GlobalResponse = print ? RequestCompleted : RequestCancelled;
}

} // namespace hk
