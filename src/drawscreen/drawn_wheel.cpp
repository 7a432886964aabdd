#include "drawscreen/drawn_wheel.h"

#include "rotatingimage/rotating_image.h"

DrawnWheel::DrawnWheel(RotatingImage* wheel) : QObject(wheel), wheel_(wheel) {}

void DrawnWheel::show(const WheelContent& content)
{
    if (shown_ && content == content_)
        return;
    content_ = content;
    shown_ = true;
    wheel_->setPictureMaker([content, count = drawCount_](QSize pixels) {
        ++*count;
        return drawWheel(pixels, content);
    });
    wheel_->setAccessibleDescription(describeWheel(content.names));
}
