#pragma once

#include <QImage>
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

    // A picture read only when it is first painted: the layout's initial background is
    // usually replaced before that, and then never costs its memory.
    void setPictureFile(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QString pendingFile_;
};
