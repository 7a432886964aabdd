#pragma once

#include "datafiles/picture_cache.h"
#include "wheel/wheel_drawing.h"

#include <QObject>
#include <memory>

class RotatingImage;

// The wheel the program draws with the evening's prizes on it, shown by the wheel control in
// place of the wheel picture. It is drawn again only when what it carries changes, or the
// control's size or screen: never in a spin tick, which only turns the pointer.
class DrawnWheel : public QObject
{
    Q_OBJECT

public:
    // Drawn wheels are kept in cache, so a later start with the same names only reads one.
    DrawnWheel(RotatingImage* wheel, PictureCache cache);

    // Shows content on the wheel; the same content again changes nothing.
    void show(const WheelContent& content);
    bool isShown() const { return shown_; }
    const WheelContent& content() const { return content_; }
    // How often the wheel has been drawn.
    int drawCount() const { return *drawCount_; }

private:
    RotatingImage* wheel_;
    PictureCache cache_;
    WheelContent content_;
    bool shown_ = false;
    std::shared_ptr<int> drawCount_ = std::make_shared<int>(0);
};
