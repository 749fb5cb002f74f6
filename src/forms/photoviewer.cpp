#include "forms/photoviewer.h"

#include "platform/mediafile.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace hk
{

namespace
{
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.05, kMaxZoom = 8.0;
} // namespace

PhotoViewer::PhotoViewer(int count, std::function<Photo(int)> photo, QWidget *parent)
    : QWidget(parent, Qt::Window), count_(count), photo_(std::move(photo)),
      area_(new QScrollArea(this)), picture_(new QLabel), caption_(new QLabel(this)),
      previous_(new QPushButton(QStringLiteral("&Previous"), this)),
      next_(new QPushButton(QStringLiteral("&Next"), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    picture_->setAlignment(Qt::AlignCenter);
    area_->setWidget(picture_);
    area_->setAlignment(Qt::AlignCenter);
    area_->setWidgetResizable(false);
    area_->setFocusPolicy(Qt::NoFocus);

    auto *zoomIn = new QPushButton(QStringLiteral("Zoom &In"), this);
    auto *zoomOut = new QPushButton(QStringLiteral("Zoom &Out"), this);
    auto *fitButton = new QPushButton(QStringLiteral("&Fit"), this);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    previous_->setToolTip(QStringLiteral("The photo before this one (Page Up)"));
    next_->setToolTip(QStringLiteral("The photo after this one (Page Down)"));
    zoomIn->setToolTip(QStringLiteral("Larger (+)"));
    zoomOut->setToolTip(QStringLiteral("Smaller (-)"));
    fitButton->setToolTip(QStringLiteral("The whole photo in the window (0)"));
    connect(previous_, &QPushButton::clicked, this, [this] { showPhoto(index_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showPhoto(index_ + 1); });
    connect(zoomIn, &QPushButton::clicked, this, &PhotoViewer::zoomIn);
    connect(zoomOut, &QPushButton::clicked, this, &PhotoViewer::zoomOut);
    connect(fitButton, &QPushButton::clicked, this, &PhotoViewer::fit);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(caption_, 1);
    for (QPushButton *b : {previous_, next_, zoomIn, zoomOut, fitButton, close})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(area_, 1);
    layout->addLayout(buttons);
    resize(900, 680);
}

void PhotoViewer::showPhoto(int index)
{
    if (index < 0 || index >= count_) return;
    index_ = index;
    const Photo p = photo_(index);
    QString problem;
    image_ = p.bytes.isEmpty() ? QImage() : readPhoto(p.bytes, {}, &problem);
    if (p.bytes.isEmpty()) problem = QStringLiteral(" is no longer in the data file");
    setWindowTitle(p.name);
    caption_->setText(image_.isNull() ? QStringLiteral("\"%1\"%2.").arg(p.name, problem)
                                      : QStringLiteral("%1 of %2: %3 (%4 × %5)")
                                            .arg(index + 1)
                                            .arg(count_)
                                            .arg(p.name)
                                            .arg(image_.width())
                                            .arg(image_.height()));
    previous_->setEnabled(index > 0);
    next_->setEnabled(index + 1 < count_);
    zoom_ = 0;
    present();
}

void PhotoViewer::present()
{
    if (image_.isNull()) {
        picture_->setPixmap(QPixmap());
        picture_->resize(area_->viewport()->size());
        return;
    }
    QSize size = image_.size();
    if (zoom_ == 0) {
        // Fitted: never larger than the photo itself.
        if (size.width() > area_->viewport()->width() ||
            size.height() > area_->viewport()->height())
            size.scale(area_->viewport()->size(), Qt::KeepAspectRatio);
    } else {
        size =
            QSize(std::max(1, int(size.width() * zoom_)), std::max(1, int(size.height() * zoom_)));
    }
    picture_->setPixmap(QPixmap::fromImage(
        size == image_.size()
            ? image_
            : image_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    picture_->resize(size);
}

void PhotoViewer::zoomIn()
{
    if (image_.isNull()) return;
    const double now = zoom_ == 0 ? double(picture_->width()) / image_.width() : zoom_;
    zoom_ = std::min(kMaxZoom, now * kZoomStep);
    present();
}

void PhotoViewer::zoomOut()
{
    if (image_.isNull()) return;
    const double now = zoom_ == 0 ? double(picture_->width()) / image_.width() : zoom_;
    zoom_ = std::max(kMinZoom, now / kZoomStep);
    present();
}

void PhotoViewer::fit()
{
    zoom_ = 0;
    present();
}

void PhotoViewer::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_Left:
        showPhoto(index_ - 1);
        return;
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Space:
        showPhoto(index_ + 1);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        return;
    case Qt::Key_Minus:
        zoomOut();
        return;
    case Qt::Key_0:
        fit();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void PhotoViewer::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (zoom_ == 0) present();
}

} // namespace hk
