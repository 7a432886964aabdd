#pragma once

#include <QByteArray>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// How the draw screen's layout, made for a client area of one size, is shown on a client area
// of another: everything scaled by one factor s and centred horizontally. Positions, sizes and
// fonts are given in layout pixels and come back in client pixels; a place on screen goes back
// to layout pixels for storing. The default is the identity: positions are client pixels.
class ScreenScale
{
public:
    ScreenScale() = default;

    // The layout size held by the settings' width and height texts: both must be whole numbers
    // greater than zero, else there is none and the layout is shown unscaled.
    static std::optional<QSize> layoutSizeFrom(const QByteArray& width, const QByteArray& height);

    // s = min(client width / layout width, client height / layout height), the scene centred
    // horizontally. An s within 5 % of 1 counts as 1, so that title and task bars of other
    // heights leave a layout as it is; no layout size gives the identity.
    static ScreenScale forClient(std::optional<QSize> layoutSize, QSize clientSize);

    double factor() const { return factor_; }
    int offsetX() const { return offsetX_; }
    bool isScaled() const { return factor_ != 1.0 || offsetX_ != 0; }

    // Layout pixels to client pixels, each value rounded to the nearest pixel.
    int length(int layout) const;
    QPoint toScreen(QPoint layout) const;
    QSize toScreen(QSize layout) const;
    QRect toScreen(const QRect& layout) const
    {
        return {toScreen(layout.topLeft()), toScreen(layout.size())};
    }
    // A font of the layout at the scaled size (pixel sizes rounded, at least 1 pixel).
    QFont toScreen(const QFont& layout) const;

    // The layout place of an element that now lies at screen: the place it had, when that is
    // still where it shows (so merely passing over an element never shifts its stored place),
    // otherwise the nearest layout place.
    QPoint toLayout(QPoint screen, QPoint known) const;

    // The top of the results row: its distance from the bottom of the outer window, the row's
    // height and the margin below it in layout pixels, is scaled with the rest.
    int rowTop(int outerHeight, int rowHeight, int bottomMargin) const;

    bool operator==(const ScreenScale& other) const
    {
        return factor_ == other.factor_ && offsetX_ == other.offsetX_;
    }
    bool operator!=(const ScreenScale& other) const { return !(*this == other); }

private:
    ScreenScale(double factor, int offsetX) : factor_(factor), offsetX_(offsetX) {}

    double factor_ = 1.0;
    int offsetX_ = 0;
};
