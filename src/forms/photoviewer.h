// A photo full size: one window per form, beside it, stepping through the
// form's photos with Previous and Next and zooming in and out. It reads each
// photo when it is shown and keeps only that one.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;

namespace hk
{

class PhotoViewer : public QWidget
{
    Q_OBJECT
  public:
    // count: how many photos there are; photo(i) gives one's name and bytes
    // (empty bytes when it cannot be read any more).
    struct Photo {
        QString name;
        QByteArray bytes;
    };
    PhotoViewer(int count, std::function<Photo(int)> photo, QWidget *parent = nullptr);

    void showPhoto(int index);
    int index() const { return index_; }
    // 0: fitted to the window; else the scale, 1 for the photo's own size.
    double zoom() const { return zoom_; }
    const QImage &image() const { return image_; }
    void zoomIn();
    void zoomOut();
    void fit();

  protected:
    void keyPressEvent(QKeyEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

  private:
    void present();

    int count_;
    std::function<Photo(int)> photo_;
    int index_ = -1;
    double zoom_ = 0;
    QImage image_;
    QScrollArea *area_;
    QLabel *picture_;
    QLabel *caption_;
    QPushButton *previous_, *next_;
};

} // namespace hk
