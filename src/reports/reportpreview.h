// The print preview: a report's finished pages as a grid of whole pages or
// one page zoomed, paged through with the View menu, the spins and the
// keys, and ended with the user's decision: GlobalResponse 1 to print, 2 not.
// Pages are drawn from their source as they come into view.
#pragma once

#include "platform/windows/procedure.h"
#include "reports/pagepainter.h"
#include "reports/pagesource.h"
#include "reports/previewmodel.h"

#include <QMainWindow>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollArea;
class QSpinBox;

namespace hk
{

// One page drawn to its widget's size; a click reports it.
class PageImage : public QWidget
{
    Q_OBJECT
  public:
    PageImage(PageSource &pages, PagePainter &painter, QWidget *parent = nullptr);
    // The page shown, from 1; 0 none.
    void setPage(int number);
    int pageNumber() const { return page_; }
    // The page's natural size on this screen.
    static QSize naturalSize();

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;

  private:
    PageSource &pages_;
    PagePainter &painter_;
    int page_ = 0;
};

class PreviewWindow : public QMainWindow
{
    Q_OBJECT
  public:
    PreviewWindow(PageSource &pages, const QString &job);

    PreviewModel &model() { return model_; }
    QAction *action(int control) const; // by control number, 2 to 16
    QAction *savePdfAction() const { return savePdf_; }
    QSpinBox *pageSpin() const { return pageSpin_; }
    QSpinBox *acrossSpin() const { return acrossSpin_; }
    QSpinBox *downSpin() const { return downSpin_; }
    QMenu *viewMenu() const { return viewMenu_; }
    QString zoneText(int zone) const; // status zones 1 to 3
    // Slot k's image (from 1), or the zoomed page (102).
    PageImage *image(int control) const;
    bool printChosen() const { return printChosen_; }

    // Shows the state of the model.
    void refresh();
    // Closes the preview's window, whether top-level or inside the frame.
    void closeWindow();
    // Chooses from the zoom popup; the popup itself calls this.
    void chooseFromPopup(int item);

  signals:
    void jumpRequested();
    void displayRequested();
    void savePdfRequested();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

  private:
    void showGrid();
    void showZoomed();
    void fromSpin(QSpinBox *spin);
    void zoomPopup();
    bool claimMenuKey(QKeyEvent *key);

    PageSource &pages_;
    PagePainter painter_;
    PreviewModel model_;
    std::map<int, QAction *> actions_;
    QAction *savePdf_ = nullptr;
    QMenu *viewMenu_ = nullptr;
    QSpinBox *pageSpin_ = nullptr, *acrossSpin_ = nullptr, *downSpin_ = nullptr;
    QLabel *zones_[3] = {};
    QScrollArea *area_ = nullptr;
    QWidget *grid_ = nullptr;
    std::vector<QWidget *> boxes_;
    std::vector<PageImage *> slotImages_;
    PageImage *zoomedImage_ = nullptr;
    int gridAcross_ = 0, gridDown_ = 0;
    bool updating_ = false;
    bool printChosen_ = false;
};

class PageOutput;

class ReportPreview : public Procedure
{
    Q_OBJECT
  public:
    // pages stay the caller's and must outlive the call.
    ReportPreview(PageSource &pages, QString job);
    // Pages made beforehand, kept by the preview.
    ReportPreview(std::vector<Page> pages, QString job);
    ~ReportPreview() override;

  protected:
    QCoro::Task<> run() override;

  private:
    QCoro::Task<> jump(PreviewWindow *w);
    QCoro::Task<> changeDisplay(PreviewWindow *w);
    QCoro::Task<> saveAsPdf(PreviewWindow *w);

    std::unique_ptr<PageSource> own_;
    PageSource &pages_;
    QString job_;
    // Save as PDF under way; deleted with the preview, which cancels it.
    std::unique_ptr<PageOutput> output_;
};

} // namespace hk
