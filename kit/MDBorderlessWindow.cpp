#include "kit/MDBorderlessWindow.h"

#include <QPainterPath>
#include <QRegion>

namespace tolvex {

MDBorderlessWindow::MDBorderlessWindow(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
}

void MDBorderlessWindow::setCornerRadius(qreal radius)
{
    cornerRadius_ = radius;
    updateMask();
}

void MDBorderlessWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateMask();
}

void MDBorderlessWindow::updateMask()
{
    if (cornerRadius_ <= 0.0) {
        clearMask();
        return;
    }
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    setMask(QRegion(rounded.toFillPolygon().toPolygon()));
}

} // namespace tolvex
