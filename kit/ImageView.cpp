#include "kit/ImageView.h"

#include <QPainter>

namespace tolvex {

ImageView::ImageView(QWidget* parent) : QWidget(parent) {}

void ImageView::setImage(const QIcon& image)
{
    image_ = image;
    update();
}

void ImageView::setImageScaling(ImageScaling scaling)
{
    imageScaling_ = scaling;
    update();
}

void ImageView::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QSize target = size();
    if (imageScaling_ == ImageScaling::ProportionallyDown) {
        // Scalable images have no natural size and fill the view; others only shrink to fit.
        const QSize natural = image_.availableSizes().value(0, size());
        target = natural.scaled(natural.boundedTo(size()), Qt::KeepAspectRatio);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect frame(QPoint((width() - target.width()) / 2, (height() - target.height()) / 2),
                      target);
    painter.drawPixmap(frame, image_.pixmap(target, devicePixelRatioF()));
}

} // namespace tolvex
