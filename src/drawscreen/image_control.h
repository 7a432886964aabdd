#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A picture on the draw screen: the background, the prize pictures and the two empty
// pictures that only take presses. It draws its picture stretched to its whole area without
// a background of its own, so what lies beneath shows through transparent parts.
class ImageControl : public QWidget
{
    Q_OBJECT

public:
    explicit ImageControl(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    QPixmap scaled_; // the picture at the widget's size, made once per size or picture
};
