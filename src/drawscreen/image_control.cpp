#include "drawscreen/image_control.h"

#include <QPaintEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const QImage& picture)
{
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void ImageControl::resizeEvent(QResizeEvent* event)
{
    scaled_ = QPixmap();
    QWidget::resizeEvent(event);
}

void ImageControl::paintEvent(QPaintEvent* event)
{
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    if (scaled_.isNull() || scaled_.size() != size())
        scaled_ = QPixmap::fromImage(
            picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPainter painter(this);
    painter.drawPixmap(event->rect(), scaled_, event->rect());
}
